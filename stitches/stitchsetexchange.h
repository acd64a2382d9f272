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
//
// A set is written in the oldest version that carries all it holds: one
// whose stitches all work 1 and make 1 exactly as earlier versions wrote
// it, so that they can still read it.
class StitchSetExchange
{
public:
    static constexpr qint32 magicNumber = 0x2AC9863E;
    // Sets without the stitches' arithmetic.
    static constexpr qint32 plainVersion = 200910;
    // The newest version: records may carry how many stitches a stitch
    // works and makes. Sets of a newer version are refused.
    static constexpr qint32 formatVersion = 200911;

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

    // The oldest version that carries everything `records` hold.
    static qint32 versionFor(const QList<StitchRecord> &records);

    // Writes a whole set of `records` in versionFor() them, each carrying
    // the files that its paths name. When one of those cannot be read the
    // writing stops before that record and `unreadable` receives its path.
    Status writeSet(const QList<StitchRecord> &records, QString *unreadable = nullptr);

    // Checks the magic and the version; older versions read like ours.
    Status readHeader();
    // The version readHeader() found.
    qint32 version() const { return m_version; }
    bool atEnd() const;
    // Reads the next record. On Damaged the file cannot be read further.
    Status readStitch(Entry &entry);

private:
    Status writeStitch(const StitchRecord &record, QString *unreadable);
    bool readAbbrivs(QStringList &abbrivs);
    bool readIcons(QList<Icon> &icons);
    bool readCount(int &count);

    QDataStream m_stream;
    qint32 m_version = 0;
};

#endif // STITCHSETEXCHANGE_H
