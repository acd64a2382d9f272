// Printing a document: its Directions page, its key or some of its charts.

#include "document.h"

#include "chart.h"
#include "directions.h"

#include <QPainter>
#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QTabWidget>


void Document::printKey(QPainter *painter, QPrinter *printer) const
{
    stitchKey().print(painter, printer);
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
