#include "chart.h"
#include "chartgrid.h"
#include "document.h"
#include "instructionparser.h"
#include "knitscene.h"
#include "patterncheckpanel.h"
#include "samplepattern.h"
#include "stitchset.h"
#include "testenvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

// The Pattern Check dock: the findings of the document being worked on,
// grouped by chart, following its edits; a click that shows the cells; and
// dismissing that the pattern keeps.
class TestPatternCheckPanel : public TestSuite
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { StitchSet::instance()->load(); }
    void init();
    void cleanup();

    void groupsFindingsByChart();
    void clickShowsTheCells();
    void dismissing();
    void followsEdits();
    void hiddenPanelWaits();

private:
    // The panel's findings after the next check.
    bool checked();
    QTreeWidgetItem *itemWith(const QString &text) const;
    QString summary() const { return m_panel->findChild<QLabel *>(QStringLiteral("summary"))->text(); }

    std::unique_ptr<Document> m_doc;
    std::unique_ptr<PatternCheckPanel> m_panel;
};

void TestPatternCheckPanel::init()
{
    TestSuite::init();
    m_doc = SamplePattern::createWithErrors();
    m_panel = std::make_unique<PatternCheckPanel>();
    m_panel->show();
    m_panel->setDocument(m_doc.get());
    QVERIFY(checked());
}

void TestPatternCheckPanel::cleanup()
{
    m_panel.reset();
    m_doc.reset();
    TestSuite::cleanup();
}

bool TestPatternCheckPanel::checked()
{
    QSignalSpy updated(m_panel.get(), &PatternCheckPanel::updated);
    return updated.wait(10000) && !m_panel->isChecking();
}

QTreeWidgetItem *TestPatternCheckPanel::itemWith(const QString &text) const
{
    const QList<QTreeWidgetItem *> items =
        m_panel->findChild<QTreeWidget *>()->findItems(text, Qt::MatchContains | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

void TestPatternCheckPanel::groupsFindingsByChart()
{
    QCOMPARE(m_panel->findings().size(), 8);
    const QTreeWidget *tree = m_panel->findChild<QTreeWidget *>();
    QStringList groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        groups.append(tree->topLevelItem(i)->text(0) + QLatin1Char(' ')
                      + QString::number(tree->topLevelItem(i)->childCount()));
    QCOMPARE(groups, (QStringList{"Cable Panel 2", "Lace Edging 2", "Colour Band 1", "Key 1", "Chart 4 1",
                                  "Picot Edge 1"}));
    // The group names the chart; its findings need not.
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("row 5: 10 stitches made, row 6 works 9"));
    QCOMPARE(summary(), QStringLiteral("1 error, 6 warnings, 1 note"));
}

void TestPatternCheckPanel::clickShowsTheCells()
{
    QTreeWidgetItem *item = itemWith(QStringLiteral("cuts a stitch"));
    QVERIFY(item);
    m_doc->tabWidget()->setCurrentIndex(0);
    QTreeWidget *tree = m_panel->findChild<QTreeWidget *>();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    Chart *cable = m_doc->charts().at(1);
    QCOMPARE(m_doc->curChart(), cable);
    // Row 3 of the cable, the box's five cells at the left.
    QCOMPARE(cable->knitScene()->selection(), QRect(0, 3, 5, 1));
}

void TestPatternCheckPanel::dismissing()
{
    QTreeWidget *tree = m_panel->findChild<QTreeWidget *>();
    tree->setCurrentItem(itemWith(QStringLiteral("row 6 works 9")));
    auto *dismiss = m_panel->findChild<QPushButton *>(QStringLiteral("dismiss"));
    QCOMPARE(dismiss->text(), QStringLiteral("Dismiss"));
    dismiss->click();
    QCOMPARE(m_doc->dismissedFindings(), QStringList{"Cable Panel: row 5: 10 stitches made, row 6 works 9"});
    QVERIFY(m_doc->isModified());
    QVERIFY(!itemWith(QStringLiteral("row 6 works 9")));
    QCOMPARE(summary(), QStringLiteral("6 warnings, 1 note (1 dismissed)"));

    // Shown again, greyed. With a finding that is not dismissed in the
    // selection, the button dismisses; with dismissed ones alone, it
    // restores.
    m_panel->findChild<QCheckBox *>(QStringLiteral("showDismissed"))->setChecked(true);
    QTreeWidgetItem *item = itemWith(QStringLiteral("row 6 works 9"));
    QVERIFY(item);
    tree->setCurrentItem(item);
    QCOMPARE(dismiss->text(), QStringLiteral("Restore"));
    itemWith(QStringLiteral("Chart 4 has no title"))->setSelected(true);
    QCOMPARE(dismiss->text(), QStringLiteral("Dismiss"));
    dismiss->click();
    QCOMPARE(m_doc->dismissedFindings().size(), 2);
    QCOMPARE(tree->selectedItems().size(), 2);
    QCOMPARE(dismiss->text(), QStringLiteral("Restore"));
    dismiss->click();
    QCOMPARE(m_doc->dismissedFindings(), QStringList());
}

// Mending a mistake takes its finding away a moment later; marking the
// unbalanced row as shaping takes that one.
void TestPatternCheckPanel::followsEdits()
{
    Chart *cable = m_doc->charts().at(1);
    const InstructionParser parser(StitchSet::instance()->keyWords());
    cable->knitScene()->updateRow(5, InstructionParser::row(parser.cells(QStringLiteral("k2, p6, k2"), 10), 10, true));
    Chart *lace = m_doc->charts().at(0);
    lace->knitScene()->editor().markShapingRows(QRect(0, 0, 11, 1), true);
    QVERIFY(checked());
    QVERIFY(!itemWith(QStringLiteral("row 6 works 9")));
    QVERIFY(!itemWith(QStringLiteral("do not balance")));
    QCOMPARE(summary(), QStringLiteral("5 warnings, 1 note"));
    lace->undoStack()->undo();
    QVERIFY(checked());
    QVERIFY(itemWith(QStringLiteral("do not balance")));
}

// A closed dock does no work, and checks when it is opened again.
void TestPatternCheckPanel::hiddenPanelWaits()
{
    m_panel->hide();
    m_doc->setGauge(Gauge{40, 0});
    QTest::qWait(2 * PatternCheckPanel::settleMs);
    QVERIFY(!m_panel->isChecking());
    QVERIFY(itemWith(QStringLiteral("a float of 10 stitches")));
    m_panel->show();
    QVERIFY(checked());
    QVERIFY(!itemWith(QStringLiteral("a float of 10 stitches")));
}

YARNWISE_TEST_MAIN(TestPatternCheckPanel)
#include "tst_patterncheckpanel.moc"
