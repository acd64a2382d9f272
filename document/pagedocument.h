#ifndef PAGEDOCUMENT_H
#define PAGEDOCUMENT_H

#include <QSet>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QUrl>

// A rich-text document that shows only the images registered with it by
// addResource(). Its HTML comes from pattern files other people send, so
// nothing it names is fetched: no local file, no style sheet, no URL.
class PageDocument : public QTextDocument
{
    Q_OBJECT

public:
    explicit PageDocument(QObject *parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QSet<QUrl> m_refused;
};

// Lays out and draws the images of a page from the document's registered
// resources alone. It stands in for Qt's own image handler, which reads
// any file an image names when no resource answers.
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
