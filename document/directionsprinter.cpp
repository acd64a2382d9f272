#include "directionsprinter.h"

#include "boundedhtml.h"
#include "pagedocument.h"
#include "preferences.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

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

// Whether a line of `block` holds a picture.
bool holdsPicture(const QTextBlock &block, const QTextLine &line)
{
    const int start = block.position() + line.textStart();
    const int end = start + line.textLength();
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QTextFragment piece = fragment.fragment();
        if (piece.position() < end && piece.position() + piece.length() > start && piece.charFormat().isImageFormat())
            return true;
    }
    return false;
}

// The first line of `block` with a picture that does not fit the rest of
// its page and would fit a page of its own; -1 when there is none. Each
// page keeps the document's margin at its top and foot, as the layout
// keeps it for text (which it moves itself); `moveBy` is how far the line
// moves to start the next page.
int firstCutLine(const QTextBlock &block, qreal pageHeight, qreal margin, qreal *moveBy)
{
    const QTextLayout *lines = block.layout();
    for (int i = 0; lines && i < lines->lineCount(); ++i) {
        const QTextLine line = lines->lineAt(i);
        if (!holdsPicture(block, line))
            continue;
        const qreal top = lines->position().y() + line.y();
        const qreal pageEnd = (std::floor(top / pageHeight) + 1) * pageHeight;
        if (line.height() <= pageHeight - 2 * margin && top + line.height() > pageEnd - margin + 0.5) {
            *moveBy = pageEnd + margin - top;
            return i;
        }
    }
    return -1;
}

// A line with a picture that does not fit the rest of its page starts on
// the next page, so that no page shows part of the picture: a paragraph's
// first line moves with its paragraph, a later one starts a paragraph of
// its own. Only a picture taller than a page is cut. The body is the
// printer's own copy of the page.
void keepLinesWhole(QTextDocument *body, qreal pageHeight)
{
    // Margins are in screen pixels; the layout is the printer's.
    const qreal scale = PageDocument::deviceScale(body);
    const qreal margin = body->documentMargin() * scale;
    for (QTextBlock block = body->begin(); block.isValid(); block = block.next()) {
        // Asking for the position lays the page out down to here, after
        // the blocks above moved.
        body->documentLayout()->blockBoundingRect(block);
        qreal moveBy = 0;
        const int cut = firstCutLine(block, pageHeight, margin, &moveBy);
        if (cut < 0)
            continue;
        QTextCursor cursor(block);
        if (cut > 0) {
            // The next round finds the new paragraph's first line cut.
            cursor.setPosition(block.position() + block.layout()->lineAt(cut).textStart());
            cursor.insertBlock();
            body->markContentsDirty(block.position(), body->characterCount() - block.position());
            continue;
        }
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(format.topMargin() + moveBy / scale);
        cursor.setBlockFormat(format);
        // The layout would otherwise leave what follows where it was.
        body->markContentsDirty(block.position(), body->characterCount() - block.position());
    }
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
    body->setPageSize(QSizeF(width, bodyHeight));
    body->setTextWidth(width);
    keepLinesWhole(body, bodyHeight);
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
