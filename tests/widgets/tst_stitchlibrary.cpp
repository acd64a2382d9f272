#include "modaldialog.h"
#include "stitch.h"
#include "stitchcreator.h"
#include "stitchfixtures.h"
#include "stitchlibrary.h"
#include "stitchlibrarydelegate.h"
#include "stitchlibrarymodel.h"
#include "stitchset.h"
#include "stitchsetfile.h"
#include "testenvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

class TestStitchLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup();

    void table();
    void appliedLikeTheMainWindow();
    void addStitchRefusesUsedAbbrivs_data();
    void addStitchRefusesUsedAbbrivs();
    void abbrivEditRefused_data();
    void abbrivEditRefused();
    void editors();
    void deleteSelected();
    void iconCellOpensCreator();
    void creatorCounts_data();
    void creatorCounts();
    void iconStrip_data();
    void iconStrip();
    void temporaryStitches_data();
    void temporaryStitches();
    void reset_data();
    void reset();

private:
    QString writeImage(const QString &name, const QColor &color);
    std::unique_ptr<TestEnvironment> m_env;
};

void TestStitchLibrary::cleanup()
{
    cancelModalHandlers();
    m_env.reset();
}

static int rowOf(const StitchLibrary &library, const QString &id)
{
    for (int row = 0; row < library.model()->rowCount(); ++row) {
        if (library.getStitchID(row) == id)
            return row;
    }
    return -1;
}

static QString cell(const StitchLibrary &library, int row, int column)
{
    return library.model()->index(row, column).data().toString();
}

static QTableView *view(const StitchLibrary &library)
{
    return library.findChild<QTableView *>(QStringLiteral("stitchList"));
}

// Answers the next message box with `button`, keeping its title and text.
static void answerBox(QMessageBox::StandardButton button, QString *seen = nullptr)
{
    whenModal<QMessageBox>([button, seen](QMessageBox *box) {
        if (seen)
            *seen = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(button)->click();
    });
}

QString TestStitchLibrary::writeImage(const QString &name, const QColor &color)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(color);
    const QString path = m_env->scratchPath(name);
    return image.save(path) ? path : QString();
}

void TestStitchLibrary::table()
{
    StitchLibrary library;
    QCOMPARE(library.windowTitle(), QStringLiteral("Stitch Library"));
    for (const char *name : {"acceptButtons", "addStitch", "addCategory", "importSet", "exportSet", "deleteStitch", "reset"})
        QVERIFY2(library.findChild<QWidget *>(QLatin1String(name)), name);

    const StitchLibraryModel *model = library.model();
    QCOMPARE(model->rowCount(), StitchSet::instance()->stitches().size());
    QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Wrong Side Stitch"));
    const int row = rowOf(library, "c8f");
    QCOMPARE(row, StitchSet::instance()->stitches().indexOf(StitchSet::instance()->findStitch("c8f")));
    QCOMPARE(model->headerData(StitchLibraryModel::WorkedColumn, Qt::Horizontal).toString(),
             QStringLiteral("Stitches\nWorked"));
    QStringList texts;
    for (int column = 0; column < StitchLibraryModel::ColumnCount; ++column)
        texts << cell(library, row, column);
    const QStringList paths = StitchSet::instance()->findStitch("c8f")->paths();
    QCOMPARE(texts, (QStringList{"Cable 8 Front", paths.join(','), "c8f", texts.at(3), "c8f", "Cables", "8", "8",
                                 "false"}));
    QVERIFY(model->flags(model->index(row, StitchLibraryModel::SelectedColumn)) & Qt::ItemIsUserCheckable);
    QVERIFY(model->flags(model->index(row, 0)) & Qt::ItemIsEditable);
}

