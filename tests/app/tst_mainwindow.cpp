#include "chart.h"
#include "document.h"
#include "exphelper.h"
#include "chartfixtures.h"
#include "chartgrid.h"
#include "knitscene.h"
#include "mainwindow.h"
#include "newchartdialog.h"
#include "preferences.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"
#include "modaldialog.h"
#include "testenvironment.h"
#include "ui_mainwindowclass.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDataStream>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QMenuBar>
#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        cancelModalHandlers();
        m_env.reset();
    }

    void withoutDocument();
    void newDocumentNames();
    void newChartProposesTitle();
    void noStitchFillsChart();
    void paletteShowsEveryStitch();
    void designerSession();
    void saveWarnsOfChangesOnDisk();
    void saveAsProposesName();
    void sampleOnFirstStart();
    void exportPdfOpensFolder();
    void helpOpensManual_data();
    void helpOpensManual();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

// Runs `fill` on the next modal dialog and accepts it.
static void whenDialog(const std::function<void(QDialog *)> &fill)
{
    whenModal<QDialog>([fill](QDialog *dialog) {
        fill(dialog);
        dialog->accept();
    });
}

void TestMainWindow::withoutDocument()
{
    MainWindow window;
    Ui_MainWindowClass *ui = window.form();
    for (QAction *action : {ui->actionSave, ui->actionSave_As, ui->actionClose, ui->actionClose_All,
                            ui->actionPrint, ui->actionExport_PDF, ui->actionUndo, ui->actionRedo})
        QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
    QVERIFY(!ui->menuTabMenu->menuAction()->isVisible());
    QVERIFY(ui->docTools->isHidden());
    QVERIFY(ui->actionNew->isEnabled());
    QCOMPARE(ui->actionUndo->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(ui->menuBar->actions().size(), 8);
    QCOMPARE(ui->defaultToolbar->windowTitle(), QStringLiteral("Default Toolbar"));
    QVERIFY(ui->undoDock->isHidden());
    // Commands without a document do nothing.
    window.undo();
    window.addNewChart();
    window.removeChart();
}

void TestMainWindow::newDocumentNames()
{
    MainWindow window;
    for (int i = 0; i < 3; ++i) {
        acceptNextDialog();
        window.newDoc();
    }
    QStringList names;
    for (Document *doc : window.documents())
        names << doc->fileName();
    QCOMPARE(names, (QStringList{"unknown.kit", "unknown1.kit", "unknown2.kit"}));
    QCOMPARE(window.form()->menuWindow->actions().size(), 3);
    QVERIFY(window.form()->actionSave->isEnabled());
    QVERIFY(window.form()->menuTabMenu->menuAction()->isVisible());

    // A name comes free when its pattern closes, and only then: two
    // patterns sharing one would share an autosave copy.
    window.show();
    window.form()->mdiArea->setActiveSubWindow(window.form()->mdiArea->subWindowList().first());
    window.closeDoc();
    acceptNextDialog();
    window.newDoc();
    names.clear();
    for (Document *doc : window.documents())
        names << doc->fileName();
    names.sort();
    QCOMPARE(names, (QStringList{"unknown.kit", "unknown1.kit", "unknown2.kit"}));
}

void TestMainWindow::newChartProposesTitle()
{
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    QString proposed;
    QTimer::singleShot(0, [&proposed] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New Chart"));
        proposed = dialog->findChild<QLineEdit *>()->text();
        dialog->reject();
    });
    const DocValues values = window.newDocPrompt(true);
    QCOMPARE(proposed, QStringLiteral("Chart2"));
    QCOMPARE(values.width, 0);
    QCOMPARE(values.height, 0);
}

void TestMainWindow::noStitchFillsChart()
{
    MainWindow window;
    whenDialog([](QDialog *dialog) {
        auto *stitch = dialog->findChild<QComboBox *>();
        stitch->setCurrentIndex(stitch->findText(QStringLiteral("No Stitch")));
        QList<QSpinBox *> sizes = dialog->findChildren<QSpinBox *>();
        sizes.at(0)->setValue(7);
        sizes.at(1)->setValue(3);
    });
    window.newDoc();
    Chart *chart = window.currentDocument()->curChart();
    QCOMPARE(chart->grid()->columnCount(), 7);
    QCOMPARE(chart->grid()->rowCount(), 3);
    QCOMPARE(chart->grid()->stitch(3, 1)->stitchID(), QStringLiteral("x"));
}

