#ifndef DIRECTIONSRECORD_H
#define DIRECTIONSRECORD_H

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class QDataStream;

// A picture the Directions page may show: its PNG bytes are what the
// record keeps, and their hash names the picture in the page's text.
struct DirectionsPicture
{
    QImage image;
    QByteArray png;
    QByteArray hash;

    static DirectionsPicture fromImage(const QImage &image);
};

// The Directions page as its record holds it.
struct DirectionsValues
{
    DirectionsValues();

    QString name;
    QString html;
    bool hasHtml = false;
    // In the order they came.
    QList<DirectionsPicture> pictures;
    // What went wrong reading the record, for the designer.
    QStringList errors;
};

// The Directions record of a pattern file: "<Directions>", the page's name
// and its text as HTML (in any order), then between "<ImgList>" and
// "</ImgList>" the PNG bytes of every picture the text shows, then
// "</Directions>". A picture is known to the text as "image://<hash>.png",
// the hash being the lower-case hexadecimal SHA-1 of its PNG bytes.
class DirectionsRecord
{
public:
    // Pictures the text no longer shows are left out.
    static bool write(QDataStream &out, const QString &name, const QString &html,
                      const QList<DirectionsPicture> &pictures);
    // From just after "<Directions>". Keeps what it read; a picture too
    // large to decode is left out with an error. The text comes bounded
    // (BoundedHtml), as the page can lay it out.
    static bool read(QDataStream &in, DirectionsValues &values);

    static QByteArray imageHash(const QImage &image);
    static QByteArray pngHash(const QByteArray &png);
    static QString imageName(const QByteArray &hash);
    static QByteArray pngBytes(const QImage &image);
};

#endif // DIRECTIONSRECORD_H
