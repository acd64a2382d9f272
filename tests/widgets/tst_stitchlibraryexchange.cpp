#include "modaldialog.h"
#include "settings.h"
#include "stitch.h"
#include "stitchcreator.h"
#include "stitchfixtures.h"
#include "stitchlibrary.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"
#include "stitchsetexchange.h"
#include "stitchsetfile.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtEndian>
#include <QtTest>

class TestStitchLibraryExchange : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init();

    void exportThenImportIntoSameLibrary();
    void exportNames_data();
    void exportNames();
    void headerChecks_data();
    void headerChecks();
    void ownStitchTravelsToFreshUserFolder();
    void damagedSetKeepsRowsRead();
    void importedImagesStayInTheFolder_data();
    void importedImagesStayInTheFolder();

private:
    QByteArray setWith(const QList<StitchRecord> &records);
};

void TestStitchLibraryExchange::init()
{
    TestSuite::init();
    // File dialogs start where the test's files are.
    Settings::instance()->setValue("defaultFileLocation", m_env->scratchPath(QString()));
}

static int rowOf(const StitchLibrary &library, const QString &id)
{
    for (int row = 0; row < library.model()->rowCount(); ++row) {
        if (library.getStitchID(row) == id)
            return row;
    }
    return -1;
}

static QString svg(const char *colour)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\">"
                          "<rect width=\"64\" height=\"64\" fill=\"%1\"/></svg>")
        .arg(QLatin1String(colour));
}

QByteArray TestStitchLibraryExchange::setWith(const QList<StitchRecord> &records)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StitchSetExchange exchange(&buffer);
    exchange.writeSet(records);
    return buffer.data();
}

void TestStitchLibraryExchange::exportThenImportIntoSameLibrary()
{
    StitchLibrary library;
    for (const char *id : {"k", "c8f"})
        library.model()->setData(library.model()->index(rowOf(library, id), StitchLibraryModel::SelectedColumn), true);
    const QString path = m_env->scratchPath("two.set");
    chooseNextFile(path);
    QString box;
    answerNextBox(QMessageBox::Ok, &box);
    library.exportSet();
    QCOMPARE(box, QStringLiteral("Export Stitch Set|Exported 2 stitches to two.set.|"));

    // The cable's arithmetic needs the version that carries it.
    const QByteArray file = TestEnvironment::readFile(path);
    QCOMPARE(file.left(8).toHex(' '), QByteArray("2a c9 86 3e 00 03 10 cf"));
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    StitchSetExchange reader(&buffer);
    QCOMPARE(reader.readHeader(), StitchSetExchange::Ok);
    StitchSetExchange::Entry knit;
    StitchSetExchange::Entry cable;
    QCOMPARE(reader.readStitch(knit), StitchSetExchange::Ok);
    QCOMPARE(reader.readStitch(cable), StitchSetExchange::Ok);
    QVERIFY(reader.atEnd());

    QCOMPARE(knit.record.abbrivs, QStringList{"k"});
    QCOMPARE(knit.record.name, QStringLiteral("Knit"));
    QCOMPARE(knit.record.opposite, QStringLiteral("p"));
    QCOMPARE(cable.record.abbrivs, QStringList{"c8f"});
    QCOMPARE(cable.record.category, QStringLiteral("Cables"));
    QCOMPARE(cable.record.worked, 8);
    QCOMPARE(cable.record.made, 8);
    QCOMPARE(knit.record.worked, 1);
    QCOMPARE(cable.icons.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("c8f-%1.svg").arg(i + 1);
        QCOMPARE(cable.icons.at(i).fileName, name);
        QCOMPARE(cable.icons.at(i).data, TestEnvironment::readFile(QStringLiteral(":/stitches/") + name));
    }

    const int rows = library.model()->rowCount();
    chooseNextFile(path);
    answerNextBox(QMessageBox::Ok, &box);
    library.importSet();
    QCOMPARE(box, QStringLiteral("Import Stitch Set|Imported 0 stitches from two.set.|The following stitches were "
                                 "not imported because they are already in your stitch library: k, c8f"));
    QCOMPARE(library.model()->rowCount(), rows);
    QVERIFY(!QDir(StitchSet::userIconFolder()).exists());
}

// Import lists only ".set" files, so the export adds the suffix to a name
// without it, and asks before it replaces a file the dialog did not ask
// about. "old.set" is there already.
void TestStitchLibraryExchange::exportNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written"); // empty: nothing written
    QTest::addColumn<int>("answer"); // to the question about "old.set"; 0: no question expected
    QTest::newRow("suffix added") << "beads" << "beads.set" << 0;
    QTest::newRow("suffix kept") << "beads.set" << "beads.set" << 0;
    QTest::newRow("capital suffix kept") << "beads.SET" << "beads.SET" << 0;
    QTest::newRow("other suffix") << "beads.v2" << "beads.v2.set" << 0;
    QTest::newRow("replaced") << "old" << "old.set" << int(QMessageBox::Yes);
    QTest::newRow("kept") << "old" << "" << int(QMessageBox::No);
}

