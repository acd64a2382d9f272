#ifndef CHARTOPTIONS_H
#define CHARTOPTIONS_H

#include <QSize>
#include <QString>

#include <optional>

// How a chart is knitted: back and forth (flat), in the round, or lace,
// which may chart only every second row. The values are those pattern
// files store.
enum class KnitStyle { Flat = 0, Round = 1, Lace = 2 };

// The side of the fabric that row 1 is worked from.
enum class Side { RightSide = 0, WrongSide = 1 };

// How a chart's written instructions read. Plain writes each row out in
// full, as the chart pane shows it; Published writes as patterns are
// printed: "Row 1 (RS): K2, *p2, k2; rep from * to end." with the repeats
// of the repeat boxes, short runs grouped and stitch counts. The values
// are those pattern files store.
enum class WrittenStyle { Plain = 0, Published = 1 };
// How a published row writes a repeat across: "*k2, p2; rep from * to
// end" or "[k2, p2] 5 times".
enum class RepeatForm { Stars = 0, Brackets = 1 };
// Which published rows end with their stitch count ("5 sts").
enum class StitchCounts { Changed = 0, Every = 1, None = 2 };

struct WrittenOptions
{
    WrittenStyle style = WrittenStyle::Plain;
    RepeatForm repeats = RepeatForm::Stars;
    StitchCounts counts = StitchCounts::Changed;
    // A published row without a repeat box writes the longest repeat it
    // finds in itself.
    bool findRepeats = false;

    bool isDefault() const { return *this == WrittenOptions(); }
    bool operator==(const WrittenOptions &other) const
    {
        return style == other.style && repeats == other.repeats && counts == other.counts
            && findRepeats == other.findRepeats;
    }
    bool operator!=(const WrittenOptions &other) const { return !(*this == other); }
};

// The settings of one chart besides its cells: how it is knitted, how its
// rows and stitches are numbered and how large its cells are drawn. Rows
// are counted from the bottom of the chart, starting at 1, in every rule
// below.
struct ChartOptions
{
    // The largest first stitch or row number a chart can have.
    static constexpr int largestNumberStart = 100000;
    // Cell sides outside this range come only from damaged files or
    // preferences; they are brought back into it.
    static constexpr int smallestCellSide = 1;
    static constexpr int largestCellSide = 1000;

    KnitStyle knitStyle = KnitStyle::Flat;
    Side side = Side::RightSide;
    // First stitch number and first row number minus 1.
    int columnNumberOffset = 0;
    int rowNumberOffset = 0;
    // Only every second row is charted: the rows are numbered 1, 3, 5, ...
    bool skipRows = false;
    QSize cellSize = QSize(24, 22);
    // Whether the stitch numbers are shown below the chart as well as
    // above it. A chart that never chose follows the preference, so
    // charts saved before the choice existed look as they always did.
    std::optional<bool> numbersAtBottom;
    WrittenOptions written;

    bool operator==(const ChartOptions &other) const;
    bool operator!=(const ChartOptions &other) const { return !(*this == other); }

    // Whether row `rowNumber` is worked from the wrong side. In flat
    // knitting, and in lace that charts every row, the sides alternate,
    // row 1 being on `side`; in the round, and in lace that charts only
    // every second row, every row faces the way row 1 does.
    bool isWrongSide(int rowNumber) const;
    // Whether the number of row `rowNumber` stands at the right of the
    // chart: where the row starts. In the round every row starts at the
    // right.
    bool numberOnRight(int rowNumber) const;
    // The number row `rowNumber` carries: doubled for skipped rows, then
    // shifted by the first row number.
    int shownRowNumber(int rowNumber) const;
    // The row that carries number `shown`, counted from 1 at the bottom;
    // with every second row charted, an uncharted row's number gives the
    // row after it. Not bounded by the chart's rows.
    int rowNumbered(int shown) const;
    // The number stitch `stitch` (from 1 at the right) carries.
    int shownStitchNumber(int stitch) const { return stitch + columnNumberOffset; }

    // Whether the numbers below the chart are shown, where the chart
    // itself does not say: as `preferred`.
    bool showsNumbersAtBottom(bool preferred) const { return numbersAtBottom.value_or(preferred); }

    static QSize saneCellSize(const QSize &size);

    // The words pattern files store for a side: "Right Side", "Wrong
    // Side". Any other word reads as the right side.
    static QString sideName(Side side);
    static Side sideFromName(const QString &name);
    // A style read from a file; values no program wrote read as flat.
    static KnitStyle knitStyleFromValue(int value, bool *known = nullptr);
};

#endif // CHARTOPTIONS_H