void TestStitchLibrary::appliedLikeTheMainWindow()
{
    StitchLibrary library;
    library.addStitch("tw1");
    StitchLibraryModel *model = library.model();
    const int row = model->rowCount() - 1;
    model->setData(model->index(row, 0), "Twin");
    model->setData(model->index(row, 2), "tw1, twa");
    model->setData(model->index(row, 3), "Two in one");
    model->setData(model->index(row, 4), "p");
    model->setData(model->index(row, 5), "Twins");
    model->setData(model->index(row, StitchLibraryModel::WorkedColumn), 1);
    model->setData(model->index(row, StitchLibraryModel::MadeColumn), 2);

    whenModal<StitchLibrary>([](StitchLibrary *shown) { shown->accept(); });
    QCOMPARE(library.exec(), int(QDialog::Accepted));
    StitchSet *set = StitchSet::instance();
    const int before = set->stitches().size();
    const QList<Stitch *> edited = library.loadStitches();
    QCOMPARE(edited.size(), model->rowCount());
    for (Stitch *stitch : edited) {
        set->findOrAdd(stitch->stitchID())->updateStitch(stitch);
        set->addCategory(stitch->category());
    }
    library.saveLibrary();

    QCOMPARE(set->stitches().size(), before + 1);
    bool found = false;
    Stitch *twin = set->findStitch("TWA", &found);
    QVERIFY(found);
    QCOMPARE(twin->abbrivs(), (QStringList{"tw1", "twa"}));
    QCOMPARE(twin->name(), QStringLiteral("Twin"));
    QCOMPARE(twin->description(), QStringLiteral("Two in one"));
    QCOMPARE(twin->opposite(), QStringLiteral("p"));
    QCOMPARE(twin->worked(), 1);
    QCOMPARE(twin->made(), 2);
    QCOMPARE(twin->paths(), QStringList{Stitch::placeholderPath()});
    QVERIFY(!twin->builtin);
    QVERIFY(set->categories().contains("Twins"));
    QCOMPARE(set->findStitch("k")->name(), QStringLiteral("Knit"));

    // Only the user's stitch is written, with every abbreviation.
    StitchSet reread;
    QVERIFY(StitchSetFile::read(StitchSet::userStitchesFile(), reread));
    QCOMPARE(reread.stitches().size(), 1);
    QCOMPARE(reread.stitches().first()->abbrivs(), (QStringList{"tw1", "twa"}));
    QCOMPARE(reread.stitches().first()->category(), QStringLiteral("Twins"));
    QCOMPARE(reread.stitches().first()->made(), 2);
}

// The message names the stitch as the table shows it. Besides the
// catalogue, the table has "zq0" described "Zig", "zq00" with neither
// name nor description, "yo" renamed "Wrap", and no row for "ssk".
void TestStitchLibrary::addStitchRefusesUsedAbbrivs_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box"); // empty: added
    const QString used = QStringLiteral("Stitch Abbrivation Used|The abbreviation \"%1\" is already being used by \"%2\".");
    QTest::newRow("known, capitals") << "K2TOG" << used.arg("K2TOG", "Knit 2 Together");
    QTest::newRow("known") << "k2tog" << used.arg("k2tog", "Knit 2 Together");
    QTest::newRow("new") << "zq1" << "";
    QTest::newRow("new and renamed") << "zq1, yo" << used.arg("yo", "Wrap");
    QTest::newRow("described row, capitals") << "ZQ0" << used.arg("ZQ0", "Zig");
    QTest::newRow("bare row") << "zq00" << used.arg("zq00", "zq00");
    QTest::newRow("deleted row") << "ssk" << used.arg("ssk", "Slip Slip Knit");
    QTest::newRow("nothing typed") << "" << "";
}

