#include "chartpages.h"

#include "chartgrid.h"
#include "chartpicture.h"

#include <QCoreApplication>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>

ChartPages::ChartPages(const ChartGrid &grid, const ChartStyle &style, const QSizeF &page, qreal dpi, int overlap)
    : m_grid(grid)
    , m_style(style)
    , m_page(page)
    , m_dpi(dpi)
{
    m_style.vectorSymbols = true;
    const ChartLayout layout(grid);
    const QSize cell = layout.cellSize();
    const int columns = grid.columnCount();
    const int rows = grid.rowCount();
    const QRectF whole = layout.sceneRect();
    const qreal fit = qMin(page.width() / whole.width(), page.height() / whole.height());
    const qreal smallest = smallestCell * dpi / qMax(1, qMin(cell.width(), cell.height()));
    if (columns == 0 || rows == 0 || page.isEmpty() || fit >= smallest) {
        m_parts.append(QRect(0, 0, columns, rows));
        return;
    }

    m_split = true;
    const QSizeF frame = ChartPicture::partSize(grid, m_style, QRect());
    const qreal room = page.height() - captionHeight();
    // Cells far from square: the page takes at least one whole cell and its
    // numbers either way.
    m_scale = qMin(smallest, qMin(page.width() / (frame.width() + cell.width()),
                                  room / (frame.height() + cell.height())));
    const int across = qMax(1, int((page.width() / m_scale - frame.width()) / cell.width()));
    const int down = qMax(1, int((room / m_scale - frame.height()) / cell.height()));
    const QList<QPair<int, int>> rowBands = bands(rows, down, overlap);
    const QList<QPair<int, int>> stitchBands = bands(columns, across, overlap);
    if (qint64(rowBands.size()) * stitchBands.size() > mostPages) {
        // No one prints this many pages: the whole chart on one.
        m_split = false;
        m_scale = fit;
        m_parts.append(QRect(0, 0, columns, rows));
        return;
    }
    // Counted from row 1 at the bottom and stitch 1 at the right.
    for (const auto &[row, height] : rowBands) {
        for (const auto &[stitch, width] : stitchBands)
            m_parts.append(QRect(columns - stitch - width, rows - row - height, width, height));
    }
}

QList<QPair<int, int>> ChartPages::bands(int count, int size, int overlap)
{
    overlap = qBound(0, overlap, size - 1);
    // As few bands as hold the slots, all about as large: not a full page
    // and then a page of three rows.
    const int bands = count <= size ? 1 : 1 + (count - overlap - 1) / (size - overlap);
    const int even = (count + (bands - 1) * overlap + bands - 1) / bands;
    QList<QPair<int, int>> list;
    for (int band = 0; band < bands; ++band) {
        const int start = band * (even - overlap);
        list.append({start, qMin(even, count - start)});
    }
    return list;
}

qreal ChartPages::captionHeight() const
{
    return m_split ? 0.35 * m_dpi : 0.0;
}

QString ChartPages::caption(int index, const QString &title) const
{
    const QRect cells = m_parts.at(index);
    const ChartOptions &options = m_grid.options();
    const int rows = m_grid.rowCount();
    const int columns = m_grid.columnCount();
    const QString text = QCoreApplication::translate("Chart", "rows %1\u2013%2, stitches %3\u2013%4 (page %5 of %6)")
                             .arg(options.shownRowNumber(rows - cells.bottom()))
                             .arg(options.shownRowNumber(rows - cells.top()))
                             .arg(columns - cells.right() + options.columnNumberOffset)
                             .arg(columns - cells.left() + options.columnNumberOffset)
                             .arg(index + 1)
                             .arg(count());
    if (title.trimmed().isEmpty())
        return text.at(0).toUpper() + text.mid(1);
    return title.trimmed() + QStringLiteral(", ") + text;
}

void ChartPages::paint(QPainter *painter, int index, const QString &title) const
{
    painter->save();
    if (!m_split) {
        ChartPicture::print(painter, m_grid, m_style, QRectF(QPointF(0, 0), m_page));
    } else {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(10);
        painter->setFont(font);
        painter->setPen(Qt::black);
        // A long title is shortened, never run off the paper.
        const QString text = painter->fontMetrics().elidedText(caption(index, title), Qt::ElideMiddle,
                                                               int(m_page.width()));
        painter->drawText(QRectF(0, 0, m_page.width(), captionHeight()), Qt::AlignLeft | Qt::AlignTop, text);
        ChartPicture::paintPart(painter, m_grid, m_style, m_parts.at(index), QPointF(0, captionHeight()), m_scale);
    }
    painter->restore();
}

int ChartPages::print(QPainter *painter, QPagedPaintDevice *device, const ChartGrid &grid, const ChartStyle &style,
                      const QString &title, int overlap)
{
    const ChartPages pages(grid, style, QSizeF(device->width(), device->height()), device->logicalDpiY(), overlap);
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0)
            device->newPage();
        pages.paint(painter, i, title);
    }
    return pages.count();
}
