#include "patterncheckpanel.h"

#include "backgroundcheck.h"
#include "chart.h"
#include "chartgrid.h"
#include "directions.h"
#include "document.h"
#include "preferences.h"
#include "textedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Where an item's finding is in m_findings.
constexpr int findingRole = Qt::UserRole + 1;

QIcon iconOf(PatternCheck::Severity severity)
{
    const QStyle *style = QApplication::style();
    switch (severity) {
    case PatternCheck::Severity::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case PatternCheck::Severity::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case PatternCheck::Severity::Note:
        break;
    }
    return style->standardIcon(QStyle::SP_MessageBoxInformation);
}

// The message without the chart's name in front, which the group shows.
QString shortMessage(const PatternCheck::Finding &finding)
{
    const QString prefix = finding.chart + QLatin1String(": ");
    if (!finding.chart.isEmpty() && finding.message.startsWith(prefix))
        return finding.message.mid(prefix.size());
    return finding.message;
}

// Findings wrap to the width of the dock: a row is as high as its message
// needs at the width its column gives it.
class WrappingDelegate : public QStyledItemDelegate
{
public:
    explicit WrappingDelegate(QTreeView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem wrapped = option;
        int depth = m_view->rootIsDecorated() ? 1 : 0;
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
            ++depth;
        // The style wraps only within a rectangle that is valid, so one
        // of any height; a few pixels spare for the frame of the focus.
        const int width = m_view->header()->sectionSize(0) - depth * m_view->indentation() - 8;
        wrapped.rect = QRect(0, 0, qMax(40, width), 1);
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

private:
    QTreeView *m_view;
};

} // namespace

PatternCheckPanel::PatternCheckPanel(QWidget *parent)
    : QWidget(parent)
    , m_check(new BackgroundCheck(this))
    , m_settle(new QTimer(this))
{
    setObjectName(QStringLiteral("patternCheckPanel"));
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMs);
    connect(m_settle, &QTimer::timeout, this, &PatternCheckPanel::runCheck);
    connect(m_check, &BackgroundCheck::finished, this, &PatternCheckPanel::showFindings);
    // Changes that came while a check ran are checked once it is over,
    // when its copies are free to be used again.
    connect(m_check, &BackgroundCheck::idle, this, [this] {
        if (m_pending) {
            m_pending = false;
            runCheck();
        }
    });

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("findings"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    // Whole messages, wrapped to the dock's width.
    m_tree->setWordWrap(true);
    m_tree->setTextElideMode(Qt::ElideNone);
    m_tree->setUniformRowHeights(false);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->setItemDelegate(new WrappingDelegate(m_tree));
    connect(m_tree->header(), &QHeaderView::sectionResized, m_tree, [this] { m_tree->doItemsLayout(); });
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(m_tree, &QTreeWidget::itemClicked, this, &PatternCheckPanel::showFinding);
    connect(m_tree, &QTreeWidget::itemActivated, this, &PatternCheckPanel::showFinding);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &PatternCheckPanel::updateButtons);
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QTreeWidgetItem *item = m_tree->itemAt(pos);
        if (!item || !item->data(0, findingRole).isValid())
            return;
        // The menu acts on the selection, which holds the finding clicked.
        if (!item->isSelected())
            m_tree->setCurrentItem(item);
        const bool restore = selectionIsDismissed();
        QMenu menu(this);
        menu.addAction(restore ? tr("Restore") : tr("Dismiss"), this, [this, restore] { dismissSelected(!restore); });
        menu.exec(m_tree->viewport()->mapToGlobal(pos));
    });

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_dismiss = new QPushButton(tr("Dismiss"), this);
    m_dismiss->setObjectName(QStringLiteral("dismiss"));
    m_dismiss->setToolTip(tr("Hide the selected findings for this pattern"));
    connect(m_dismiss, &QPushButton::clicked, this, [this] { dismissSelected(!selectionIsDismissed()); });
    m_showDismissed = new QCheckBox(tr("Show dismissed"), this);
    m_showDismissed->setObjectName(QStringLiteral("showDismissed"));
    connect(m_showDismissed, &QCheckBox::toggled, this, &PatternCheckPanel::fillTree);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_showDismissed);
    buttons->addStretch();
    buttons->addWidget(m_dismiss);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);

    // What the check reads from outside the pattern.
    connect(Preferences::instance(), &Preferences::changed, this, [this](const QString &key) {
        if (key == Preferences::floatLimit.key())
            schedule();
    });
    setDocument(nullptr);
}

