// Printing a document: its Directions page, its key or some of its charts.

#include "document.h"

#include "chart.h"
#include "directions.h"
#include "directionsprinter.h"
#include "stitchkey.h"
#include "textedit.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTabWidget>

void Document::printKey(QPainter *painter, QPrinter *printer) const
{
    stitchKey().print(painter, printer);
}

PictureArtworks Document::pictureArtworks() const
{
    PictureArtworks artworks;
    for (Chart *chart : charts()) {
        if (!chart->hash.isEmpty()) {
            artworks.insert(Directions::imageName(chart->hash),
                            [chart](QPainter *painter, const QRectF &target) { chart->printPicture(painter, target); });
        }
    }
    if (!docKeyHash.isEmpty()) {
        const StitchKey key = stitchKey();
        artworks.insert(Directions::imageName(docKeyHash),
                        [key](QPainter *painter, const QRectF &target) { key.paint(painter, target); });
    }
    return artworks;
}

void Document::setupPrinter(QPrinter *printer, const QString &title)
{
    // Half an inch on every side.
    printer->setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    printer->setDocName(title);
    printer->setCreator(QCoreApplication::applicationName());
}

QString Document::patternTitle() const
{
    const QList<Directions *> pages = directions();
    const QString title =
        pages.isEmpty() ? QString() : DirectionsPrinter::titleOf(pages.first()->textEdit()->toPlainText());
    return title.isEmpty() ? QFileInfo(m_fileName).completeBaseName() : title;
}

void Document::print(QPrinter *printer, const QStringList &selection)
{
    turnOffHighlight();
    if (selection.isEmpty())
        return;
    if (selection.first() == tr("[Document]")) {
        // The drawings go where the pictures are: the pictures first follow
        // the charts and the key as they are now.
        updateDirImage();
        const PictureArtworks artworks = pictureArtworks();
        for (Directions *page : directions())
            page->print(printer, artworks);
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
        chart->printPages(&painter, printer);
        first = false;
    }
    painter.end();
}