void TestStitchLibrary::addStitchRefusesUsedAbbrivs()
{
    QFETCH(QString, typed);
    QFETCH(QString, box);
    const bool added = box.isEmpty() && !typed.isEmpty();

    StitchLibrary library;
    StitchLibraryModel *model = library.model();
    library.addStitch("zq0");
    model->setData(model->index(model->rowCount() - 1, 3), "Zig");
    library.addStitch("zq00");
    model->setData(model->index(rowOf(library, "yo"), 0), "Wrap");
    model->removeRow(rowOf(library, "ssk"));
    const int rows = model->rowCount();
    whenModal<QInputDialog>([typed](QInputDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Add New Stitch"));
        QCOMPARE(dialog->labelText(), QStringLiteral("New Stitch's Abbreviation:"));
        dialog->setTextValue(typed);
        dialog->accept();
    });
    QString seen;
    if (!box.isEmpty())
        answerBox(QMessageBox::Ok, &seen);
    library.addStitchDialog();

    QCOMPARE(model->rowCount(), rows + (added ? 1 : 0));
    QCOMPARE(seen, box);
    if (added) {
        QCOMPARE(cell(library, rows, 0), QString());
        QCOMPARE(cell(library, rows, 1), Stitch::placeholderPath());
        QCOMPARE(cell(library, rows, 2), typed);
        QCOMPARE(cell(library, rows, 4), typed);
        QCOMPARE(cell(library, rows, 5), QString());
        QCOMPARE(model->record(rows).worked, 1);
        QCOMPARE(model->record(rows).made, 1);
        QCOMPARE(model->index(rows, StitchLibraryModel::SelectedColumn).data(), QVariant(false));
    }
}

void TestStitchLibrary::abbrivEditRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box"); // empty: taken
    const QString used = QStringLiteral("Stitch Abbrivation Used|The abbreviation \"%1\" is already being used by \"%2\".");
    QTest::newRow("another row's") << "K" << used.arg("K", "Knit");
    QTest::newRow("a new row's") << "zq4b, zq5" << used.arg("zq5", "zq5");
    QTest::newRow("emptied") << " " << "No Abbreviation|Every stitch needs an abbreviation.";
    QTest::newRow("own and new") << "zq4, zq4b" << "";
}

void TestStitchLibrary::abbrivEditRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, box);

    StitchLibrary library;
    library.addStitch("zq4");
    library.addStitch("zq5");
    const QModelIndex index = library.model()->index(library.model()->rowCount() - 2, 2);
    auto *delegate = qobject_cast<StitchLibraryDelegate *>(view(library)->itemDelegate());
    QLineEdit editor(typed);
    QString seen;
    if (!box.isEmpty())
        answerBox(QMessageBox::Ok, &seen);
    delegate->setModelData(&editor, library.model(), index);

    QCOMPARE(index.data().toString(), box.isEmpty() ? typed : QStringLiteral("zq4"));
    QTRY_COMPARE(seen, box);
}