void TestMainWindow::paletteShowsEveryStitch()
{
    MainWindow window;
    QTreeWidget *tree = window.form()->stitchTree;
    int stitches = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        stitches += tree->topLevelItem(i)->childCount();
    QCOMPARE(stitches, int(StitchSet::instance()->stitches().size()));
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Basic"));
    QTreeWidgetItem *first = tree->topLevelItem(0)->child(0);
    QCOMPARE(first->data(0, ExpHelper::stitchIdRole).toString(), first->text(0));
    QVERIFY(!first->toolTip(0).isEmpty());

    // Symbols are drawn as their rows show: No Stitch is a dark grey cell.
    QTreeWidgetItem *none = tree->findItems(QStringLiteral("x"), Qt::MatchExactly | Qt::MatchRecursive).first();
    tree->scrollToItem(none);
    const QImage row = tree->viewport()->grab(tree->visualItemRect(none)).toImage();
    int grey = 0;
    for (int y = 0; y < row.height(); ++y) {
        for (int x = 0; x < row.width(); ++x)
            grey += row.pixelColor(x, y) == QColor(76, 76, 76) ? 1 : 0;
    }
    QVERIFY2(grey > 100, qPrintable(QString::number(grey)));

    // The filter keeps what holds its text in abbreviation, name or
    // description, and hides the categories it empties.
    const auto shown = [tree] {
        QStringList ids;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *category = tree->topLevelItem(i);
            for (int j = 0; j < category->childCount(); ++j) {
                if (!category->isHidden() && !category->child(j)->isHidden())
                    ids << category->child(j)->text(0);
            }
        }
        return ids;
    };
    window.form()->stitchFilter->setText(QStringLiteral("CABLE"));
    const QStringList cables = shown();
    QVERIFY(!cables.isEmpty() && cables.size() < stitches);
    for (const Stitch *stitch : StitchSet::instance()->stitches()) {
        const bool holds = (stitch->stitchID() + stitch->name() + QLatin1Char('\n') + stitch->description())
                               .contains(QStringLiteral("cable"), Qt::CaseInsensitive);
        QCOMPARE(cables.contains(stitch->stitchID()), holds);
    }
    QVERIFY(tree->topLevelItem(0)->isHidden()); // no cable among the basics
    window.form()->stitchFilter->clear();
    QCOMPARE(shown().size(), stitches);

    // Stitches picked lately head the palette, the latest first, and are
    // kept for the next start.
    window.setStitch(QStringLiteral("yo"));
    window.setStitch(QStringLiteral("ssk"));
    QCoreApplication::processEvents();
    // A click on a row of the group itself.
    QTreeWidgetItem *recentYo = tree->topLevelItem(0)->child(1);
    QCOMPARE(recentYo->text(0), QStringLiteral("yo"));
    tree->scrollToItem(recentYo);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(recentYo).center());
    QCoreApplication::processEvents();
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Recent"));
    QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("yo"));
    MainWindow later;
    QCOMPARE(later.form()->stitchTree->topLevelItem(0)->child(1)->text(0), QStringLiteral("ssk"));
}

static void clickCell(KnitScene *scene, int x, int y)
{
    const QPointF pos = QRectF(scene->cellRect(x, y)).center();
    for (QEvent::Type type : {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseRelease}) {
        QGraphicsSceneMouseEvent event(type);
        event.setScenePos(pos);
        event.setButtons(type == QEvent::GraphicsSceneMousePress ? Qt::LeftButton : Qt::NoButton);
        QCoreApplication::sendEvent(scene, &event);
    }
}

