#ifndef STITCHSETFILE_H
#define STITCHSETFILE_H

#include "stitchrecord.h"

#include <QList>
#include <QString>

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

    // Elements nested deeper than this make a file damaged. The format
    // needs four levels; the margin leaves room for later versions.
    static constexpr int deepestNesting = 64;

    // Reads the file at `path` into `set`: header values replace the set's,
    // every stitch element is merged. The file is read through before
    // anything is merged, so it is taken whole or not at all. False when
    // there is no such file, and, with a logged warning, when it cannot be
    // opened, is not well-formed XML or nests elements deeper than
    // deepestNesting. A relative image path names a file under the folder
    // of `path`.
    static bool read(const QString &path, StitchSet &set);

    static void writeStitch(QXmlStreamWriter &xml, const StitchRecord &record, bool builtin);

    // Writes a whole set atomically: the old file stays intact unless the
    // new one was written completely. Images inside the folder of `path`
    // are written relative to it, all others as they are.
    static bool write(const QString &path, const Header &header, const QList<Stitch *> &stitches);
};

#endif // STITCHSETFILE_H