void TestStitchLibrary::editors()
{
    StitchLibrary library;
    library.addStitch("zq6");
    StitchLibraryModel *model = library.model();
    const int row = model->rowCount() - 1;
    model->setData(model->index(row, 4), "zq6 other");
    model->setData(model->index(row, 5), "No Such Category");
    QAbstractItemDelegate *delegate = view(library)->itemDelegate();
    QWidget parent;
    const QStyleOptionViewItem option;
    auto editorAt = [&](int row, int column) {
        return delegate->createEditor(&parent, option, model->index(row, column));
    };

    const int knit = rowOf(library, "k");
    QVERIFY(qobject_cast<QLineEdit *>(editorAt(knit, 0)));
    QVERIFY(!editorAt(knit, 1));
    QVERIFY(!editorAt(knit, 2));
    QVERIFY(!editorAt(knit, 3));
    QVERIFY(!editorAt(knit, 4));
    QVERIFY(qobject_cast<QComboBox *>(editorAt(knit, 5)));
    QVERIFY(!editorAt(knit, StitchLibraryModel::WorkedColumn));
    QVERIFY(!editorAt(knit, StitchLibraryModel::MadeColumn));
    QVERIFY(!editorAt(knit, StitchLibraryModel::SelectedColumn));
    QVERIFY(qobject_cast<QLineEdit *>(editorAt(row, 2)));
    QVERIFY(editorAt(row, 3));

    // The numbers of the user's stitches, in the range every file takes.
    for (int column : {StitchLibraryModel::WorkedColumn, StitchLibraryModel::MadeColumn}) {
        auto *count = qobject_cast<QSpinBox *>(editorAt(row, column));
        QVERIFY(count);
        QCOMPARE(count->minimum(), 0);
        QCOMPARE(count->maximum(), StitchRecord::mostStitches);
        delegate->setEditorData(count, model->index(row, column));
        QCOMPARE(count->value(), 1);
        count->setValue(column == StitchLibraryModel::WorkedColumn ? 3 : 0);
        delegate->setModelData(count, model, model->index(row, column));
    }
    QCOMPARE(model->record(row).worked, 3);
    QCOMPARE(model->record(row).made, 0);

    // The lists offer every row's ID and every category; a value missing
    // from them survives opening and closing the editor.
    auto *opposite = qobject_cast<QComboBox *>(editorAt(row, 4));
    QVERIFY(opposite);
    QCOMPARE(opposite->count(), model->rowCount());
    QCOMPARE(opposite->itemText(0), library.getStitchID(0));
    for (int column : {4, 5}) {
        auto *box = qobject_cast<QComboBox *>(editorAt(row, column));
        const QString before = model->index(row, column).data().toString();
        delegate->setEditorData(box, model->index(row, column));
        QCOMPARE(box->currentText(), before);
        delegate->setModelData(box, model, model->index(row, column));
        QCOMPARE(model->index(row, column).data().toString(), before);
    }

    // Choosing writes into the current cell.
    view(library)->setCurrentIndex(model->index(row, 5));
    auto *category = qobject_cast<QComboBox *>(editorAt(row, 5));
    category->setCurrentText("Cables");
    QCOMPARE(model->index(row, 5).data().toString(), QStringLiteral("Cables"));
}

void TestStitchLibrary::deleteSelected()
{
    StitchLibrary library;
    library.addStitch("zq7");
    library.addStitch("zq8");
    library.addStitch("zq9");
    const int rows = library.model()->rowCount();

    QString box;
    answerBox(QMessageBox::Ok, &box);
    library.deleteStitch();
    QCOMPARE(box, QStringLiteral("No Stitches Selected|Please select at least one stitch before continuing."));
    QCOMPARE(library.model()->rowCount(), rows);

    // The check toggles on a click, as the user sets it.
    library.show();
    QVERIFY(QTest::qWaitForWindowExposed(&library));
    for (const char *id : {"zq7", "zq9", "zq9"}) {
        const QModelIndex check = library.model()->index(rowOf(library, id), StitchLibraryModel::SelectedColumn);
        view(library)->scrollTo(check);
        QTest::mouseClick(view(library)->viewport(), Qt::LeftButton, {}, view(library)->visualRect(check).center());
    }
    QVERIFY(library.model()->isSelected(rowOf(library, "zq7")));
    QVERIFY(!library.model()->isSelected(rowOf(library, "zq9")));
    library.model()->setData(library.model()->index(0, StitchLibraryModel::SelectedColumn), true);
    const QString second = library.getStitchID(1);
    library.deleteStitch();
    QCOMPARE(library.model()->rowCount(), rows - 2);
    QCOMPARE(rowOf(library, "zq7"), -1);
    QCOMPARE(library.getStitchID(0), second);
    QVERIFY(rowOf(library, "zq8") >= 0);
    QVERIFY(StitchSet::instance()->findStitch(library.getStitchID(0)) != nullptr);
}

