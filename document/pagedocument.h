#ifndef PAGEDOCUMENT_H
#define PAGEDOCUMENT_H

#include <QHash>
#include <QSet>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QUrl>

#include <functional>

// Draws a picture of the page anew into the place the page gives it: a
// chart or the key as lines and shapes, sharp in print, where the page on
// screen shows their picture.
using PictureArtwork = std::function<void(QPainter *painter, const QRectF &target)>;
// The artwork of pictures, by the name the page knows the picture by.
using PictureArtworks = QHash<QString, PictureArtwork>;

// A rich-text document that shows only the images registered with it by
// addResource(). Its HTML comes from pattern files other people send, so
// nothing it names is fetched: no local file, no style sheet, no URL.
class PageDocument : public QTextDocument
{
    Q_OBJECT

public:
    explicit PageDocument(QObject *parent = nullptr);

    // Pictures with artwork are drawn from it, in the place and size their
    // picture takes; the others as pictures.
    void setArtworks(const PictureArtworks &artworks) { m_artworks = artworks; }
    const PictureArtworks &artworks() const { return m_artworks; }

    // Images and margins are sized in screen pixels; a printer lays the
    // page out in its own, finer ones: so many to a screen pixel.
    static qreal deviceScale(QTextDocument *doc);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QSet<QUrl> m_refused;
    PictureArtworks m_artworks;
};

// Lays out and draws the images of a page from the document's registered
// resources alone. It stands in for Qt's own image handler, which reads
// any file an image names when no resource answers. On a paged document
// no picture is taller than a page.
class PageImageHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int posInDocument,
                    const QTextFormat &format) override;

private:
    static QImage registeredImage(QTextDocument *doc, const QTextFormat &format);
};

#endif // PAGEDOCUMENT_H
