#include "pagedocument.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTextImageFormat>

namespace {

// A picture that names no registered image keeps this size...
const QSizeF missingImageSize(16, 16);
// ...and none grows beyond this, whatever sizes the HTML asks for.
const qreal largestImageSide = 100000;
// Names may be whole data URLs; the log gets their start.
const int longestLoggedName = 100;

} // namespace

qreal PageDocument::deviceScale(QTextDocument *doc)
{
    const QPaintDevice *device = doc->documentLayout()->paintDevice();
    if (!device)
        return 1.0;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal screenDpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return device->logicalDpiY() / screenDpi;
}

PageDocument::PageDocument(QObject *parent)
    : QTextDocument(parent)
{
    documentLayout()->registerHandler(QTextFormat::ImageObject, new PageImageHandler(this));
}

QVariant PageDocument::loadResource(int type, const QUrl &name)
{
    Q_UNUSED(type);
    if (!m_refused.contains(name)) {
        m_refused.insert(name);
        QString shown = name.toDisplayString();
        if (shown.size() > longestLoggedName)
            shown = shown.left(longestLoggedName) + QStringLiteral("...");
        qWarning("The page does not load %s: it shows only what its pattern file holds", qPrintable(shown));
    }
    return QVariant();
}

QImage PageImageHandler::registeredImage(QTextDocument *doc, const QTextFormat &format)
{
    const QUrl name(format.toImageFormat().name());
    if (name.isEmpty())
        return QImage();
    return doc->resource(QTextDocument::ImageResource, name).value<QImage>();
}

// Sizes follow the HTML's width and height where given, keeping the
// picture's proportions where only one is.
QSizeF PageImageHandler::intrinsicSize(QTextDocument *doc, int, const QTextFormat &format)
{
    const QTextImageFormat imageFormat = format.toImageFormat();
    const QImage image = registeredImage(doc, format);
    const QSizeF natural = image.isNull() ? missingImageSize : QSizeF(image.size());
    const bool hasWidth = imageFormat.hasProperty(QTextFormat::ImageWidth);
    const bool hasHeight = imageFormat.hasProperty(QTextFormat::ImageHeight);
    QSizeF size = natural;
    if (hasWidth && hasHeight)
        size = QSizeF(imageFormat.width(), imageFormat.height());
    else if (hasWidth && natural.width() > 0)
        size = QSizeF(imageFormat.width(), imageFormat.width() * natural.height() / natural.width());
    else if (hasHeight && natural.height() > 0)
        size = QSizeF(imageFormat.height() * natural.width() / natural.height(), imageFormat.height());
    size *= PageDocument::deviceScale(doc);
    // A picture taller than a page is made nearly as tall as a page (its
    // line adds the text's descent below it), so that it prints whole.
    const qreal room =
        0.95 * (doc->pageSize().height() - 2 * doc->documentMargin() * PageDocument::deviceScale(doc));
    if (doc->pageSize().height() > 0 && room > 0 && size.height() > room)
        size *= room / size.height();
    return QSizeF(qBound(0.0, size.width(), largestImageSide), qBound(0.0, size.height(), largestImageSide));
}

void PageImageHandler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int,
                                  const QTextFormat &format)
{
    if (auto *page = qobject_cast<PageDocument *>(doc)) {
        const auto artwork = page->artworks().constFind(format.toImageFormat().name());
        if (artwork != page->artworks().constEnd()) {
            painter->save();
            painter->setClipRect(rect, Qt::IntersectClip);
            painter->fillRect(rect, Qt::white);
            artwork.value()(painter, rect);
            painter->restore();
            return;
        }
    }
    const QImage image = registeredImage(doc, format);
    if (!image.isNull()) {
        painter->drawImage(rect, image);
        return;
    }
    painter->save();
    painter->setPen(Qt::lightGray);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    painter->restore();
}
