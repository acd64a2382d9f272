// The chart record's header: the chart's title, size, picture link and
// options. Its cells are the scene record (scenerecord.cpp).

#include "chartrecord.h"

#include "chartpicture.h"
#include "fileversions.h"

#include "recordbytes.h"
#include "recordstream.h"

#include <QDataStream>

#include <cmath>
#include <optional>

namespace {

const QString chartEnd = QStringLiteral("</Chart>");
const QString nameTag = QStringLiteral("Name:");
const QString widthTag = QStringLiteral("Width:");
const QString heightTag = QStringLiteral("Height:");
const QString hashTag = QStringLiteral("Hash:");
const QString imageSizeTag = QStringLiteral("ImgSize:");
const QString exactImageSizeTag = QStringLiteral("ImgSizeF:");
const QString imageCellsTag = QStringLiteral("ImgCells:");
const QString styleTag = QStringLiteral("KnitStyle:");
const QString sideTag = QStringLiteral("SideSelect:");
const QString numberStartsTag = QStringLiteral("NumberStarts:");
const QString skipRowsTag = QStringLiteral("SkipRows:");
const QString numbersBottomTag = QStringLiteral("NumbersBottom:");
const QString repeatsTag = QStringLiteral("Repeats:");
const QString writtenTag = QStringLiteral("Written:");
const QString shapingTag = QStringLiteral("Shaping:");
// A box as the stream writes it: four qint32 and a colour.
constexpr int repeatBytes = 4 * 4 + 11;
const QString sceneStart = QStringLiteral("<KnitScene>");

// The header: every value has a default, and the tags may come in any
// order.
struct ChartHeader
{
    QString title;
    qint32 width = 0;
    qint32 height = 0;
    qint32 knitStyle = 0;
    QString side = QStringLiteral("Right Side");
    qint32 columnOffset = 0;
    qint32 rowOffset = 0;
    bool skipRows = false;
    std::optional<bool> numbersAtBottom;
    QList<RepeatBox> repeats;
    QList<int> shapingRows;
    WrittenOptions written;
    QByteArray hash;
    QSize imageSize = QSize(-1, -1);
    std::optional<QSizeF> exactImageSize;
    // x, y, width, height as written.
    qint32 imageCells[4] = {0, 0, 0, 0};
    bool hasImageCells = false;
};

// The numbering starts where a chart can show them: the numbers add these
// offsets to cell numbers, which must not overflow.
void readNumberStarts(QDataStream &in, ChartHeader &header)
{
    qint32 columnOffset = 0, rowOffset = 0;
    in >> columnOffset >> rowOffset;
    const int largest = ChartOptions::largestNumberStart - 1;
    header.columnOffset = qBound(0, int(columnOffset), largest);
    header.rowOffset = qBound(0, int(rowOffset), largest);
    if (header.columnOffset != columnOffset || header.rowOffset != rowOffset)
        qWarning("Chart numbering offsets %d and %d are out of range; kept within 0 to %d", columnOffset, rowOffset,
                 largest);
}

// The boxes as written; the grid brings them within its cells once it
// knows its size.
bool readRepeats(QDataStream &in, QList<RepeatBox> &repeats)
{
    qint32 count = 0;
    if (!RecordStream::readCount(in, count, repeatBytes))
        return false;
    repeats.clear();
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        qint32 x = 0, y = 0, width = 0, height = 0;
        RepeatBox box;
        in >> x >> y >> width >> height;
        // A colour kind Qt does not know is damage, not a colour.
        if (!readStreamColor(in, box.color))
            return false;
        // Far beyond any chart, so that the rectangle's own arithmetic
        // cannot overflow; the grid drops what lies outside it.
        const auto sane = [](qint32 value) { return qBound(-1, int(value), 1 << 24); };
        if (width > 0 && height > 0)
            repeats.append(RepeatBox{QRect(sane(x), sane(y), sane(width), sane(height)), box.color});
    }
    return in.status() == QDataStream::Ok;
}

void writeRepeats(QDataStream &out, const QList<RepeatBox> &repeats)
{
    out << repeatsTag << qint32(repeats.size());
    for (const RepeatBox &box : repeats)
        out << qint32(box.cells.x()) << qint32(box.cells.y()) << qint32(box.cells.width())
            << qint32(box.cells.height()) << box.color;
}

// The grid rows marked as shaping; the grid drops those it does not have
// once it knows its size.
bool readShapingRows(QDataStream &in, QList<int> &rows)
{
    qint32 count = 0;
    if (!RecordStream::readCount(in, count, 4))
        return false;
    rows.clear();
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        qint32 y = 0;
        in >> y;
        rows.append(y);
    }
    return in.status() == QDataStream::Ok;
}