PatternCheckPanel::~PatternCheckPanel() = default;

QSize PatternCheckPanel::sizeHint() const
{
    // Room for a finding in two or three lines.
    return QSize(320, 400);
}

void PatternCheckPanel::setDocument(Document *document)
{
    if (document == m_document && document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_check->cancel();
    m_pending = false;
    m_findings.clear();
    // A running check keeps what it reads; the copies of another pattern
    // are only memory.
    m_copies.clear();
    if (m_document) {
        connect(m_document, &Document::patternChanged, this, &PatternCheckPanel::schedule);
        connect(m_document, &Document::dismissedFindingsChanged, this, &PatternCheckPanel::fillTree);
        // The stitch library changed what stitches are and say.
        connect(m_document, &Document::updateChartStitches, this, &PatternCheckPanel::schedule);
        connect(m_document, &Document::settingsChanged, this, &PatternCheckPanel::schedule);
        // By then the document is only a QObject: nothing may look at it.
        connect(m_document, &QObject::destroyed, this, &PatternCheckPanel::forgetDocument);
        schedule();
    } else {
        m_settle->stop();
    }
    fillTree();
}

void PatternCheckPanel::forgetDocument()
{
    m_document.clear();
    setDocument(nullptr);
}

void PatternCheckPanel::schedule()
{
    if (!m_document)
        return;
    // A closed dock checks when it is opened again.
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    // Counted from the first change: a long run of edits still gets its
    // findings every moment, not only when it stops. A fill announces
    // every cell; only the first of them does anything here.
    if (m_settle->isActive())
        return;
    m_settle->start();
    m_summary->setText(tr("Checking..."));
}

void PatternCheckPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale) {
        m_stale = false;
        schedule();
    }
}

void PatternCheckPanel::finishCheck()
{
    m_check->wait();
}

bool PatternCheckPanel::isChecking() const
{
    return m_settle->isActive() || m_check->isRunning() || m_pending;
}

// Copies what the check reads, here on the window's thread, and hands them
// over. The copies of the last check are used again: copying into memory
// that is there already costs a fraction of taking new memory, which on a
// large chart would hold the window up for several frames.
void PatternCheckPanel::runCheck()
{
    if (!m_document)
        return;
    if (m_check->isRunning()) {
        m_pending = true;
        return;
    }
    // A dialog may change the stitches the check reads (the stitch
    // library does); the check waits until it is closed.
    if (QApplication::activeModalWidget()) {
        m_settle->start();
        return;
    }
    PatternCheck::Input input;
    const QList<Chart *> charts = m_document->charts();
    m_copies.resize(charts.size());
    for (int i = 0; i < charts.size(); ++i) {
        std::shared_ptr<ChartGrid> &copy = m_copies[i];
        if (copy && copy.use_count() == 1)
            charts.at(i)->grid()->copyInto(*copy);
        else
            copy = charts.at(i)->grid()->copy();
        input.charts.append(PatternCheck::Chart{charts.at(i)->chartTitle(), copy.get(), copy});
    }
    for (Directions *page : m_document->directions())
        input.directions += page->textEdit()->toPlainText() + QLatin1Char('\n');
    input.gauge = m_document->gauge();
    input.floatLimit = Preferences::floatLimit.value();
    QList<const Stitch *> stitches;
    for (Stitch *stitch : m_document->stitchesUsed)
        stitches.append(stitch);
    input.key = PatternCheck::keyFor(stitches);
    m_check->run(std::move(input));
}

void PatternCheckPanel::showFindings(const QList<PatternCheck::Finding> &findings)
{
    m_findings = findings;
    fillTree();
    Q_EMIT updated();
}

QTreeWidgetItem *PatternCheckPanel::groupFor(const PatternCheck::Finding &finding, QList<QTreeWidgetItem *> &groups)
{
    const QString name = finding.place == PatternCheck::Place::Key ? tr("Key")
        : finding.chart.isEmpty()                                  ? tr("Chart %1").arg(finding.chartIndex + 1)
                                                                   : finding.chart;
    for (QTreeWidgetItem *group : groups) {
        if (group->text(0) == name)
            return group;
    }
    auto *group = new QTreeWidgetItem(m_tree, QStringList{name});
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setFirstColumnSpanned(true);
    groups.append(group);
    return group;
}

