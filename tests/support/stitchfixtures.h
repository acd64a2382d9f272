#ifndef STITCHFIXTURES_H
#define STITCHFIXTURES_H

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

class QDataStream;

// Stitch files made to measure, shared by the suites and the benchmarks: a
// user library of many stitches as the library writes it, files nested far
// deeper than any stitch set, stitch records from elsewhere that bring an
// image along, and links planted where those images are kept.
namespace StitchFixtures {

// A stitch-set file of `count` stitches with the abbreviations "own1" to
// "own<count>", spread over `categories` categories. With an
// `imageFolder`, each stitch is drawn by an SVG file of its own written
// there; without one, the stitches share the program's own images.
QByteArray library(int count, int categories, const QString &imageFolder = QString());

// A stitch set of one stitch whose name holds elements nested `depth`
// deep, followed by an ordinary stitch "after".
QByteArray nested(int depth);

// What `write` puts into a data stream as pattern and exchange files hold
// them: Qt 4.5, big-endian. For records made by hand, damaged on purpose.
QByteArray streamed(const std::function<void(QDataStream &)> &write);

// Writes `bytes` to `path`, making its folder; false when it cannot.
bool write(const QString &path, const QByteArray &bytes);

// A stitch's arithmetic as the tables of the suites write it: "2/1" for a
// stitch that works 2 stitches and makes 1.
QString counts(int worked, int made);

// The stitch records that bring an image along, each carrying one image
// under `carriedName` (a path or a bare name, as a file from elsewhere may
// hold it): a pattern file's embedded stitch record, and a whole stitch
// set exchange file of one stitch.
QByteArray embeddedStitch(const QString &abbriv, const QString &carriedName, const QByteArray &image);
QByteArray exchangeSet(const QString &abbriv, const QString &carriedName, const QByteArray &image);

// A symbolic link `name` in the user's stitch-image folder, leading to
// `target`, which need not exist; false when it cannot be made.
bool plantLink(const QString &name, const QString &target);

// Every file under `folder` with its bytes, to show that nothing there
// changed.
QMap<QString, QByteArray> snapshot(const QString &folder);

// An incoming stitch image set to land outside the user's stitch-image
// folder: a folder `outside` holding "theirs.svg", the image carried under
// a name that may hold folders, and, with `link`, a link of the image's
// name in the user's folder to that file outside.
class ImageTrap
{
public:
    // The ways to set it, as the data rows "carried" and "link"; bare names
    // are carried after `folder`.
    static void addRows(const QString &folder);

    ImageTrap(const QString &outside, const QString &carried, const QString &link);
    bool isSet() const { return m_set; }
    // The image's own name, without its folders.
    QString name() const { return m_name; }
    // Empty when the image `kept` holds `bytes`, in the user's folder and not
    // through a link, and nothing outside changed; else what went wrong.
    QString sprung(const QString &kept, const QByteArray &bytes) const;

private:
    QString m_outside;
    QString m_name;
    QMap<QString, QByteArray> m_before;
    bool m_set = false;
};

} // namespace StitchFixtures

#endif // STITCHFIXTURES_H