// A designer's first minutes: a new document, painting from the palette,
// a second chart, and closing with the save prompt.
void TestMainWindow::designerSession()
{
    MainWindow window;
    Ui_MainWindowClass *ui = window.form();
    acceptNextDialog();
    window.newDoc();
    Document *doc = window.currentDocument();
    QVERIFY(doc);
    QCOMPARE(ui->stitchesUsed->count(), 1);
    QCOMPARE(ui->colorsUsed->count(), 1);

    // The status bar tells how the page is edited and how near it is seen;
    // zooming is nothing to save.
    const auto status = [&window] {
        QStringList texts;
        for (QLabel *label : window.statusBar()->findChildren<QLabel *>()) {
            if (!label->isHidden() && !label->text().isEmpty())
                texts << label->text();
        }
        return texts;
    };
    QVERIFY(status().contains(QStringLiteral("Stitch Painting")));
    QVERIFY(status().contains(QStringLiteral("Zoom: 100%")));
    QVERIFY(!doc->isWindowModified());
    for (QAction *action : ui->menuTabMenu->actions()) {
        if (action->text() == QLatin1String("Zoom In"))
            action->trigger();
    }
    QVERIFY(status().contains(QStringLiteral("Zoom: 110%")));
    QVERIFY(!doc->isWindowModified());
    doc->tabWidget()->setCurrentIndex(0);
    QVERIFY(status().contains(QStringLiteral("Text Editing")));
    QVERIFY(!status().join(QLatin1Char(' ')).contains(QStringLiteral("Zoom")));
    doc->tabWidget()->setCurrentIndex(1);
    QVERIFY(status().contains(QStringLiteral("Zoom: 110%")));

    // Pick yarn over from the palette and a colour from the chart's dialog.
    QTreeWidgetItem *yo = ui->stitchTree->findItems(QStringLiteral("yo"), Qt::MatchExactly | Qt::MatchRecursive).first();
    ui->stitchTree->scrollToItem(yo);
    QTest::mouseClick(ui->stitchTree->viewport(), Qt::LeftButton, {}, ui->stitchTree->visualItemRect(yo).center());
    QCOMPARE(doc->curStitch->stitchID(), QStringLiteral("yo"));
    window.setColor(QColor(Qt::red));
    KnitScene *scene = doc->curChart()->knitScene();
    clickCell(scene, 2, 3);
    QCOMPARE(scene->grid()->stitch(2, 3)->stitchID(), QStringLiteral("yo"));
    QCOMPARE(scene->grid()->color(2, 3), QColor(Qt::red));
    QCOMPARE(ui->stitchesUsed->count(), 2);
    QCOMPARE(ui->colorsUsed->count(), 2);
    QVERIFY(ui->actionUndo->isEnabled());
    QVERIFY(doc->isWindowModified());

    // Clicking a used stitch makes it current again.
    window.setStitch(ui->stitchesUsed->item(0));
    QCOMPARE(doc->curStitch->stitchID(), QStringLiteral("k"));

    // A second chart: its tab is current and the chart menu follows.
    whenDialog([](QDialog *dialog) { dialog->findChildren<QSpinBox *>().at(0)->setValue(5); });
    window.addNewChart();
    QCOMPARE(doc->chartList(), (QStringList{"Chart", "Chart2"}));
    QCOMPARE(doc->curChart()->grid()->columnCount(), 5);
    QCOMPARE(ui->menuTabMenu->actions(), doc->curChart()->menu()->actions());
    window.undo();
    QVERIFY(!ui->actionUndo->isEnabled());

    // Closing asks to save; discarding closes it.
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Save Changes?"));
        box->button(QMessageBox::Discard)->click();
    });
    window.closeDoc();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(window.documents().isEmpty());
    QVERIFY(!ui->actionSave->isEnabled());
    QCOMPARE(ui->stitchesUsed->count(), 0);
    QVERIFY(ui->menuWindow->actions().isEmpty());
}

// Save As of a new pattern offers its name in a folder that exists; of a
// saved one, its own folder.
void TestMainWindow::saveAsProposesName()
{
    Preferences::defaultFileLocation.set(m_env->scratchPath(QStringLiteral("missing")));
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    QString folder;
    QString name;
    const auto look = [&folder, &name] {
        whenModal<QFileDialog>([&folder, &name](QFileDialog *dialog) {
            folder = dialog->directory().absolutePath();
            name = dialog->findChild<QLineEdit *>()->text();
            dialog->reject();
        });
    };
    look();
    QVERIFY(!window.saveAs());
    QCOMPARE(name, QStringLiteral("unknown.kit"));
    QVERIFY(QDir(folder).exists());

    const QString path = m_env->scratchPath(QStringLiteral("Cowl.kit"));
    window.currentDocument()->setFileName(path);
    look();
    QVERIFY(!window.saveAs());
    QCOMPARE(name, QStringLiteral("Cowl.kit"));
    QCOMPARE(folder, QFileInfo(path).absolutePath());
}

