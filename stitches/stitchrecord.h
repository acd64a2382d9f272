#ifndef STITCHRECORD_H
#define STITCHRECORD_H

#include <QString>
#include <QStringList>

// A stitch definition as it travels outside the catalogue: in stitch-set
// files, pattern files, exchange files and the library's table. Whether a
// stitch is built in or temporary belongs to its catalogue entry, not here.
struct StitchRecord
{
    // The most stitches one stitch may work or make. A cable over more
    // than this is unheard of; a larger number means a damaged file.
    static constexpr int mostStitches = 64;

    QString name;
    QStringList abbrivs;
    QStringList paths;
    QString description;
    QString opposite;
    QString category;
    // The stitch's arithmetic, for the whole stitch however many cells it
    // covers: the stitches it works from the left needle and the stitches
    // it leaves on the right needle (k2tog 2 and 1, a 2/2 cable 4 and 4).
    int worked = 1;
    int made = 1;

    // Whether the arithmetic is that of a plain knit stitch, which files
    // leave unsaid.
    bool plainCounts() const { return worked == 1 && made == 1; }
};

#endif // STITCHRECORD_H
