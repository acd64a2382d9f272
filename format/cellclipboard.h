#ifndef CELLCLIPBOARD_H
#define CELLCLIPBOARD_H

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QString>

class QMimeData;

// Chart cells on the clipboard: one record per copied cell (its offset from
// the first copied cell, stitch abbreviation, image index and colour),
// with no count and no header, under the program's own MIME type.
class CellClipboard
{
public:
    struct Record
    {
        QPoint offset;
        QString abbreviation;
        qint32 imgPos = 0;
        QColor color;
    };

    static QString mimeType();

    static QByteArray write(const QList<Record> &records);
    // Reads records until the data ends; a damaged record ends the list.
    static QList<Record> read(const QByteArray &bytes);

    static QMimeData *toMimeData(const QList<Record> &records);
    // Empty when the data holds no cells of ours.
    static QList<Record> fromMimeData(const QMimeData *data);
};

#endif // CELLCLIPBOARD_H