void writeShapingRows(QDataStream &out, const QList<int> &rows)
{
    out << shapingTag << qint32(rows.size());
    for (int y : rows)
        out << qint32(y);
}

// A picture asked for in parts of an inch: whole inches lost it a size
// at every save.
bool hasPartInches(const QSizeF &size)
{
    return size.isValid() && (size.width() != std::floor(size.width()) || size.height() != std::floor(size.height()));
}

// The size of the chart's picture, exact where the file has it. A side
// that is no size at all means no picture; one larger than a picture can
// be is brought down to that, so that no picture is built beyond it.
QSizeF sanePictureSize(const ChartHeader &header)
{
    const QSizeF size = header.exactImageSize.value_or(QSizeF(header.imageSize));
    const auto usable = [](qreal side) { return std::isfinite(side) && side >= 0; };
    if (!usable(size.width()) || !usable(size.height()))
        return QSizeF(-1, -1);
    if (size.width() <= ChartPicture::mostInches && size.height() <= ChartPicture::mostInches)
        return size;
    qWarning("The chart's picture is %g by %g inches; it is made %g inches at most", size.width(), size.height(),
             ChartPicture::mostInches);
    return QSizeF(qMin(size.width(), ChartPicture::mostInches), qMin(size.height(), ChartPicture::mostInches));
}

// The part of a chart its picture shows (as ChartPicture::keptPart counts
// it), brought within the chart; one the chart has nothing of is damage,
// and the picture shows the whole chart.
QRect sanePart(const ChartHeader &header)
{
    if (!header.hasImageCells)
        return QRect();
    const auto [x, y, width, height] = header.imageCells;
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x >= header.width || y >= header.height) {
        qWarning("The chart's picture shows cells the chart does not have; it shows the whole chart");
        return QRect();
    }
    return QRect(x, y, int(qMin<qint64>(width, header.width - x)), int(qMin<qint64>(height, header.height - y)));
}

// Three choices and a flag; a choice no program wrote reads as its
// default.
void readWritten(QDataStream &in, WrittenOptions &written)
{
    qint32 style = 0, repeats = 0, counts = 0;
    bool findRepeats = false;
    in >> style >> repeats >> counts >> findRepeats;
    const auto known = [](qint32 value, int last) { return value >= 0 && value <= last; };
    if (!known(style, int(WrittenStyle::Published)) || !known(repeats, int(RepeatForm::Brackets))
        || !known(counts, int(StitchCounts::None)))
        qWarning("Written instruction choices %d, %d, %d are unknown; read as the defaults", style, repeats, counts);
    const WrittenOptions defaults;
    written.style = known(style, int(WrittenStyle::Published)) ? WrittenStyle(style) : defaults.style;
    written.repeats = known(repeats, int(RepeatForm::Brackets)) ? RepeatForm(repeats) : defaults.repeats;
    written.counts = known(counts, int(StitchCounts::None)) ? StitchCounts(counts) : defaults.counts;
    written.findRepeats = findRepeats;
}

void writeWritten(QDataStream &out, const WrittenOptions &written)
{
    out << writtenTag << qint32(written.style) << qint32(written.repeats) << qint32(written.counts)
        << written.findRepeats;
}

// Reads tags up to "<KnitScene>"; false for any other tag or a damaged
// value.
bool readHeader(QDataStream &in, ChartHeader &header)
{
    const auto value = [&in](auto &target) {
        return [&in, &target] {
            in >> target;
            return true;
        };
    };
    QString tag;
    const bool read = RecordStream::readTags(
        in,
        {{nameTag, [&] { return RecordStream::readString(in, header.title); }},
         {widthTag, value(header.width)},
         {heightTag, value(header.height)},
         {styleTag, value(header.knitStyle)},
         {sideTag, [&] { return RecordStream::readString(in, header.side); }},
         {numberStartsTag,
          [&] {
              readNumberStarts(in, header);
              return true;
          }},
         {skipRowsTag, value(header.skipRows)},
         {numbersBottomTag,
          [&] {
              bool shown = false;
              in >> shown;
              header.numbersAtBottom = shown;
              return true;
          }},
         {repeatsTag, [&] { return readRepeats(in, header.repeats); }},
         {shapingTag, [&] { return readShapingRows(in, header.shapingRows); }},
         {writtenTag,
          [&] {
              readWritten(in, header.written);
              return true;
          }},
         {hashTag, [&] { return RecordStream::readBytes(in, header.hash); }},
         {imageSizeTag, value(header.imageSize)},
         {exactImageSizeTag,
          [&] {
              QSizeF size;
              in >> size;
              header.exactImageSize = size;
              return true;
          }},
         {imageCellsTag,
          [&] {
              for (qint32 &value : header.imageCells)
                  in >> value;
              header.hasImageCells = true;
              return true;
          }}},
        tag);
    return read && tag == sceneStart;
}

