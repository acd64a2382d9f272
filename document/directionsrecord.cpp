// The pictures of the Directions page, its record in the pattern file and
// its printing.

#include "directions.h"

#include "directionsprinter.h"
#include "pagedocument.h"
#include "recordstream.h"
#include "settings.h"
#include "textedit.h"
#include "textundostack.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QPrinter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextCursor>

namespace {

const QString directionsStart = QStringLiteral("<Directions>");
const QString directionsEnd = QStringLiteral("</Directions>");
const QString nameTag = QStringLiteral("Name:");
const QString htmlTag = QStringLiteral("Html:");
const QString imagesStart = QStringLiteral("<ImgList>");
const QString imagesEnd = QStringLiteral("</ImgList>");
const QString imageTag = QStringLiteral("ImageData:");

// Far beyond any page or picture a designer makes; what is left of the
// file bounds the reading first.
const quint32 largestHtml = 1u << 28;
const quint32 largestPng = 1u << 28;
// A few bytes of PNG can stand for a huge picture; all the pictures of one
// record together get no more memory than this.
const qint64 pictureMemory = qint64(1) << 30;

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray sha1Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// Decodes a picture whose size, at four bytes a pixel, fits the memory
// left; `memoryLeft` shrinks by what the picture takes.
QImage decodePng(const QByteArray &png, qint64 &memoryLeft)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    const QSize size = reader.size();
    if (!size.isValid())
        return QImage();
    if (4 * qint64(size.width()) * size.height() > memoryLeft) {
        qWarning("A picture of %d x %d pixels in the Directions is too large to show", size.width(), size.height());
        return QImage();
    }
    const QImage image = reader.read();
    memoryLeft -= image.sizeInBytes();
    return image;
}

} // namespace

QByteArray Directions::imageHash(const QImage &image)
{
    return sha1Hex(pngBytes(image));
}

QString Directions::imageName(const QByteArray &hash)
{
    return QStringLiteral("image://%1.png").arg(QString::fromLatin1(hash));
}

QList<QImage> Directions::images() const
{
    QList<QImage> list;
    list.reserve(m_images.size());
    for (const Picture &picture : m_images)
        list.append(picture.image);
    return list;
}

void Directions::addPicture(const Picture &picture)
{
    m_images.append(picture);
    m_textEdit->document()->addResource(QTextDocument::ImageResource, QUrl(imageName(picture.hash)),
                                        picture.image);
}

void Directions::registerImages(QTextDocument *doc) const
{
    for (const Picture &picture : m_images)
        doc->addResource(QTextDocument::ImageResource, QUrl(imageName(picture.hash)), picture.image);
}

void Directions::insertImage()
{
    QString folder = Settings::instance()->value(QStringLiteral("defaultFileLocation"), QString()).toString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("Insert Image"), folder,
        tr("All Image Files (*.jpg *.jpeg *.gif *.png *.svg *.svgz *.bmp *.tiff)"));
    if (fileName.isEmpty())
        return;
    // A picture that cannot be read could never be written into the
    // pattern file either.
    QImageReader reader(fileName);
    const QImage image = reader.read();
    if (image.isNull()) {
        QMessageBox::warning(this, tr("Insert Image"),
                             tr("The image %1 could not be read: %2")
                                 .arg(QDir::toNativeSeparators(fileName), reader.errorString()));
        return;
    }
    insertChartImage(image);
}

void Directions::insertChartImage(const QImage &image)
{
    if (image.isNull()) {
        qWarning() << "Directions: an empty picture is not inserted";
        return;
    }
    const QByteArray png = pngBytes(image);
    const Picture picture{image, png, sha1Hex(png)};
    addPicture(picture);
    m_textEdit->textCursor().insertImage(imageName(picture.hash));
}