void TestStitchLibrary::iconCellOpensCreator()
{
    Stitch *stitch = StitchSet::instance()->findStitch("yo");
    const QStringList paths = stitch->paths();
    QVERIFY(stitch->builtin);

    StitchLibrary library;
    library.show();
    QVERIFY(QTest::qWaitForWindowExposed(&library));
    const QModelIndex icon = library.model()->index(rowOf(library, "yo"), 1);
    view(library)->scrollTo(icon);
    QString heading;
    whenModal<StitchCreator>([&heading](StitchCreator *creator) {
        heading = creator->findChild<QLabel *>(QStringLiteral("lblCurStitch"))->text();
        creator->addCell();
        creator->accept();
    });
    QTest::mouseClick(view(library)->viewport(), Qt::LeftButton, {}, view(library)->visualRect(icon).center());

    QCOMPARE(heading, QStringLiteral("The current stitch is <b>yo</b>"));
    QCOMPARE(library.getImgPaths(icon.row()), paths + QStringList{Stitch::placeholderPath()});
    QCOMPARE(icon.data().toString(), paths.first() + QStringLiteral(","));
    // The catalogue takes the images at once; the stitch is the user's now.
    QCOMPARE(stitch->cellsPerStitch(), 2);
    QVERIFY(!stitch->builtin);

    stitch->setPaths(paths);
    stitch->builtin = true;
}

// The stitch creator shows the row's arithmetic, and changes it for the
// user's own stitches only.
void TestStitchLibrary::creatorCounts_data()
{
    QTest::addColumn<QString>("id"); // empty: a new stitch of the user's
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("after");
    QTest::newRow("built in") << "k2tog" << false << "2/1" << "2/1";
    QTest::newRow("the user's") << "" << true << "1/1" << "3/0";
}

void TestStitchLibrary::creatorCounts()
{
    QFETCH(QString, id);
    QFETCH(bool, editable);
    QFETCH(QString, shown);
    QFETCH(QString, after);
    StitchLibrary library;
    if (id.isEmpty())
        library.addStitch("zq11");
    const int row = id.isEmpty() ? library.model()->rowCount() - 1 : rowOf(library, id);
    Stitch *builtin = id.isEmpty() ? nullptr : StitchSet::instance()->findStitch(id);
    const QStringList paths = builtin ? builtin->paths() : QStringList();
    view(library)->setCurrentIndex(library.model()->index(row, 1));

    QString seen;
    bool enabled = false;
    whenModal<StitchCreator>([&seen, &enabled](StitchCreator *creator) {
        auto *worked = creator->findChild<QSpinBox *>(QStringLiteral("worked"));
        auto *made = creator->findChild<QSpinBox *>(QStringLiteral("made"));
        seen = StitchFixtures::counts(worked->value(), made->value());
        enabled = worked->isEnabled() && made->isEnabled();
        worked->setValue(3);
        made->setValue(0);
        creator->accept();
    });
    library.openStitchCreator();

    QCOMPARE(seen, shown);
    QCOMPARE(enabled, editable);
    const StitchRecord record = library.model()->record(row);
    QCOMPARE(StitchFixtures::counts(record.worked, record.made), after);
    if (builtin) {
        builtin->setPaths(paths);
        builtin->builtin = true;
    }
}

void TestStitchLibrary::iconStrip_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<QList<int>>("redGreenBlueWhiteFrom");
    QTest::newRow("one") << 1 << QList<int>{0, -1, -1, 32};
    QTest::newRow("two") << 2 << QList<int>{0, 25, -1, 50};
    QTest::newRow("three") << 3 << QList<int>{0, 16, 32, 48};
}

void TestStitchLibrary::iconStrip()
{
    QFETCH(int, images);
    QFETCH(QList<int>, redGreenBlueWhiteFrom);
    const QList<QColor> colors{Qt::red, Qt::green, Qt::blue};
    QStringList paths;
    for (int i = 0; i < images; ++i)
        paths << writeImage(QStringLiteral("strip%1.png").arg(i), colors.at(i));

    const QImage strip = StitchLibraryDelegate::iconStrip(paths, Qt::white).toImage();
    QCOMPARE(strip.size(), QSize(50, 32));
    const QList<QColor> expected = colors + QList<QColor>{Qt::white};
    for (int x = 0; x < 50; ++x) {
        int slot = 0;
        for (int i = 0; i < expected.size(); ++i) {
            if (redGreenBlueWhiteFrom.at(i) >= 0 && x >= redGreenBlueWhiteFrom.at(i))
                slot = i;
        }
        QCOMPARE(QColor(strip.pixel(x, 16)), expected.at(slot));
    }
}

