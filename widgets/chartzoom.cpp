// How near the chart is seen: a scale of the view alone. Zooming is no
// edit; the cell size, which prints and saves, stays as it is, so zooming
// never makes an undo step or unsaved work.

#include "chart.h"

#include <QGraphicsView>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <iterator>

namespace {

// The steps of Zoom In and Zoom Out, in percent.
const int zoomSteps[] = {10, 15, 25, 33, 50, 67, 75, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};
const int leastZoom = zoomSteps[0];
const int mostZoom = zoomSteps[std::size(zoomSteps) - 1];

} // namespace

int Chart::zoom() const
{
    return m_zoom;
}

void Chart::setZoom(int percent)
{
    percent = qBound(leastZoom, percent, mostZoom);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    if (view)
        view->setTransform(QTransform::fromScale(percent / 100.0, percent / 100.0));
    Q_EMIT statusChanged();
}

void Chart::zoomIn()
{
    const int *next = std::upper_bound(std::begin(zoomSteps), std::end(zoomSteps), m_zoom);
    setZoom(next == std::end(zoomSteps) ? mostZoom : *next);
}

void Chart::zoomOut()
{
    const int *next = std::lower_bound(std::begin(zoomSteps), std::end(zoomSteps), m_zoom);
    setZoom(next == std::begin(zoomSteps) ? leastZoom : *(next - 1));
}

void Chart::zoomToFit()
{
    if (!view)
        return;
    const QRectF chart = view->sceneRect();
    const QSize room = view->maximumViewportSize();
    if (chart.isEmpty() || room.isEmpty())
        return;
    const qreal fit = std::min(room.width() / chart.width(), room.height() / chart.height());
    // Rounded down, so that no scroll bar comes.
    setZoom(int(fit * 100));
}

void Chart::actualSize()
{
    setZoom(100);
}

void Chart::zoomBy(int steps)
{
    for (; steps > 0; --steps)
        zoomIn();
    for (; steps < 0; ++steps)
        zoomOut();
}

// Row 1 is at the bottom and stitch 1 at the right: a chart is read from
// there, so that is what it opens on.
void Chart::scrollToStart()
{
    if (!view)
        return;
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
}
