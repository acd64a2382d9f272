#ifndef STITCHSETFILE_H
#define STITCHSETFILE_H

#include "stitchrecord.h"

#include <QList>
#include <QString>

#include <functional>

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

    // What a stitch whose file leaves its arithmetic unsaid (as files of
    // earlier versions all do, and files of today for 1 and 1) works and
    // makes.
    enum class MissingCounts {
        // 1 and 1: the built-in set means so.
        Plain,
        // As the stitch it redefines in the catalogue; 1 and 1 for a new
        // stitch. The user's own files: a built-in stitch the user made
        // their own in an earlier version keeps the built-in arithmetic.
        KeepKnown,
    };

    // Reads the file at `path` into `set`: header values replace the set's,
    // every stitch element is merged. The file is read through before
    // anything is merged, so it is taken whole or not at all. False when
    // there is no such file, and, with a logged warning, when it cannot be
    // opened, is not well-formed XML or nests elements deeper than
    // deepestNesting. A relative image path names a file under the folder
    // of `path`. A number of stitches that is not one from 0 to
    // StitchRecord::mostStitches is taken as unsaid, with a warning.
    static bool read(const QString &path, StitchSet &set, MissingCounts missing = MissingCounts::Plain);

    // The arithmetic is written when it is not 1 and 1, or when
    // `sayCounts` asks for it anyway.
    static void writeStitch(QXmlStreamWriter &xml, const StitchRecord &record, bool builtin, bool sayCounts = false);

    // Writes a whole set atomically: the old file stays intact unless the
    // new one was written completely. Images inside the folder of `path`
    // are written relative to it, all others as they are. `sayCounts`
    // names the stitches whose arithmetic is written even when it is 1 and
    // 1, because a reader would otherwise keep another.
    static bool write(const QString &path, const Header &header, const QList<Stitch *> &stitches,
                      const std::function<bool(const Stitch &)> &sayCounts = {});
};

#endif // STITCHSETFILE_H