// The very first start shows the finished sample, as a new pattern with
// nothing to save; later starts do not, and Help opens it again.
void TestMainWindow::sampleOnFirstStart()
{
    {
        MainWindow window;
        window.showSampleOnFirstStart();
        QCOMPARE(window.documents().size(), 1);
        Document *doc = window.currentDocument();
        QCOMPARE(doc->chartList(), (QStringList{"Lace Edging", "Cable Panel", "Colour Band"}));
        QVERIFY(!doc->isModified());
        QVERIFY(!doc->isSaved());
        QCOMPARE(doc->curChart()->chartTitle(), QStringLiteral("Lace Edging"));
        QVERIFY(!window.form()->actionUndo->isEnabled());
        window.form()->actionOpenSample->trigger();
        QCOMPARE(window.documents().size(), 2);
        QCOMPARE(window.currentDocument()->fileName(), QStringLiteral("harbour-cowl1.kit"));
    }
    MainWindow again;
    again.showSampleOnFirstStart();
    QVERIFY(again.documents().isEmpty());
}

// A pattern changed on disk by something else since it was opened here is
// not overwritten without asking; one nothing touched saves quietly.
void TestMainWindow::saveWarnsOfChangesOnDisk()
{
    const QString path = m_env->scratchPath(QStringLiteral("Mitten.kit"));
    {
        Document doc(3, 3, path, QStringLiteral("Mitten"), QStringLiteral("k"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QDataStream out(&file);
        QVERIFY(doc.save(out));
    }
    MainWindow window;
    QVERIFY(window.openPattern(path));
    window.currentDocument()->markChanged();
    int asked = 0;
    const auto answer = [&asked](QMessageBox::StandardButton button) {
        whenModal<QMessageBox>([&asked, button](QMessageBox *box) {
            ++asked;
            box->button(button)->click();
        });
    };

    // Something else writes the file.
    QFile other(path);
    QVERIFY(other.open(QIODevice::Append));
    other.write("tail");
    other.close();
    const QByteArray changed = TestEnvironment::readFile(path);
    answer(QMessageBox::Cancel);
    QVERIFY(!window.save());
    QCOMPARE(asked, 1);
    QCOMPARE(TestEnvironment::readFile(path), changed);

    answer(QMessageBox::Save);
    QVERIFY(window.save());
    QCOMPARE(asked, 2);
    QVERIFY(TestEnvironment::readFile(path) != changed);

    window.currentDocument()->markChanged();
    QVERIFY(window.save());
    cancelModalHandlers();
    QCOMPARE(asked, 2);
}

// Catches the desktop's "open this folder" instead of a file browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

void TestMainWindow::exportPdfOpensFolder()
{
    MainWindow window;
    acceptNextDialog();
    window.newDoc();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    const QString pdf = m_env->scratchPath(QStringLiteral("scarf"));
    whenDialog([pdf](QDialog *selection) {
        selection->findChildren<QCheckBox *>().last()->setChecked(true); // the chart
        whenDialog([pdf](QDialog *target) { target->findChild<QLineEdit *>()->setText(pdf); });
    });
    window.exportPdf();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QVERIFY(QFile::exists(pdf + QStringLiteral(".pdf")));
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls.first().toLocalFile(), QFileInfo(pdf).absolutePath());
}

void TestMainWindow::helpOpensManual_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("beside the program, as built") << ".";
    QTest::newRow("documentation folder, as installed") << "../share/doc/yarnwise";
    QTest::newRow("missing") << "";
}

void TestMainWindow::helpOpensManual()
{
    QFETCH(QString, folder);
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString manual = QDir::cleanPath(programFolder.filePath(folder + QStringLiteral("/YarnwiseUserManual.pdf")));
    if (!folder.isEmpty()) {
        QVERIFY(programFolder.mkpath(folder));
        QFile pdf(manual);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write("%PDF-1.4\n");
    }

    MainWindow window;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    bool told = false;
    if (folder.isEmpty())
        whenDialog([&told](QDialog *box) { told = box->windowTitle() == QLatin1String("Missing Help File"); });
    window.helpDoc();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    if (!folder.isEmpty())
        QFile::remove(manual);

    if (folder.isEmpty()) {
        QVERIFY(told);
        QVERIFY(catcher.urls.isEmpty());
    } else {
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(manual)});
    }
}

YARNWISE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
