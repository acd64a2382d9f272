#include "instructionwriter.h"

#include "chartoptions.h"
#include "stitch.h"
#include "stitchset.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Knit and purl always carry their count ("k1"); other stitches only when
// there is more than one ("yo", "yo2").
bool showsCount(const QString &text, int count)
{
    return count > 1 || text == QLatin1String("k") || text == QLatin1String("p");
}

} // namespace

// A count after an abbreviation that ends in a digit would read as part of
// it, and one that spells another abbreviation as that one: three "yo2"
// are not "yo23" but "(yo2) 3 times", seven "nupp" not "nupp7".
QString InstructionWriter::runText(const QString &text, int count)
{
    if (!showsCount(text, count))
        return text;
    const QString counted = text + QString::number(count);
    const bool misread = !text.isEmpty() && (text.back().isDigit() || StitchSet::instance()->hasStitch(counted));
    if (count > 1 && misread)
        return QStringLiteral("(%1) %2 times").arg(text).arg(count);
    return counted;
}

QString InstructionWriter::writeRow(const QList<Stitch *> &row, bool wrongSide, bool includeNoStitch)
{
    QList<const Stitch *> cells;
    cells.reserve(row.size());
    for (const Stitch *stitch : row) {
        if (stitch)
            cells.append(stitch);
    }
    if (!wrongSide)
        std::reverse(cells.begin(), cells.end());

    QString line;
    int runStart = 0;
    while (runStart < cells.size()) {
        const QString text = cells.at(runStart)->writtenAs(wrongSide);
        int runEnd = runStart + 1;
        while (runEnd < cells.size() && cells.at(runEnd)->writtenAs(wrongSide) == text)
            ++runEnd;

        // Counted in stitches: the four cells of a 4-cell cable are one.
        const int cellsPerStitch = qMax(1, cells.at(runStart)->cellsPerStitch());
        const int count = (runEnd - runStart + cellsPerStitch - 1) / cellsPerStitch;
        runStart = runEnd;

        if (!includeNoStitch && text == QLatin1String("x"))
            continue;
        if (!line.isEmpty())
            line += QLatin1String(", ");
        line += runText(text, count);
    }
    return line;
}

QString InstructionWriter::rowLabel(int rowNumber, const ChartOptions &options)
{
    const QString number = QString::number(rowNumber + options.rowNumberOffset);
    if (options.knitStyle == KnitStyle::Round)
        return QCoreApplication::translate("KnitTextEdit", "Round") + QLatin1Char(' ') + number;

    QString label = QCoreApplication::translate("KnitTextEdit", "Row") + QLatin1Char(' ') + number;
    if (options.skipRows)
        return label;
    const bool wrongSideFirst = options.side == Side::WrongSide;
    const bool odd = rowNumber % 2 != 0;
    if (odd != wrongSideFirst)
        label += QLatin1String("  (") + QCoreApplication::translate("KnitTextEdit", "rs") + QLatin1Char(')');
    else
        label += QLatin1String(" (") + QCoreApplication::translate("KnitTextEdit", "ws") + QLatin1Char(')');
    return label;
}