ChartOptions optionsOf(const ChartHeader &header, const QSize &cellSize)
{
    ChartOptions options;
    bool known = true;
    options.knitStyle = ChartOptions::knitStyleFromValue(header.knitStyle, &known);
    if (!known)
        qWarning("Chart knitting style %d is unknown; read as flat", header.knitStyle);
    options.side = ChartOptions::sideFromName(header.side);
    options.columnNumberOffset = header.columnOffset;
    options.rowNumberOffset = header.rowOffset;
    options.skipRows = header.skipRows;
    options.numbersAtBottom = header.numbersAtBottom;
    options.written = header.written;
    options.cellSize = cellSize;
    return options;
}

} // namespace

bool ChartRecord::write(QDataStream &out, const ChartGrid &grid, const QString &title, const QByteArray &hash,
                        const QSizeF &imageSize, const QRect &imageCells)
{
    const ChartOptions &options = grid.options();
    out << nameTag << title;
    out << widthTag << qint32(grid.columnCount());
    out << heightTag << qint32(grid.rowCount());
    out << hashTag << hash;
    // Whole inches, as older programs read them; the exact size follows
    // below where it is not whole.
    out << imageSizeTag << QSize(int(imageSize.width()), int(imageSize.height()));
    out << styleTag << qint32(options.knitStyle);
    out << sideTag << ChartOptions::sideName(options.side);
    out << numberStartsTag << qint32(options.columnNumberOffset) << qint32(options.rowNumberOffset);
    out << skipRowsTag << options.skipRows;
    // Only a chart that chose has the tag, only a chart with repeats has
    // theirs and only one written other than by default has that, so that
    // other charts keep the bytes and the version older programs read.
    if (options.numbersAtBottom)
        out << numbersBottomTag << *options.numbersAtBottom;
    if (!grid.repeats().isEmpty())
        writeRepeats(out, grid.repeats());
    if (!options.written.isDefault())
        writeWritten(out, options.written);
    if (!grid.shapingRows().isEmpty())
        writeShapingRows(out, grid.shapingRows());
    if (hasPartInches(imageSize))
        out << exactImageSizeTag << imageSize;
    if (!imageCells.isNull())
        out << imageCellsTag << qint32(imageCells.x()) << qint32(imageCells.y()) << qint32(imageCells.width())
            << qint32(imageCells.height());
    writeScene(out, grid);
    if (out.status() != QDataStream::Ok)
        return false;
    out << chartEnd;
    return out.status() == QDataStream::Ok;
}

qint32 ChartRecord::versionFor(const ChartGrid &grid, const QSizeF &imageSize, const QRect &imageCells)
{
    if (!imageCells.isNull())
        return PatternVersion::print;
    if (!grid.shapingRows().isEmpty() || hasPartInches(imageSize))
        return PatternVersion::check;
    if (grid.options().numbersAtBottom.has_value() || !grid.repeats().isEmpty()
        || !grid.options().written.isDefault())
        return PatternVersion::repeats;
    return PatternVersion::plain;
}

bool ChartRecord::read(QDataStream &in, ChartValues &values, const QSize &cellSize, const Progress &progress)
{
    ChartHeader header;
    const bool headerRead = readHeader(in, header);
    values.title = header.title;
    values.hash = header.hash;
    values.imageSize = sanePictureSize(header);
    values.imageCells = sanePart(header);
    // A size the record cannot hold is damage, not a chart to build.
    const bool usableSize = header.width > 0 && header.height > 0 && recordCanHold(in, header.width, header.height);
    if (!headerRead || !usableSize) {
        values.grid = std::make_unique<ChartGrid>(0, 0, nullptr);
        values.grid->setOptions(optionsOf(header, cellSize));
        return false;
    }

    const bool sceneRead = readScene(in, header.width, header.height, cellSize, values.grid, progress);
    // Whatever was read is kept, so that a damaged chart can still be
    // looked at and saved.
    ChartOptions options = optionsOf(header, values.grid->options().cellSize);
    values.grid->setOptions(options);
    values.grid->setRepeats(header.repeats);
    values.grid->setShapingRows(header.shapingRows);
    if (!sceneRead)
        return false;
    QString tag;
    return RecordStream::readString(in, tag) && tag == chartEnd;
}
