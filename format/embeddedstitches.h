#ifndef EMBEDDEDSTITCHES_H
#define EMBEDDEDSTITCHES_H

#include <QList>

class QDataStream;
class Stitch;

// The designer's own stitches a pattern file carries, so that it opens
// where they are unknown. Each record, after "<Stitch>": the abbreviations,
// name, opposite, category and description, the number of images, and for
// each image its path, followed by its bytes unless it is one of the
// program's own; then "</Stitch>".
class EmbeddedStitches
{
public:
    // A record for each of `stitches` that is not built in.
    static void write(QDataStream &out, const QList<Stitch *> &stitches);
    // One record, from just after "<Stitch>". Its images are kept among
    // the user's stitch images, and the stitch joins the catalogue for this
    // run unless the catalogue knows its abbreviation already.
    static void read(QDataStream &in);
};

#endif // EMBEDDEDSTITCHES_H
