#include "combobox.h"
#include "modaldialog.h"
#include "settings.h"
#include "stitch.h"
#include "stitchcreator.h"
#include "stitchcreatordelegate.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

class TestStitchCreator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void cells_data();
    void cells();
    void fitsItsContent_data();
    void fitsItsContent();
    void choosingAnIcon();
    void addIconFiles_data();
    void addIconFiles();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestStitchCreator::init()
{
    m_env = std::make_unique<TestEnvironment>();
    // File dialogs start where the test's files are.
    Settings::instance()->setValue("defaultFileLocation", m_env->scratchPath(QString()));
}

void TestStitchCreator::cleanup()
{
    cancelModalHandlers();
    m_env.reset();
}

static QTableWidget *cellsOf(const StitchCreator &creator)
{
    return creator.findChild<QTableWidget *>(QStringLiteral("stitchIcons"));
}

static StitchCreatorDelegate *delegateOf(const StitchCreator &creator)
{
    return qobject_cast<StitchCreatorDelegate *>(cellsOf(creator)->itemDelegate());
}

void TestStitchCreator::cells_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QStringList>("icons");
    const QString k = QStringLiteral(":/stitches/k.svg");
    const QString p = QStringLiteral(":/stitches/p.svg");
    const QString yo = QStringLiteral(":/stitches/yo.svg");
    QTest::newRow("no images") << QStringList() << "" << QStringList{Stitch::placeholderPath()};
    QTest::newRow("only cell stays") << QStringList{k} << "removeCell" << QStringList{k};
    QTest::newRow("last of three removed") << QStringList{k, p, yo} << "removeCell" << QStringList{k, p};
    QTest::newRow("added cell is empty") << QStringList{k} << "addCell" << QStringList{k, ""};
    QTest::newRow("add then remove") << QStringList{k, p} << "addCell,removeCell,removeCell,removeCell"
                                     << QStringList{k};
}

void TestStitchCreator::cells()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, clicks);
    QFETCH(QStringList, icons);

    StitchCreator creator("c4f", paths);
    QCOMPARE(creator.windowTitle(), QStringLiteral("Stitch Creator"));
    QCOMPARE(creator.findChild<QLabel *>(QStringLiteral("lblCurStitch"))->text(),
             QStringLiteral("The current stitch is <b>c4f</b>"));
    QCOMPARE(cellsOf(creator)->currentColumn(), qMax(1, paths.size()) - 1);
    for (const QString &button : clicks.split(',', Qt::SkipEmptyParts))
        creator.findChild<QAbstractButton *>(button)->click();
    QCOMPARE(creator.iconList(), icons);
    QCOMPARE(cellsOf(creator)->rowCount(), 1);
}

// Shown at its size, the dialog shows every control whole, the row of
// icons included, however many cells the stitch has.
void TestStitchCreator::fitsItsContent_data()
{
    QTest::addColumn<QString>("stitch");
    QTest::newRow("one cell") << "k";
    QTest::newRow("eight cells") << "c8f";
}

void TestStitchCreator::fitsItsContent()
{
    QFETCH(QString, stitch);
    StitchCreator creator(stitch, StitchSet::instance()->findStitch(stitch)->paths());
    creator.setCounts(8, 8, true);
    creator.show();
    QVERIFY(QTest::qWaitForWindowExposed(&creator));
    for (const QWidget *child : creator.findChildren<QWidget *>()) {
        if (!child->isVisible() || child->parentWidget() != &creator)
            continue;
        QVERIFY2(creator.rect().contains(child->geometry()), qPrintable(child->metaObject()->className()));
        QVERIFY2(child->height() >= child->minimumSizeHint().height(), qPrintable(child->metaObject()->className()));
    }
    const QTableWidget *cells = cellsOf(creator);
    QVERIFY(cells->viewport()->height() >= cells->rowHeight(0));
    auto *worked = creator.findChild<QSpinBox *>(QStringLiteral("worked"));
    QVERIFY(worked && worked->isEnabled());
    QCOMPARE(creator.worked(), 8);
}

