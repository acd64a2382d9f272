#ifndef PATTERNCHECKPANEL_H
#define PATTERNCHECKPANEL_H

#include "patterncheck.h"

#include <QPointer>
#include <QSet>
#include <QWidget>

#include <memory>
#include <vector>

class BackgroundCheck;
class ChartGrid;
class Document;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The Pattern Check dock's contents: the findings of the pattern check for
// the document being worked on, grouped by chart. A moment after each
// change the check runs again on copies, on its own thread, so typing and
// painting never wait for it. Clicking a finding shows its chart and
// selects its cells; a finding the designer dismisses stays dismissed for
// this pattern (the pattern keeps the list) until it is restored.
class PatternCheckPanel : public QWidget
{
    Q_OBJECT

public:
    // How long after the last change the check runs.
    static constexpr int settleMs = 400;

    explicit PatternCheckPanel(QWidget *parent = nullptr);
    ~PatternCheckPanel() override;

    QSize sizeHint() const override;

    // The document to check; null for none.
    void setDocument(Document *document);
    // Checks again soon, as after an edit.
    void schedule();
    // The findings shown, dismissed ones among them only when they are
    // shown too.
    const QList<PatternCheck::Finding> &findings() const { return m_findings; }
    bool isChecking() const;
    // Waits for the check that runs, before the stitches it reads change.
    void finishCheck();

Q_SIGNALS:
    // The findings of the latest check are on show.
    void updated();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The document is being destroyed.
    void forgetDocument();
    void runCheck();
    void showFindings(const QList<PatternCheck::Finding> &findings);
    void fillTree();
    void showFinding(QTreeWidgetItem *item);
    void dismissSelected(bool dismiss);
    void updateButtons();
    // The findings selected, by their place in m_findings.
    QList<int> selectedFindings() const;
    bool selectionIsDismissed() const;
    QSet<QString> dismissedSet() const;
    QTreeWidgetItem *groupFor(const PatternCheck::Finding &finding, QList<QTreeWidgetItem *> &groups);

    QPointer<Document> m_document;
    // Something changed while the panel was not on show.
    bool m_stale = false;
    // Something changed while a check ran.
    bool m_pending = false;
    // The copies of the charts the last check read, one a chart.
    std::vector<std::shared_ptr<ChartGrid>> m_copies;
    BackgroundCheck *m_check = nullptr;
    QTimer *m_settle = nullptr;
    QList<PatternCheck::Finding> m_findings;
    QTreeWidget *m_tree = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_dismiss = nullptr;
    QCheckBox *m_showDismissed = nullptr;
};

#endif // PATTERNCHECKPANEL_H
