#include "directionsprinter.h"

#include "boundedhtml.h"
#include "pagedocument.h"
#include "preferences.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <cmath>
#include <memory>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Directions", text);
}

std::unique_ptr<QTextDocument> footer(const QString &html, QPrinter *printer, qreal width,
                                      const QString &styleSheet = QString())
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(printer);
    if (!styleSheet.isEmpty())
        doc->setDefaultStyleSheet(styleSheet);
    doc->setHtml(html);
    doc->setTextWidth(width);
    return doc;
}

void drawAt(QPainter *painter, QTextDocument *doc, qreal y)
{
    painter->save();
    painter->translate(0, y);
    doc->drawContents(painter);
    painter->restore();
}

} // namespace

int DirectionsPrinter::print(QTextDocument *body, QPrinter *printer)
{
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const qreal width = page.width();

    std::unique_ptr<QTextDocument> custom;
    const QString customHtml = Preferences::customFooter.value();
    if (!customHtml.isEmpty())
        custom = footer(BoundedHtml::bound(customHtml), printer, width);
    std::unique_ptr<QTextDocument> credit;
    if (Preferences::showDesignedFooter.value()) {
        const QString domain = QCoreApplication::organizationDomain();
        const QString link = QStringLiteral("<a href=\"http://%1\">%1</a>").arg(domain);
        credit = footer(tr("Designed with %1 (%2)").arg(QCoreApplication::applicationName(), link), printer, width);
    }
    const QString pageStyle = QStringLiteral("* {text-align: right}");
    const auto pageNumber = footer(tr("Page 1 of 100"), printer, width, pageStyle);

    qreal footers = std::round(pageNumber->size().height());
    for (const auto &doc : {custom.get(), credit.get()}) {
        if (doc)
            footers += std::round(doc->size().height());
    }
    const qreal bodyHeight = qMax<qreal>(1.0, page.height() - footers);

    body->documentLayout()->setPaintDevice(printer);
    // The page size sets the width too; setting the width alone would
    // unpage the body, and lines would be cut at the foot of each page.
    body->setPageSize(QSizeF(width, bodyHeight));
    const int pages = qMax(1, int(std::ceil(body->size().height() / bodyHeight)));

    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    for (int number = 1; number <= pages; ++number) {
        const qreal top = (number - 1) * bodyHeight;
        painter.save();
        painter.setClipRect(QRectF(0, 0, width, bodyHeight));
        painter.translate(0, -top);
        body->drawContents(&painter, QRectF(0, top, width, bodyHeight));
        painter.restore();

        qreal y = bodyHeight;
        for (QTextDocument *doc : {custom.get(), credit.get()}) {
            if (!doc)
                continue;
            drawAt(&painter, doc, y);
            y += std::round(doc->size().height());
        }
        const auto pageLine = footer(tr("<p align=\"right\">Page %1 of %2</p>").arg(number).arg(pages), printer,
                                    width, pageStyle);
        drawAt(&painter, pageLine.get(), y);
        if (number < pages)
            printer->newPage();
    }
    painter.end();
    return pages;
}

int DirectionsPrinter::print(const QString &html, const QList<DirectionsPicture> &pictures, QPrinter *printer,
                             const PictureArtworks &artworks)
{
    PageDocument page;
    page.setArtworks(artworks);
    for (const DirectionsPicture &picture : pictures)
        page.addResource(QTextDocument::ImageResource, QUrl(DirectionsRecord::imageName(picture.hash)), picture.image);
    page.setDefaultFont(pageFont());
    page.setHtml(BoundedHtml::bound(html));
    return print(&page, printer);
}

QFont DirectionsPrinter::pageFont()
{
    return QFont(QStringLiteral("Arial"), 12);
}

QString DirectionsPrinter::titleOf(const QString &plainText)
{
    // A title is one line; a page that starts with a wall of text has
    // none worth the name.
    constexpr int longestTitle = 200;
    for (const QString &line : plainText.split(QLatin1Char('\n'))) {
        const QString title = line.simplified();
        if (!title.isEmpty())
            return title.size() <= longestTitle ? title : QString();
    }
    return QString();
}
