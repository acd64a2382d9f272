#ifndef STITCHSETFILE_H
#define STITCHSETFILE_H

#include "stitchrecord.h"

#include <QList>
#include <QString>

class QDomElement;
class QXmlStreamWriter;
class Stitch;
class StitchSet;

// The stitch-set XML format: the built-in set, the user's copy of it and the
// user's own stitches. Everything that knows the format's element names
// lives here.
class StitchSetFile
{
public:
    // The set's header values.
    struct Header
    {
        QString name;
        QString description;
        QString author;
        QString location;
    };

    // Reads the file at `path` into `set`: header values replace the set's,
    // every stitch element is merged. False when the file cannot be opened
    // or is not well-formed XML.
    static bool read(const QString &path, StitchSet &set);

    // The definition held by one "stitch" element. Absent children give
    // empty values; only the text "1" makes a stitch built in.
    static StitchRecord readStitch(const QDomElement &element, bool *builtin);

    static void writeStitch(QXmlStreamWriter &xml, const StitchRecord &record, bool builtin);

    // Writes a whole set atomically: the old file stays intact unless the
    // new one was written completely.
    static bool write(const QString &path, const Header &header, const QList<Stitch *> &stitches);
};

#endif // STITCHSETFILE_H