void Directions::updateImage(const QByteArray &oldHash, const QByteArray &newHash, const QImage &image)
{
    if (image.isNull()) {
        qWarning() << "Directions: an empty picture does not replace" << oldHash;
        return;
    }
    addPicture(Picture{image, pngBytes(image), newHash});
    QString html = m_textEdit->toHtml();
    const QString oldName = imageName(oldHash);
    if (!html.contains(oldName))
        return;
    html.replace(oldName, imageName(newHash));

    // Setting the text anew would mark the page as saved and move to its
    // top; a new picture changes neither.
    const bool modified = isModified();
    const int position = m_textEdit->textCursor().position();
    const int scroll = m_textEdit->verticalScrollBar()->value();
    m_textEdit->setHtml(html);
    // The text's own history went with the old text.
    m_undoStack->clear();
    m_textEdit->relayout();
    setModified(modified);
    QTextCursor cursor = m_textEdit->textCursor();
    cursor.setPosition(qMin(position, m_textEdit->document()->characterCount() - 1));
    m_textEdit->setTextCursor(cursor);
    m_textEdit->verticalScrollBar()->setValue(scroll);
}

void Directions::loadImages()
{
    registerImages(m_textEdit->document());
    m_textEdit->relayout();
}

// Pictures are written once per entry of the list, and only those the
// text still shows.
bool Directions::save(QDataStream &out) const
{
    const QString html = m_textEdit->toHtml();
    out << directionsStart << nameTag << m_name << htmlTag << html << imagesStart;
    for (const Picture &picture : m_images) {
        if (html.contains(imageName(picture.hash)))
            out << imageTag << picture.png;
    }
    out << imagesEnd << directionsEnd;
    return out.status() == QDataStream::Ok;
}

bool Directions::loadDirections(QDataStream &in)
{
    m_loadErrors.clear();
    QString token;
    QString html;
    const bool hasHtml = readHeader(in, token, html);
    if (token != imagesStart)
        addLoadError(tr("Missing Document Images"));
    readImages(in, token);
    if (token != imagesEnd)
        addLoadError(tr("Missing end of Document image list"));
    // The text comes last, so that it finds its pictures as it is laid out.
    loadImages();
    if (hasHtml) {
        m_textEdit->setHtml(html);
        m_undoStack->clear();
        updatePageSize();
    }
    if (!RecordStream::readString(in, token) || token != directionsEnd)
        addLoadError(tr("Missing End of Document"));

    if (m_loadErrors.isEmpty())
        return true;
    m_loadErrors.prepend(tr("Error Loading File"));
    qDebug() << "Error loading document in pattern file";
    return false;
}

// Name and text in any order; the first other tag is left in `token`.
bool Directions::readHeader(QDataStream &in, QString &token, QString &html)
{
    bool hasHtml = false;
    while (RecordStream::readString(in, token)) {
        if (token == nameTag)
            RecordStream::readString(in, m_name);
        else if (token == htmlTag)
            hasHtml = RecordStream::readString(in, html, largestHtml);
        else
            break;
    }
    return hasHtml;
}

// The pictures' names are the hashes of their stored bytes, just as when
// they were written.
void Directions::readImages(QDataStream &in, QString &token)
{
    qint64 memoryLeft = pictureMemory;
    while (RecordStream::readString(in, token) && token == imageTag) {
        QByteArray png;
        RecordStream::readBytes(in, png, largestPng);
        const QImage image = decodePng(png, memoryLeft);
        if (image.isNull())
            addLoadError(tr("Error loading document image from file"));
        else
            m_images.append(Picture{image, png, sha1Hex(png)});
        if (in.atEnd())
            addLoadError(tr("Error loading document images - unexpected end of file"));
    }
}

// The page is printed from a copy laid out for the printer, with its
// footers; the copy too shows only the page's own pictures.
void Directions::print(QPrinter *printer)
{
    if (!printer)
        return;
    PageDocument page;
    registerImages(&page);
    page.setDefaultFont(m_textEdit->document()->defaultFont());
    page.setHtml(m_textEdit->toHtml());
    DirectionsPrinter::print(&page, printer);
}