void TestStitchLibraryExchange::exportNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(int, answer);
    const QString old = m_env->writeScratch("old.set", "old");
    StitchLibrary library;
    library.model()->setData(library.model()->index(rowOf(library, "k"), StitchLibraryModel::SelectedColumn), true);

    chooseNextFile(m_env->scratchPath(typed));
    QString question;
    QString box;
    if (answer) {
        whenModal<QMessageBox>([&question, &box, answer](QMessageBox *asked) {
            question = asked->text();
            if (answer == QMessageBox::Yes)
                answerNextBox(QMessageBox::Ok, &box);
            asked->button(QMessageBox::StandardButton(answer))->click();
        });
    } else {
        answerNextBox(QMessageBox::Ok, &box);
    }
    library.exportSet();

    QCOMPARE(question, answer ? QDir::toNativeSeparators(old) + " already exists. Do you want to replace it?" : QString());
    QCOMPARE(box, written.isEmpty() ? QString() : "Export Stitch Set|Exported 1 stitch to " + written + ".|");
    // Knit works 1 and makes 1: the set is written as before.
    if (!written.isEmpty())
        QVERIFY(TestEnvironment::readFile(m_env->scratchPath(written)).startsWith(QByteArray::fromHex("2ac9863e000310ce")));
    QCOMPARE(TestEnvironment::readFile(old) == "old", written != "old.set");
    QCOMPARE(QDir(m_env->scratchPath(QString())).entryList({"beads*"}, QDir::Files),
             written.startsWith("beads") ? QStringList{written} : QStringList());
}

void TestStitchLibraryExchange::headerChecks_data()
{
    QTest::addColumn<int>("offset"); // of the header field to change
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("read");
    QTest::newRow("newer version") << 4 << 200912 << "Cannot Read File|This Stitch Set comes from a newer version "
                                                    "of Yarnwise.This version cannot read the file." << false;
    QTest::newRow("version with counts") << 4 << 200911 << "Import Stitch Set|Imported 1 stitch from versioned.set."
                                         << true;
    QTest::newRow("older version") << 4 << 200909 << "Import Stitch Set|Imported 1 stitch from versioned.set." << true;
    QTest::newRow("other magic") << 0 << 0x2AC9863F << "Error: Not a Stitch Set|This is not a Stitch Set file."
                                 << false;
}

void TestStitchLibraryExchange::headerChecks()
{
    QFETCH(int, offset);
    QFETCH(qint32, value);
    QFETCH(QString, box);
    QFETCH(bool, read);

    QByteArray file = setWith({StitchRecord{"Versioned", {"vrs1"}, {}, QString(), "vrs1", QString()}});
    qToBigEndian(value, file.data() + offset);
    const QString path = m_env->writeScratch("versioned.set", file);

    StitchLibrary library;
    const int rows = library.model()->rowCount();
    QString seen;
    answerNextBox(QMessageBox::Ok, &seen);
    library.readSetFile(path);

    QCOMPARE(seen.section('|', 0, 1), box.section('|', 0, 1));
    QCOMPARE(library.model()->rowCount(), rows + (read ? 1 : 0));
    if (read) {
        QCOMPARE(library.getStitchID(rows), QStringLiteral("vrs1"));
        QCOMPARE(library.getImgPaths(rows), QStringList{Stitch::placeholderPath()});
    }
}

