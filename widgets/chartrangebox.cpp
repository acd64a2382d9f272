#include "chartrangebox.h"

#include "chartgrid.h"

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
    // A number no charted row carries (with every second row charted)
    // becomes that of the row it stands for.
    for (QSpinBox *box : {m_firstRow, m_lastRow})
        connect(box, &QSpinBox::editingFinished, this,
                [this, box] { box->setValue(m_numbering.shownRowNumber(rowOf(box))); });
    for (QSpinBox *box : {m_firstRow, m_lastRow, m_firstStitch, m_lastStitch})
        connect(box, &QSpinBox::valueChanged, this, &ChartRangeBox::cellsChanged);
    connect(this, &QGroupBox::toggled, this, &ChartRangeBox::cellsChanged);
}

void ChartRangeBox::setChart(const ChartGrid &grid, const QRect &cells)
{
    m_columns = qMax(1, grid.columnCount());
    m_rows = qMax(1, grid.rowCount());
    m_numbering = grid.options();
    const QRect whole(0, 0, m_columns, m_rows);
    const QRect part = cells & whole;
    const QRect shown = part.isEmpty() ? whole : part;
    const QSignalBlocker blocker(this);
    for (QSpinBox *box : {m_firstRow, m_lastRow}) {
        box->setRange(m_numbering.shownRowNumber(1), m_numbering.shownRowNumber(m_rows));
        box->setSingleStep(m_numbering.skipRows ? 2 : 1);
    }
    for (QSpinBox *box : {m_firstStitch, m_lastStitch})
        box->setRange(m_numbering.shownStitchNumber(1), m_numbering.shownStitchNumber(m_columns));
    m_firstRow->setValue(m_numbering.shownRowNumber(m_rows - shown.bottom()));
    m_lastRow->setValue(m_numbering.shownRowNumber(m_rows - shown.top()));
    m_firstStitch->setValue(m_numbering.shownStitchNumber(m_columns - shown.right()));
    m_lastStitch->setValue(m_numbering.shownStitchNumber(m_columns - shown.left()));
    setChecked(shown != whole);
}

int ChartRangeBox::rowOf(const QSpinBox *box) const
{
    return qBound(1, m_numbering.rowNumbered(box->value()), m_rows);
}

int ChartRangeBox::stitchOf(const QSpinBox *box) const
{
    return box->value() - m_numbering.columnNumberOffset;
}

QRect ChartRangeBox::cells() const
{
    if (!isChecked() || m_columns == 0)
        return QRect();
    const int lastStitch = stitchOf(m_lastStitch);
    const int lastRow = rowOf(m_lastRow);
    const QRect part(m_columns - lastStitch, m_rows - lastRow, lastStitch - stitchOf(m_firstStitch) + 1,
                     lastRow - rowOf(m_firstRow) + 1);
    return part == QRect(0, 0, m_columns, m_rows) ? QRect() : part;
}
