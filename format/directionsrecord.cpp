#include "directionsrecord.h"

#include "boundedhtml.h"
#include "recordstream.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QImageReader>

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

QString tr(const char *text)
{
    return QCoreApplication::translate("Directions", text);
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

// Name and text in any order; the first other tag is left in `token`.
bool readHeader(QDataStream &in, QString &token, DirectionsValues &values)
{
    bool hasHtml = false;
    RecordStream::readTags(in,
                           {{nameTag, [&] { return RecordStream::readString(in, values.name); }},
                            {htmlTag, [&] { return hasHtml = RecordStream::readString(in, values.html, largestHtml); }}},
                           token);
    return hasHtml;
}

// The text as the page can lay it out in time. Only a page too long to
// show whole loses anything, and the designer is told.
void boundHtml(DirectionsValues &values)
{
    BoundedHtml::Changes changes;
    values.html = BoundedHtml::bound(values.html, &changes);
    if (changes.cut > 0)
        values.errors.append(tr("The Directions page is too long to show whole: its last %1 characters were left out")
                                 .arg(changes.cut));
}

// The pictures' names are the hashes of their stored bytes, just as when
// they were written.
void readPictures(QDataStream &in, QString &token, DirectionsValues &values)
{
    qint64 memoryLeft = pictureMemory;
    while (RecordStream::readString(in, token) && token == imageTag) {
        QByteArray png;
        RecordStream::readBytes(in, png, largestPng);
        const QImage image = decodePng(png, memoryLeft);
        if (image.isNull())
            values.errors.append(tr("Error loading document image from file"));
        else
            values.pictures.append(DirectionsPicture{image, png, DirectionsRecord::pngHash(png)});
        if (in.atEnd())
            values.errors.append(tr("Error loading document images - unexpected end of file"));
    }
}

} // namespace

DirectionsValues::DirectionsValues()
    : name(tr("Document"))
{
}

DirectionsPicture DirectionsPicture::fromImage(const QImage &image)
{
    const QByteArray png = DirectionsRecord::pngBytes(image);
    return DirectionsPicture{image, png, DirectionsRecord::pngHash(png)};
}

QByteArray DirectionsRecord::pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray DirectionsRecord::pngHash(const QByteArray &png)
{
    return QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex();
}

QByteArray DirectionsRecord::imageHash(const QImage &image)
{
    return pngHash(pngBytes(image));
}

QString DirectionsRecord::imageName(const QByteArray &hash)
{
    return QStringLiteral("image://%1.png").arg(QString::fromLatin1(hash));
}

bool DirectionsRecord::write(QDataStream &out, const QString &name, const QString &html,
                             const QList<DirectionsPicture> &pictures)
{
    out << directionsStart << nameTag << name << htmlTag << html << imagesStart;
    // Pictures are written once per entry of the list, and only those the
    // text still shows.
    for (const DirectionsPicture &picture : pictures) {
        if (html.contains(imageName(picture.hash)))
            out << imageTag << picture.png;
    }
    out << imagesEnd << directionsEnd;
    return out.status() == QDataStream::Ok;
}

bool DirectionsRecord::read(QDataStream &in, DirectionsValues &values)
{
    values.errors.clear();
    QString token;
    values.hasHtml = readHeader(in, token, values);
    boundHtml(values);
    if (token != imagesStart)
        values.errors.append(tr("Missing Document Images"));
    readPictures(in, token, values);
    if (token != imagesEnd)
        values.errors.append(tr("Missing end of Document image list"));
    if (!RecordStream::readString(in, token) || token != directionsEnd)
        values.errors.append(tr("Missing End of Document"));

    if (values.errors.isEmpty())
        return true;
    values.errors.prepend(tr("Error Loading File"));
    qDebug() << "Error loading document in pattern file";
    return false;
}
