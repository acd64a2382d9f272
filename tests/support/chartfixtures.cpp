#include "chartfixtures.h"

#include "instructionparser.h"
#include "stitch.h"
#include "stitchset.h"

#include <QRandomGenerator>

Stitch *stitchById(const char *id)
{
    return StitchSet::instance()->findStitch(QString::fromLatin1(id));
}

QString stitchIds(const QList<Stitch *> &row)
{
    QStringList ids;
    for (const Stitch *stitch : row)
        ids.append(stitch ? stitch->stitchID() : QStringLiteral("-"));
    return ids.join(QLatin1Char(' '));
}

QString rowIds(const ChartGrid &grid, int y)
{
    return stitchIds(grid.rowStitches(y));
}

QStringList snapshot(const ChartGrid &grid)
{
    const ChartOptions &options = grid.options();
    QStringList lines;
    const QString bottom = options.numbersAtBottom ? QString::number(*options.numbersAtBottom) : QStringLiteral("-");
    lines << QStringLiteral("%1x%2 style %3 side %4 numbers %5,%6 skip %7 cell %8x%9 bottom %10")
                 .arg(grid.columnCount())
                 .arg(grid.rowCount())
                 .arg(int(options.knitStyle))
                 .arg(int(options.side))
                 .arg(options.columnNumberOffset)
                 .arg(options.rowNumberOffset)
                 .arg(options.skipRows)
                 .arg(options.cellSize.width())
                 .arg(options.cellSize.height())
                 .arg(bottom);
    const WrittenOptions &written = options.written;
    lines << QStringLiteral("written %1 repeats %2 counts %3 find %4")
                 .arg(int(written.style))
                 .arg(int(written.repeats))
                 .arg(int(written.counts))
                 .arg(written.findRepeats);
    QStringList shaping;
    for (int y : grid.shapingRows())
        shaping << QString::number(y);
    lines << QStringLiteral("shaping ") + shaping.join(QLatin1Char(','));
    for (const RepeatBox &box : grid.repeats())
        lines << QStringLiteral("repeat %1,%2 %3x%4 %5")
                     .arg(box.cells.x())
                     .arg(box.cells.y())
                     .arg(box.cells.width())
                     .arg(box.cells.height())
                     .arg(box.color.name(QColor::HexArgb));
    for (int y = 0; y < grid.rowCount(); ++y) {
        for (int x = 0; x < grid.columnCount(); ++x) {
            const ChartCell cell = grid.cell(x, y);
            QString line = QStringLiteral("%1,%2 %3/%4 %5").arg(x).arg(y)
                               .arg(cell.stitch ? cell.stitch->stitchID() : QStringLiteral("-"))
                               .arg(cell.imgPos)
                               .arg(cell.color.name(QColor::HexArgb));
            for (int side = 0; side < 4; ++side) {
                line += cell.borders[side] ? QStringLiteral(" |") : QStringLiteral(" -");
                line += cell.borderColors[side].name(QColor::HexArgb);
            }
            lines << line;
        }
    }
    return lines;
}

std::unique_ptr<ChartGrid> sampleGrid()
{
    auto grid = std::make_unique<ChartGrid>(5, 4, stitchById("k"));
    const char *ids[] = {"k", "p", "yo", "k2tog", "ssk"};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            grid->setStitch(x, y, stitchById(ids[(x + y) % 5]), 0);
            grid->setColor(x, y, QColor::fromHsv((x * 40 + y * 90) % 360, 120, 230));
        }
    }
    for (int i = 0; i < 4; ++i)
        grid->setStitch(1 + i, 2, stitchById("c4f"), i);
    grid->setBorder(2, 1, ChartCell::Top, true, Qt::red);
    grid->setBorder(2, 0, ChartCell::Bottom, true, Qt::red);
    grid->setBorder(0, 0, ChartCell::Left, true, Qt::blue);
    grid->setBorder(4, 3, ChartCell::Right, true, Qt::green);
    grid->setBorder(3, 2, ChartCell::Bottom, true, Qt::darkMagenta);
    grid->setBorder(3, 3, ChartCell::Top, true, Qt::darkMagenta);
    // A stitch repeat in the top row, and a repeat of the three rows below
    // over the whole width.
    grid->setRepeats({RepeatBox{QRect(1, 0, 3, 1), Qt::red}, RepeatBox{QRect(0, 1, 5, 3), Qt::blue}});
    // Two rows marked as shaping, around the cable row.
    grid->setShapingRows({1, 3});
    return grid;
}

std::unique_ptr<ChartGrid> randomGrid(int columns, int rows, unsigned seed)
{
    QRandomGenerator random(seed);
    const char *ids[] = {"k", "p", "yo", "k2tog", "ssk", "x", "c4f", "sk2p"};
    const QColor colors[] = {Qt::white, Qt::red, QColor(10, 20, 30), QColor::fromHsv(200, 120, 230),
                             QColor(0, 0, 0, 0)};
    auto grid = std::make_unique<ChartGrid>(columns, rows, stitchById("k"));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            ChartCell cell;
            cell.stitch = stitchById(ids[random.bounded(int(std::size(ids)))]);
            cell.imgPos = random.bounded(3);
            cell.color = colors[random.bounded(int(std::size(colors)))];
            if (random.bounded(4) == 0) {
                const int side = random.bounded(4);
                cell.borders[side] = random.bounded(2) == 0;
                cell.borderColors[side] = colors[random.bounded(int(std::size(colors)))];
            }
            grid->setCell(x, y, cell);
        }
    }
    ChartOptions options;
    options.knitStyle = KnitStyle(random.bounded(3));
    options.side = Side(random.bounded(2));
    options.columnNumberOffset = random.bounded(20);
    options.rowNumberOffset = random.bounded(20);
    options.skipRows = options.knitStyle == KnitStyle::Lace && random.bounded(2) == 0;
    options.cellSize = QSize(10 + random.bounded(40), 10 + random.bounded(40));
    grid->setOptions(options);
    return grid;
}

ChartOptions unusualOptions()
{
    ChartOptions options;
    options.knitStyle = KnitStyle::Lace;
    options.side = Side::WrongSide;
    options.columnNumberOffset = 2;
    options.rowNumberOffset = 4;
    options.skipRows = true;
    options.cellSize = QSize(30, 26);
    options.numbersAtBottom = true;
    options.written = WrittenOptions{WrittenStyle::Published, RepeatForm::Brackets, StitchCounts::Every, true};
    return options;
}

std::unique_ptr<ChartGrid> chartFromLines(int width, const QStringList &lines, const ChartOptions &options)
{
    auto grid = std::make_unique<ChartGrid>(width, int(lines.size()), nullptr);
    grid->setOptions(options);
    const InstructionParser parser(StitchSet::instance()->keyWords());
    for (int i = 0; i < lines.size(); ++i) {
        const bool wrongSide = options.isWrongSide(i + 1);
        grid->setRow(int(lines.size()) - 1 - i, InstructionParser::row(parser.cells(lines.at(i), width), width, wrongSide));
    }
    return grid;
}