void TestStitchLibraryExchange::ownStitchTravelsToFreshUserFolder()
{
    // A designer draws a two-cell stitch with icons of their own.
    const QStringList sources{m_env->writeScratch("leaf-1.svg", svg("red").toUtf8()),
                              m_env->writeScratch("leaf-2.svg", svg("blue").toUtf8())};
    const QList<QByteArray> images{TestEnvironment::readFile(sources.at(0)), TestEnvironment::readFile(sources.at(1))};
    QByteArray set;
    {
        StitchLibrary library;
        library.addStitch("leaf");
        const int row = library.model()->rowCount() - 1;
        library.model()->setData(library.model()->index(row, 0), "Leaf");
        library.model()->setData(library.model()->index(row, 5), "Lace");
        auto *table = library.findChild<QTableView *>(QStringLiteral("stitchList"));
        table->setCurrentIndex(library.model()->index(row, 1));
        // Each icon goes into the cell at hand as it is added.
        whenModal<StitchCreator>([sources](StitchCreator *creator) {
            creator->addIconFiles({sources.at(0)});
            creator->addCell();
            creator->findChild<QTableWidget *>(QStringLiteral("stitchIcons"))->setCurrentCell(0, 1);
            creator->addIconFiles({sources.at(1)});
            creator->findChild<QSpinBox *>(QStringLiteral("worked"))->setValue(2);
            creator->findChild<QSpinBox *>(QStringLiteral("made"))->setValue(3);
            creator->accept();
        });
        library.openStitchCreator();
        QCOMPARE(library.getImgPaths(row), (QStringList{StitchSet::userIconFolder() + "/leaf-1.svg",
                                                       StitchSet::userIconFolder() + "/leaf-2.svg"}));

        library.model()->setData(library.model()->index(row, StitchLibraryModel::SelectedColumn), true);
        QString box;
        answerNextBox(QMessageBox::Ok, &box);
        QVERIFY(library.writeSetFile(m_env->scratchPath("leaf.set")));
        QCOMPARE(box, QStringLiteral("Export Stitch Set|Exported 1 stitch to leaf.set.|"));
        set = TestEnvironment::readFile(m_env->scratchPath("leaf.set"));
    }

    // On a machine with a fresh user folder.
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(!QDir(StitchSet::userIconFolder()).exists());
    StitchLibrary library;
    QString box;
    answerNextBox(QMessageBox::Ok, &box);
    library.readSetFile(m_env->writeScratch("leaf.set", set));
    QCOMPARE(box, QStringLiteral("Import Stitch Set|Imported 1 stitch from leaf.set.|"));
    const int row = rowOf(library, "leaf");
    QVERIFY(row >= 0);
    const QStringList paths{StitchSet::userIconFolder() + "/leaf-1.svg", StitchSet::userIconFolder() + "/leaf-2.svg"};
    QCOMPARE(library.getImgPaths(row), paths);
    QCOMPARE(TestEnvironment::readFile(paths.at(0)), images.at(0));
    QCOMPARE(TestEnvironment::readFile(paths.at(1)), images.at(1));

    // Applied and saved as the main window does it.
    StitchSet *catalogue = StitchSet::instance();
    for (Stitch *edited : library.loadStitches()) {
        catalogue->findOrAdd(edited->stitchID())->updateStitch(edited);
        catalogue->addCategory(edited->category());
    }
    library.saveLibrary();

    Stitch *leaf = catalogue->findStitch("leaf");
    QCOMPARE(leaf->name(), QStringLiteral("Leaf"));
    QCOMPARE(leaf->cellsPerStitch(), 2);
    QCOMPARE(leaf->worked(), 2);
    QCOMPARE(leaf->made(), 3);
    QCOMPARE(leaf->paths(), paths);
    QCOMPARE(leaf->imageTypes(), (QStringList{"svg", "svg"}));
    QCOMPARE(leaf->image(8, 8, 1)->toImage().pixelColor(4, 4), QColor(Qt::blue));
    // The user's file names them within the user folder, which may move.
    const QByteArray userFile = TestEnvironment::readFile(StitchSet::userStitchesFile());
    QVERIFY(userFile.contains("<image>stitches/leaf-1.svg</image>"));
    QVERIFY(userFile.contains("<image>stitches/leaf-2.svg</image>"));
    StitchSet reread;
    QVERIFY(StitchSetFile::read(StitchSet::userStitchesFile(), reread));
    QCOMPARE(reread.stitches().size(), 1);
    QCOMPARE(reread.stitches().first()->paths(), paths);
    QCOMPARE(reread.stitches().first()->made(), 3);
}

void TestStitchLibraryExchange::damagedSetKeepsRowsRead()
{
    QByteArray file = setWith({StitchRecord{"Good", {"dmg1"}, {}, QString(), "dmg1", QString()},
                               StitchRecord{"Cut", {"dmg2"}, {}, QString(), "dmg2", QString()}});
    file.chop(11);
    StitchLibrary library;
    const int rows = library.model()->rowCount();
    QString box;
    answerNextBox(QMessageBox::Ok, &box);
    library.readSetFile(m_env->writeScratch("damaged.set", file));

    QCOMPARE(box, QStringLiteral("Import Stitch Set|The stitch set is damaged. Only the stitches before the damage "
                                 "were read.|Imported 1 stitch from damaged.set."));
    QCOMPARE(library.model()->rowCount(), rows + 1);
    QCOMPARE(library.getStitchID(rows), QStringLiteral("dmg1"));
}

// Whatever stands in the user's stitch-image folder and however a set
// names its images, the import writes only there, and never through a link.
void TestStitchLibraryExchange::importedImagesStayInTheFolder_data()
{
    StitchFixtures::ImageTrap::addRows(QString());
}

void TestStitchLibraryExchange::importedImagesStayInTheFolder()
{
    QFETCH(QString, carried);
    QFETCH(QString, link);
    const StitchFixtures::ImageTrap trap(m_env->scratchPath("outside"), carried, link);
    QVERIFY(trap.isSet());

    StitchLibrary library;
    QString box;
    answerNextBox(QMessageBox::Ok, &box);
    library.readSetFile(m_env->writeScratch("carried.set", StitchFixtures::exchangeSet("crr1", carried, svg("red").toUtf8())));

    const int row = rowOf(library, "crr1");
    QVERIFY(row >= 0);
    QCOMPARE(trap.sprung(library.getImgPaths(row).value(0), svg("red").toUtf8()), QString());
}

YARNWISE_TEST_MAIN(TestStitchLibraryExchange)
#include "tst_stitchlibraryexchange.moc"