void TestStitchCreator::choosingAnIcon()
{
    // The user's icons keep the case of their names.
    const QString folder = StitchSet::userIconFolder();
    QVERIFY(QDir().mkpath(folder));
    for (const char *name : {"MyLeaf.svg", "k.svg"})
        QFile(folder + '/' + QLatin1String(name)).open(QIODevice::WriteOnly);

    StitchCreator creator("leaf", {":/stitches/p.svg", ":/stitches/p.svg"});
    StitchCreatorDelegate *delegate = delegateOf(creator);
    QVERIFY(delegate->iconPaths().contains(folder + "/MyLeaf.svg"));
    QVERIFY(delegate->iconPaths().contains(":/stitches/unknown.svg"));

    QWidget parent;
    const QModelIndex first = cellsOf(creator)->model()->index(0, 0);
    cellsOf(creator)->setCurrentIndex(first);
    auto *box = qobject_cast<ComboBox *>(delegate->createEditor(&parent, QStyleOptionViewItem(), first));
    QVERIFY(box);
    delegate->setEditorData(box, first);
    QCOMPARE(box->currentData().toString(), QStringLiteral(":/stitches/p.svg"));
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    QStringList sorted = names;
    sorted.sort();
    QCOMPARE(names, sorted);
    QCOMPARE(names.count("k.svg"), 2);
    QVERIFY(names.contains("MyLeaf.svg"));

    // Choosing by name takes that very file, not one that merely ends so.
    box->setCurrentIndex(box->findText("k.svg"));
    QCOMPARE(creator.iconList(), (QStringList{":/stitches/k.svg", ":/stitches/p.svg"}));
    box->setCurrentIndex(box->findText("MyLeaf.svg"));
    delegate->setModelData(box, cellsOf(creator)->model(), first);
    QCOMPARE(creator.iconList().first(), folder + "/MyLeaf.svg");

    QSignalSpy chosen(delegate, &StitchCreatorDelegate::currentIndexChanged);
    delegate->getEditRole("k.svg");
    delegate->getEditRole("MyLeaf.svg");
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral(":/stitches/k.svg"));
    QCOMPARE(chosen.at(1).at(0).toString(), folder + "/MyLeaf.svg");
}

void TestStitchCreator::addIconFiles_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("new file") << QByteArray() << 0 << QByteArray("new");
    QTest::newRow("replaced") << QByteArray("old") << int(QMessageBox::Yes) << QByteArray("new");
    QTest::newRow("kept") << QByteArray("old") << int(QMessageBox::No) << QByteArray("old");
    QTest::newRow("cancelled") << QByteArray("old") << int(QMessageBox::Cancel) << QByteArray("old");
}

void TestStitchCreator::addIconFiles()
{
    QFETCH(QByteArray, existing);
    QFETCH(int, answer);
    QFETCH(QByteArray, result);

    const QString target = StitchSet::userIconFolder() + "/bud.svg";
    if (!existing.isEmpty()) {
        QVERIFY(QDir().mkpath(StitchSet::userIconFolder()));
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    const QStringList cells{":/stitches/k.svg", ":/stitches/p.svg"};
    StitchCreator creator("bud", cells);
    const int offered = delegateOf(creator)->iconPaths().size();
    QString question;
    if (answer) {
        whenModal<QMessageBox>([answer, &question](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::StandardButton(answer))->click();
        });
    }
    const QString source = m_env->writeScratch("bud.svg", "new");
    QString fileDialog;
    whenModal<QFileDialog>([source, &fileDialog](QFileDialog *dialog) {
        fileDialog = dialog->windowTitle() + '|' + dialog->nameFilters().join(';');
        acceptFile(dialog, source);
    });
    creator.findChild<QAbstractButton *>(QStringLiteral("addIcon"))->click();

    QCOMPARE(fileDialog, QStringLiteral("Add New Icon|Image Files (*.svg *.svgz *.png *.gif *.jpg)"));
    QCOMPARE(question, answer ? QStringLiteral("Replace the existing file bud.svg ?") : QString());
    QCOMPARE(TestEnvironment::readFile(target), result);
    QCOMPARE(delegateOf(creator)->iconPaths().count(target), 1);
    QCOMPARE(delegateOf(creator)->iconPaths().size(), offered + (existing.isEmpty() ? 1 : 0));
    // The cell being edited, the last, shows the copy; a kept file is not
    // the one the user chose.
    const bool copied = answer == 0 || answer == QMessageBox::Yes;
    QCOMPARE(creator.iconList(), (QStringList{cells.at(0), copied ? target : cells.at(1)}));

    // A file that already is in the folder is offered and taken without a
    // question.
    cellsOf(creator)->setCurrentCell(0, 0);
    creator.addIconFiles({target});
    QCOMPARE(TestEnvironment::readFile(target), result);
    QCOMPARE(delegateOf(creator)->iconPaths().count(target), 1);
    QCOMPARE(creator.iconList().first(), target);
}

YARNWISE_TEST_MAIN(TestStitchCreator)
#include "tst_stitchcreator.moc"