void TestStitchLibrary::temporaryStitches_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("keep");
    QTest::newRow("kept") << "tmpyes" << true;
    QTest::newRow("left out") << "tmpno" << false;
}

void TestStitchLibrary::temporaryStitches()
{
    QFETCH(QString, id);
    QFETCH(bool, keep);
    Stitch *fromChart = StitchSet::instance()->findOrAdd(id);
    fromChart->addAbbriv(id);
    fromChart->temporary = true;

    StitchLibrary library;
    QVERIFY(library.hasTemporaryStitches());
    QString question;
    answerBox(keep ? QMessageBox::Yes : QMessageBox::No, &question);
    library.saveLibrary();

    QCOMPARE(question.section('|', 1), QStringLiteral("Some stitches have been loaded as part of a chart. "
                                                      "Do you want to save them in your stitch library?"));
    StitchSet reread;
    QVERIFY(StitchSetFile::read(StitchSet::userStitchesFile(), reread));
    bool written = false;
    for (Stitch *stitch : reread.stitches())
        written = written || stitch->hasAbbriv(id);
    QCOMPARE(written, keep);
    QCOMPARE(fromChart->temporary, !keep);
    fromChart->temporary = false;
}

void TestStitchLibrary::reset_data()
{
    QTest::addColumn<bool>("userFile");
    QTest::addColumn<int>("answer");
    QTest::newRow("user file removed") << true << int(QMessageBox::Yes);
    QTest::newRow("no user file") << false << int(QMessageBox::Yes);
    QTest::newRow("declined") << true << int(QMessageBox::No);
    QTest::newRow("cancelled") << true << int(QMessageBox::Cancel);
}

void TestStitchLibrary::reset()
{
    QFETCH(bool, userFile);
    QFETCH(int, answer);
    const bool done = answer == QMessageBox::Yes;

    // The user turned a built-in stitch into their own and saved it.
    Stitch *stitch = StitchSet::instance()->findStitch("k2tog");
    StitchLibrary library;
    stitch->setName("Changed");
    stitch->builtin = false;
    if (userFile)
        QVERIFY(StitchSet::instance()->saveUserStitches(StitchSet::instance()->stitches(), false));
    library.model()->setData(library.model()->index(rowOf(library, "k2tog"), 0), "Edited");
    library.addStitch("zq10");
    const int rows = library.model()->rowCount();

    QString box;
    whenModal<QMessageBox>([answer, &box](QMessageBox *question) {
        box = question->text() + QLatin1Char('|') + question->informativeText();
        question->button(QMessageBox::StandardButton(answer))->click();
    });
    library.resetStitches();

    QCOMPARE(box, QStringLiteral("Are you sure you want to reset your stitch library?|"
                                 "By resetting your stitch library you will lose any changes you have made to it."));
    QCOMPARE(QFile::exists(StitchSet::userStitchesFile()), userFile && !done);
    QCOMPARE(stitch->name(), done ? QStringLiteral("Knit 2 Together") : QStringLiteral("Changed"));
    QCOMPARE(stitch->builtin, done);
    QCOMPARE(cell(library, rowOf(library, "k2tog"), 0), done ? QStringLiteral("Knit 2 Together") : QStringLiteral("Edited"));
    QCOMPARE(library.model()->rowCount(), done ? StitchSet::instance()->stitches().size() : rows);
    QCOMPARE(library.model()->headerData(StitchLibraryModel::SelectedColumn, Qt::Horizontal).toString(), QStringLiteral("Selected"));

    StitchSet::instance()->load();
}

YARNWISE_TEST_MAIN(TestStitchLibrary)
#include "tst_stitchlibrary.moc"
