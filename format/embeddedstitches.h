#ifndef EMBEDDEDSTITCHES_H
#define EMBEDDEDSTITCHES_H

#include <QList>

class QDataStream;
class Stitch;

// The designer's own stitches a pattern file carries, so that it opens
// where they are unknown. Each record, after "<Stitch>": the abbreviations,
// name, opposite, category and description, the number of images, and for
// each image its path, followed by its bytes unless it is one of the
// program's own; then, for a stitch that does not work and make one
// stitch, "Arithmetic:" and the two numbers; then "</Stitch>".
class EmbeddedStitches
{
public:
    // Whether a record of `stitches` holds what files of
    // PatternFile::plainVersion cannot.
    static bool needsNewerVersion(const QList<Stitch *> &stitches);
    // A record for each of `stitches` that is not built in.
    static void write(QDataStream &out, const QList<Stitch *> &stitches);
    // One record, from just after "<Stitch>". Its images are kept among
    // the user's stitch images, and the stitch joins the catalogue for this
    // run unless the catalogue knows its abbreviation already.
    static void read(QDataStream &in);
};

#endif // EMBEDDEDSTITCHES_H