// Built anew for each check; the findings selected and the place scrolled
// to stay where they were.
void PatternCheckPanel::fillTree()
{
    QSet<QString> selected;
    for (int index : selectedFindings())
        selected.insert(m_findings.value(index).message);
    const int scrolled = m_tree->verticalScrollBar()->value();
    const QSignalBlocker quiet(m_tree);
    m_tree->clear();
    const QSet<QString> dismissed = dismissedSet();
    int counts[3] = {0, 0, 0};
    int hidden = 0;
    QList<QTreeWidgetItem *> groups;
    for (int i = 0; i < m_findings.size(); ++i) {
        const PatternCheck::Finding &finding = m_findings.at(i);
        const bool isDismissed = dismissed.contains(finding.message);
        if (isDismissed)
            ++hidden;
        else
            ++counts[int(finding.severity)];
        if (isDismissed && !m_showDismissed->isChecked())
            continue;
        auto *item = new QTreeWidgetItem(groupFor(finding, groups), QStringList{shortMessage(finding)});
        item->setIcon(0, iconOf(finding.severity));
        item->setToolTip(0, finding.message);
        item->setData(0, findingRole, i);
        if (isDismissed)
            item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        item->setSelected(selected.contains(finding.message));
    }
    m_tree->expandAll();
    m_tree->verticalScrollBar()->setValue(scrolled);

    QStringList parts;
    if (counts[0])
        parts.append(counts[0] == 1 ? tr("1 error") : tr("%1 errors").arg(counts[0]));
    if (counts[1])
        parts.append(counts[1] == 1 ? tr("1 warning") : tr("%1 warnings").arg(counts[1]));
    if (counts[2])
        parts.append(counts[2] == 1 ? tr("1 note") : tr("%1 notes").arg(counts[2]));
    QString summary = !m_document ? tr("No pattern open.")
        : parts.isEmpty()         ? tr("No findings: the pattern checks clean.")
                                  : parts.join(QLatin1String(", "));
    if (hidden > 0)
        summary += QLatin1Char(' ') + (hidden == 1 ? tr("(1 dismissed)") : tr("(%1 dismissed)").arg(hidden));
    if (m_document && isChecking())
        summary = tr("Checking...");
    m_summary->setText(summary);
    updateButtons();
}

QList<int> PatternCheckPanel::selectedFindings() const
{
    QList<int> selected;
    for (const QTreeWidgetItem *item : m_tree->selectedItems()) {
        if (item->data(0, findingRole).isValid())
            selected.append(item->data(0, findingRole).toInt());
    }
    return selected;
}

// Restore when every finding selected is dismissed, else dismiss; the
// chart headings in a selection count for neither.
bool PatternCheckPanel::selectionIsDismissed() const
{
    const QList<int> selected = selectedFindings();
    if (selected.isEmpty() || !m_document)
        return false;
    const QSet<QString> dismissed = dismissedSet();
    return std::all_of(selected.cbegin(), selected.cend(),
                       [&](int index) { return dismissed.contains(m_findings.at(index).message); });
}

QSet<QString> PatternCheckPanel::dismissedSet() const
{
    const QStringList list = m_document ? m_document->dismissedFindings() : QStringList();
    return QSet<QString>(list.cbegin(), list.cend());
}

void PatternCheckPanel::updateButtons()
{
    m_dismiss->setEnabled(m_document && !selectedFindings().isEmpty());
    m_dismiss->setText(selectionIsDismissed() ? tr("Restore") : tr("Dismiss"));
}

void PatternCheckPanel::dismissSelected(bool dismiss)
{
    if (!m_document)
        return;
    QStringList dismissed = m_document->dismissedFindings();
    for (int index : selectedFindings()) {
        const QString &message = m_findings.at(index).message;
        if (dismiss && !dismissed.contains(message))
            dismissed.append(message);
        else if (!dismiss)
            dismissed.removeAll(message);
    }
    m_document->setDismissedFindings(dismissed);
}

// The chart of the finding comes to the front with its cells selected and
// in sight.
void PatternCheckPanel::showFinding(QTreeWidgetItem *item)
{
    if (!item || !item->data(0, findingRole).isValid() || !m_document)
        return;
    const PatternCheck::Finding &finding = m_findings.at(item->data(0, findingRole).toInt());
    const QList<Chart *> charts = m_document->charts();
    if (finding.chartIndex < 0 || finding.chartIndex >= charts.size())
        return;
    Chart *chart = charts.at(finding.chartIndex);
    m_document->tabWidget()->setCurrentWidget(chart);
    // The chart may have changed since the check; its cells are cut to it.
    chart->showCells(finding.cells & QRect(0, 0, chart->grid()->columnCount(), chart->grid()->rowCount()));
}
