// Which stitch does the same work leaning the other way: what a row
// worked in mirror image uses. Decreases and lifted increases come in
// named pairs; cables and twists are named by their size and the way
// they cross (f and b, l and r), so their partner is the same name
// crossing the other way.

#include "stitchset.h"

#include "stitch.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QHash<QString, QString> &namedPairs()
{
    static const QHash<QString, QString> pairs = [] {
        const char *const list[][2] = {
            {"k2tog", "ssk"}, {"p2tog", "ssp"}, {"k3tog", "sssk"}, {"p3tog", "sssp"},
            {"m1l", "m1r"},   {"lli", "rli"},   {"dec4l", "dec4r"},
        };
        QHash<QString, QString> both;
        for (const auto &pair : list) {
            both.insert(QString::fromLatin1(pair[0]), QString::fromLatin1(pair[1]));
            both.insert(QString::fromLatin1(pair[1]), QString::fromLatin1(pair[0]));
        }
        return both;
    }();
    return pairs;
}

// "c4f" <-> "c4b", "t3lp" <-> "t3rp", "21lpc" <-> "21rpc".
QString crossedTheOtherWay(const QString &id)
{
    static const QRegularExpression crossing(QStringLiteral("^([ct]\\d+|\\d+)([fblr])(.*)$"));
    const QRegularExpressionMatch match = crossing.match(id);
    if (!match.hasMatch())
        return QString();
    static const QHash<QChar, QChar> other = {
        {QLatin1Char('f'), QLatin1Char('b')}, {QLatin1Char('b'), QLatin1Char('f')},
        {QLatin1Char('l'), QLatin1Char('r')}, {QLatin1Char('r'), QLatin1Char('l')}};
    return match.captured(1) + other.value(match.captured(2).at(0)) + match.captured(3);
}

} // namespace

Stitch *StitchSet::mirrorStitch(Stitch *stitch)
{
    if (!stitch)
        return stitch;
    const QString id = stitch->stitchID();
    QString partner = namedPairs().value(id);
    if (partner.isEmpty())
        partner = crossedTheOtherWay(id);
    if (partner.isEmpty() || !hasStitch(partner))
        return stitch;
    Stitch *mirrored = findStitch(partner);
    // A partner over a different number of cells would not fit the run.
    return mirrored->cellsPerStitch() == stitch->cellsPerStitch() ? mirrored : stitch;
}
