#include "insertchartdialog.h"

#include "chartpicture.h"
#include "chartrangebox.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

InsertChartDialog::InsertChartDialog(const QStringList &charts, QWidget *parent)
    : QDialog(parent)
    , m_width(new QDoubleSpinBox)
    , m_height(new QDoubleSpinBox)
    , m_range(new ChartRangeBox)
    , m_list(new QListWidget)
    , m_charts(charts)
{
    setWindowTitle(tr("Insert Chart"));
    for (QDoubleSpinBox *box : {m_width, m_height}) {
        box->setRange(ChartPicture::leastInches, ChartPicture::mostInches);
        box->setDecimals(1);
    }
    m_width->setValue(6.5);
    m_height->setValue(9.0);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(24, 24));
    QList<int> indexes;
    for (int i = 0; i < charts.size(); ++i)
        indexes.append(i);
    setTabIndexes(indexes);

    auto *size = new QFormLayout;
    size->addRow(tr("Width (in inches):"), m_width);
    size->addRow(tr("Height (in inches):"), m_height);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, &InsertChartDialog::showPart);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Maximum Chart Size:")));
    layout->addLayout(size);
    layout->addWidget(m_list);
    layout->addWidget(m_range);
    layout->addWidget(buttons);
    showPart();
}

void InsertChartDialog::setChartParts(const QList<const ChartGrid *> &grids, const QList<QRect> &parts)
{
    m_grids = grids;
    m_parts = parts;
    showPart();
}

// The range box follows the chart chosen, and only a chart's picture
// takes a part.
void InsertChartDialog::showPart()
{
    const int row = m_list->currentRow();
    const int chart = row / 2;
    const bool picture = row >= 0 && row % 2 == 0 && chart < m_charts.size() && chart < m_grids.size();
    m_range->setEnabled(picture);
    if (picture)
        m_range->setChart(*m_grids.at(chart), m_parts.value(chart));
}

QRect InsertChartDialog::cells() const
{
    return m_range->isEnabled() ? m_range->cells() : QRect();
}

void InsertChartDialog::setTabIndexes(const QList<int> &indexes)
{
    m_list->clear();
    for (int i = 0; i < m_charts.size() && i < indexes.size(); ++i) {
        auto *chart = new QListWidgetItem(QIcon(QStringLiteral(":/images/grid.svg")), tr("%1: Chart").arg(m_charts.at(i)),
                                          m_list);
        chart->setData(Qt::UserRole, QStringLiteral("Chart:%1").arg(indexes.at(i)));
        auto *text = new QListWidgetItem(QIcon(QStringLiteral(":/images/instructions.svg")),
                                         tr("%1: Instructions").arg(m_charts.at(i)), m_list);
        text->setData(Qt::UserRole, QStringLiteral("Instructions:%1").arg(indexes.at(i)));
    }
    auto *key = new QListWidgetItem(QIcon(QStringLiteral(":/images/key.svg")), tr("Document Key"), m_list);
    key->setData(Qt::UserRole, QStringLiteral("Document Key"));
    m_list->setCurrentRow(0);
}

QString InsertChartDialog::choice() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

double InsertChartDialog::widthInches() const
{
    return m_width->value();
}

double InsertChartDialog::heightInches() const
{
    return m_height->value();
}
