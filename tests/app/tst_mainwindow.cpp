#include "chart.h"
#include "chartfixtures.h"
#include "chartscene.h"
#include "directions.h"
#include "document.h"
#include "exphelper.h"
#include "imagefixtures.h"
#include "mainwindow.h"
#include "modaldialog.h"
#include "patternfixtures.h"
#include "preferences.h"
#include "stitch.h"
#include "stitchset.h"
#include "testenvironment.h"
#include "textedit.h"
#include "ui_mainwindowclass.h"
#include "usedcolordelegate.h"
#include "widgetfixtures.h"
#include "writtenpatterndialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

class TestMainWindow : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }

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
};

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
    // Commands without a document do nothing.
    window.undo();
    window.addNewChart();
    window.removeChart();
}

void TestMainWindow::newDocumentNames()
{
    MainWindow window;
    for (int i = 0; i < 3; ++i) {
        newPattern(window);
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
    newPattern(window);
    names.clear();
    for (Document *doc : window.documents())
        names << doc->fileName();
    names.sort();
    QCOMPARE(names, (QStringList{"unknown.kit", "unknown1.kit", "unknown2.kit"}));
}

void TestMainWindow::newChartProposesTitle()
{
    MainWindow window;
    newPattern(window);
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
    fillNextDialog([](QDialog *dialog) {
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
    const int grey = pixelsWhere(row, [](const QColor &c) { return c == QColor(76, 76, 76); }).count;
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

// A designer's first minutes: a new document, painting from the palette,
// a second chart, and closing with the save prompt.
void TestMainWindow::designerSession()
{
    MainWindow window;
    Ui_MainWindowClass *ui = window.form();
    Document *doc = newPattern(window);
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
    findAction(ui->menuTabMenu, QStringLiteral("Zoom In"))->trigger();
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
    Mouse::click(*scene, 2, 3);
    QCOMPARE(scene->grid()->stitch(2, 3)->stitchID(), QStringLiteral("yo"));
    QCOMPARE(scene->grid()->color(2, 3), QColor(Qt::red));
    QCOMPARE(ui->stitchesUsed->count(), 2);
    QCOMPARE(ui->colorsUsed->count(), 2);
    QVERIFY(ui->actionUndo->isEnabled());
    QVERIFY(doc->isWindowModified());

    // Each colour shows its name in the key; a double-click names it anew.
    QListWidgetItem *red = ui->colorsUsed->item(1);
    QCOMPARE(red->data(UsedColorDelegate::nameRole).toString(), QStringLiteral("CC1"));
    QString offered;
    fillNextDialog([&offered](QDialog *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        offered = input->textValue();
        input->setTextValue(QStringLiteral("Rust"));
    });
    ui->colorsUsed->scrollToItem(red);
    const QPoint swatch = ui->colorsUsed->visualItemRect(red).center();
    QTest::mouseClick(ui->colorsUsed->viewport(), Qt::LeftButton, {}, swatch);
    QTest::mouseDClick(ui->colorsUsed->viewport(), Qt::LeftButton, {}, swatch);
    QCOMPARE(offered, QStringLiteral("CC1"));
    QCOMPARE(doc->colourNames().value(QColor(Qt::red).rgba()), QStringLiteral("Rust"));
    QCOMPARE(red->data(UsedColorDelegate::nameRole).toString(), QStringLiteral("Rust"));

    // Clicking a used stitch makes it current again.
    window.setStitch(ui->stitchesUsed->item(0));
    QCOMPARE(doc->curStitch->stitchID(), QStringLiteral("k"));

    // A second chart: its tab is current and the chart menu follows.
    fillNextDialog([](QDialog *dialog) { dialog->findChildren<QSpinBox *>().at(0)->setValue(5); });
    window.addNewChart();
    QCOMPARE(doc->chartList(), (QStringList{"Chart", "Chart2"}));
    QCOMPARE(doc->curChart()->grid()->columnCount(), 5);
    QCOMPARE(ui->menuTabMenu->actions(), doc->curChart()->menu()->actions());
    window.undo();
    QVERIFY(!ui->actionUndo->isEnabled());

    // A chart from a written pattern: what is not read is shown before it
    // is built, and goes to the Directions page.
    QStringList shown;
    fillNextDialog([&shown](QDialog *dialog) {
        auto *written = qobject_cast<WrittenPatternDialog *>(dialog);
        QVERIFY(written);
        written->setText(QStringLiteral("Rib\nCast on 6 sts.\nRow 1 (RS): *k1, p1; rep from * to end\n"
                                        "Row 2: knit\nWork until the piece measures 20 cm."));
        for (int i = 0; i < dialog->findChild<QListWidget *>()->count(); ++i)
            shown << dialog->findChild<QListWidget *>()->item(i)->text();
    });
    ui->actionAddWrittenChart->trigger();
    QCOMPARE(shown, QStringList{"Not a row, goes to the Directions page: Work until the piece measures 20 cm."});
    QCOMPARE(doc->chartList(), (QStringList{"Chart", "Chart2", "Rib"}));
    QCOMPARE(rowIds(*doc->curChart()->grid(), 1), QStringLiteral("p k p k p k"));
    QCOMPARE(rowIds(*doc->curChart()->grid(), 0), QStringLiteral("p p p p p p"));
    QVERIFY(doc->directions().first()->textEdit()->toPlainText().endsWith(
        QStringLiteral("Not read from the written pattern of Rib:\nWork until the piece measures 20 cm.")));

    // Closing asks to save; discarding closes it.
    QString asked;
    answerNextBox(QMessageBox::Discard, &asked);
    window.closeDoc();
    QVERIFY2(asked.startsWith(QStringLiteral("Save Changes?|")), qPrintable(asked));
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
    newPattern(window);
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
    const QString path = writePattern(m_env->scratchPath(QStringLiteral("Mitten.kit")));
    MainWindow window;
    QVERIFY(window.openPattern(path));
    window.currentDocument()->markChanged();

    // Something else writes the file.
    QFile other(path);
    QVERIFY(other.open(QIODevice::Append));
    other.write("tail");
    other.close();
    const QByteArray changed = TestEnvironment::readFile(path);
    QString asked;
    answerNextBox(QMessageBox::Cancel, &asked);
    QVERIFY(!window.save());
    QVERIFY2(asked.contains(QStringLiteral("changed by another program")), qPrintable(asked));
    QCOMPARE(TestEnvironment::readFile(path), changed);

    asked.clear();
    answerNextBox(QMessageBox::Save, &asked);
    QVERIFY(window.save());
    QVERIFY(!asked.isEmpty());
    QVERIFY(TestEnvironment::readFile(path) != changed);

    // Written here last: saved without a question.
    asked.clear();
    answerNextBox(QMessageBox::Save, &asked);
    window.currentDocument()->markChanged();
    QVERIFY(window.save());
    QVERIFY(asked.isEmpty());
}

void TestMainWindow::exportPdfOpensFolder()
{
    MainWindow window;
    newPattern(window);
    DesktopCatcher desktop;
    const QString pdf = m_env->scratchPath(QStringLiteral("scarf"));
    fillNextDialog([pdf](QDialog *selection) {
        selection->findChildren<QCheckBox *>().last()->setChecked(true); // the chart
        fillNextDialog([pdf](QDialog *target) { target->findChild<QLineEdit *>()->setText(pdf); });
    });
    window.exportPdf();
    QVERIFY(QFile::exists(pdf + QStringLiteral(".pdf")));
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(pdf).absolutePath())});
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
    if (!folder.isEmpty())
        QVERIFY(TestEnvironment::writeFile(manual, "%PDF-1.4\n"));

    MainWindow window;
    DesktopCatcher desktop;
    QString told;
    if (folder.isEmpty())
        answerNextBox(QMessageBox::Ok, &told);
    window.helpDoc();
    if (!folder.isEmpty())
        QFile::remove(manual);

    QCOMPARE(told.startsWith(QStringLiteral("Missing Help File|")), folder.isEmpty());
    QCOMPARE(desktop.opened, folder.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(manual)});
}

YARNWISE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
