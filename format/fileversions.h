#ifndef FILEVERSIONS_H
#define FILEVERSIONS_H

#include <QtGlobal>

// The versions of the pattern file, each with what it added. A file is
// written with the lowest version that holds everything it uses, so that
// the programs that came before still open it whenever they can.
namespace PatternVersion {
// Everything up to the numbering and the stitch images.
constexpr qint32 plain = 201002;
// Repeat boxes, written-instruction choices, stitch numbers below a chart,
// the arithmetic of the designer's own stitches.
constexpr qint32 repeats = 201003;
// What the pattern check reads: rows marked as shaping, the gauge, the
// findings the designer dismissed.
constexpr qint32 check = 201004;
// What print needs: chart pictures showing part of their chart, and the
// names the designer gave the yarn colours for the key.
constexpr qint32 print = 201005;
constexpr qint32 newest = print;
} // namespace PatternVersion

#endif // FILEVERSIONS_H
