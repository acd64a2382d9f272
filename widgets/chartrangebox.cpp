#include "chartrangebox.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QWidget *fromTo(QSpinBox *first, QSpinBox *last)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(new QLabel(ChartRangeBox::tr("to")));
    layout->addWidget(last);
    layout->addStretch();
    return row;
}

} // namespace

ChartRangeBox::ChartRangeBox(QWidget *parent)
    : QGroupBox(tr("Part of the Chart Only"), parent)
    , m_firstRow(new QSpinBox)
    , m_lastRow(new QSpinBox)
    , m_firstStitch(new QSpinBox)
    , m_lastStitch(new QSpinBox)
{
    setCheckable(true);
    setChecked(false);
    auto *form = new QFormLayout(this);
    form->addRow(tr("Rows:"), fromTo(m_firstRow, m_lastRow));
    form->addRow(tr("Stitches:"), fromTo(m_firstStitch, m_lastStitch));
    // The last of a range never lies before its first.
    connect(m_firstRow, &QSpinBox::valueChanged, m_lastRow, [this](int row) { m_lastRow->setMinimum(row); });
    connect(m_firstStitch, &QSpinBox::valueChanged, m_lastStitch,
            [this](int stitch) { m_lastStitch->setMinimum(stitch); });
    for (QSpinBox *box : {m_firstRow, m_lastRow, m_firstStitch, m_lastStitch})
        connect(box, &QSpinBox::valueChanged, this, &ChartRangeBox::cellsChanged);
    connect(this, &QGroupBox::toggled, this, &ChartRangeBox::cellsChanged);
}

void ChartRangeBox::setChart(int columns, int rows, const QRect &cells)
{
    m_columns = qMax(1, columns);
    m_rows = qMax(1, rows);
    const QRect whole(0, 0, m_columns, m_rows);
    const QRect part = cells & whole;
    const QRect shown = part.isEmpty() ? whole : part;
    const QSignalBlocker blocker(this);
    for (QSpinBox *box : {m_firstRow, m_lastRow})
        box->setRange(1, m_rows);
    for (QSpinBox *box : {m_firstStitch, m_lastStitch})
        box->setRange(1, m_columns);
    m_firstRow->setValue(m_rows - shown.bottom());
    m_lastRow->setValue(m_rows - shown.top());
    m_firstStitch->setValue(m_columns - shown.right());
    m_lastStitch->setValue(m_columns - shown.left());
    setChecked(shown != whole);
}

QRect ChartRangeBox::cells() const
{
    if (!isChecked() || m_columns == 0)
        return QRect();
    const QRect part(m_columns - m_lastStitch->value(), m_rows - m_lastRow->value(),
                     m_lastStitch->value() - m_firstStitch->value() + 1, m_lastRow->value() - m_firstRow->value() + 1);
    return part == QRect(0, 0, m_columns, m_rows) ? QRect() : part;
}
