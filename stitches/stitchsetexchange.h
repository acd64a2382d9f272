#ifndef STITCHSETEXCHANGE_H
#define STITCHSETEXCHANGE_H

#include "stitchrecord.h"

#include <QByteArray>
#include <QDataStream>
#include <QList>
#include <QString>

class QIODevice;

// The stitch set exchange format (".set"): stitch records together with the
// image files of their cells, so that a stitch drawn with the user's own
// icons arrives complete on another machine. A big-endian Qt 4.5 data
// stream: magic, format version, then tagged records to the end of the file.
// Everything that knows this layout lives here.
class StitchSetExchange
{
public:
    static constexpr qint32 magicNumber = 0x2AC9863E;
    static constexpr qint32 formatVersion = 200910;

    enum Status {
        Ok,
        NotAStitchSet,
        NewerVersion,
        // A count or size that the rest of the file cannot hold, or a
        // record cut short.
        Damaged,
        UnreadableIcon,
        WriteFailed,
    };

    // An image file as a set carries it: its bare name and its bytes. The
    // catalogue keeps it (StitchSet::storeIncomingImage).
    struct Icon
    {
        QString fileName;
        QByteArray data;
    };

    // One stitch read from a set. Its images travel in `icons`;
    // `record.paths` stays empty until they are stored somewhere.
    struct Entry
    {
        StitchRecord record;
        QList<Icon> icons;
    };

    explicit StitchSetExchange(QIODevice *device);

    void writeHeader();
    // Writes one record carrying the files that `record.paths` name. When
    // one of them cannot be read nothing is written and `unreadable`
    // receives its path.
    Status writeStitch(const StitchRecord &record, QString *unreadable = nullptr);

    // Checks the magic and the version; older versions read like ours.
    Status readHeader();
    bool atEnd() const;
    // Reads the next record. On Damaged the file cannot be read further.
    Status readStitch(Entry &entry);

private:
    bool readAbbrivs(QStringList &abbrivs);
    bool readIcons(QList<Icon> &icons);

    QDataStream m_stream;
};

#endif // STITCHSETEXCHANGE_H
