#ifndef STITCHFIXTURES_H
#define STITCHFIXTURES_H

#include <QByteArray>
#include <QString>

// Stitch-set files made to measure, shared by the suites and the
// benchmarks: a user library of many stitches as the library writes it,
// and files nested far deeper than any stitch set.
namespace StitchFixtures {

// A stitch-set file of `count` stitches with the abbreviations "own1" to
// "own<count>", spread over `categories` categories. With an
// `imageFolder`, each stitch is drawn by an SVG file of its own written
// there; without one, the stitches share the program's own images.
QByteArray library(int count, int categories, const QString &imageFolder = QString());

// A stitch set of one stitch whose name holds elements nested `depth`
// deep, followed by an ordinary stitch "after".
QByteArray nested(int depth);

// Writes `bytes` to `path`, making its folder; false when it cannot.
bool write(const QString &path, const QByteArray &bytes);

} // namespace StitchFixtures

#endif // STITCHFIXTURES_H
