// Printing a document: its Directions page, its key or some of its charts.

#include "document.h"

#include "chart.h"
#include "directions.h"

#include <QPainter>
#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QTabWidget>

#include <cmath>

// The key is laid out in screen pixels. On the printer it is drawn scaled
// from screen pixels, with fonts sized in pixels so that text and layout
// scale together; narrowed to the page if need be and continued on further
// pages when it is long.
void Document::printKey(QPainter *painter, QPrinter *printer) const
{
    const qreal screenDpi = 96.0;
    QFont font = QApplication::font();
    font.setPixelSize(qRound(font.pointSizeF() * screenDpi / 72.0));
    painter->setFont(font);
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QPainter measure(&scratch);
    measure.setFont(font);
    const QSize covered = stitchKey().size(measure.fontMetrics());
    measure.end();
    if (covered.isEmpty())
        return;

    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const qreal scale = qMin(printer->logicalDpiX() / screenDpi, page.width() / covered.width());
    const qreal sliceHeight = page.height() / scale;
    const int pages = qMax(1, int(std::ceil(covered.height() / sliceHeight)));
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        painter->save();
        painter->scale(scale, scale);
        painter->setClipRect(QRectF(0, 0, covered.width(), sliceHeight));
        painter->translate(0, -i * sliceHeight);
        paintKey(painter);
        painter->restore();
    }
}

void Document::setupPrinter(QPrinter *printer)
{
    // Half an inch on every side.
    printer->setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
}

void Document::print(QPrinter *printer, const QStringList &selection)
{
    turnOffHighlight();
    if (selection.isEmpty())
        return;
    if (selection.first() == tr("[Document]")) {
        for (Directions *page : directions())
            page->print(printer);
        return;
    }

    QPainter painter;
    if (!painter.begin(printer))
        return;
    if (selection.first() == tr("[Key]")) {
        printKey(&painter, printer);
        painter.end();
        return;
    }
    bool first = true;
    for (int i = 0; i < tabs->count(); ++i) {
        auto *chart = qobject_cast<Chart *>(tabs->widget(i));
        if (!chart || !selection.contains(tabs->tabText(i)))
            continue;
        if (!first)
            printer->newPage();
        chart->print(&painter);
        first = false;
    }
    painter.end();
}
