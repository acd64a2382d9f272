// The scene record: a chart's cell size and every cell with its position,
// stitch, image index, colour and borders. A big chart has millions of
// values here, so the cell groups are read straight from the record's
// bytes and written into one buffer rather than value by value through
// the stream.

#include "chartrecord.h"

#include "recordbytes.h"
#include "recordstream.h"
#include "stitch.h"
#include "stitchset.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

const QString sceneStart = QStringLiteral("<KnitScene>");
const QString sceneEnd = QStringLiteral("</KnitScene>");
const QString cellDimensions = QStringLiteral("CellDim:");
const QString cellsStart = QStringLiteral("<Cells>");
const QString cellsEnd = QStringLiteral("</Cells>");

// The tags of a cell group, as the stream stores them.
struct CellTags
{
    const QByteArray start = ByteWriter::encodeString(QStringLiteral("<Cell>"));
    const QByteArray end = ByteWriter::encodeString(QStringLiteral("</Cell>"));
    const QByteArray position = ByteWriter::encodeString(QStringLiteral("X,Y:"));
    const QByteArray abbreviation = ByteWriter::encodeString(QStringLiteral("Abbriv:"));
    // Older files spell it so.
    const QByteArray oldAbbreviation = ByteWriter::encodeString(QStringLiteral("Abriv:"));
    const QByteArray imagePosition = ByteWriter::encodeString(QStringLiteral("ImgPos:"));
    const QByteArray colour = ByteWriter::encodeString(QStringLiteral("Color:"));
    const QByteArray borders = ByteWriter::encodeString(QStringLiteral("Borders:"));
    const QByteArray borderColours = ByteWriter::encodeString(QStringLiteral("BorderColors:"));
};

const CellTags &cellTags()
{
    static const CellTags tags;
    return tags;
}

// The smallest cell group: "<Cell>" and "</Cell>", every value carried
// over from the group before.
const qint64 smallestCellGroup = RecordStream::encodedSize(QStringLiteral("<Cell>"))
    + RecordStream::encodedSize(QStringLiteral("</Cell>"));

// Buffered cell groups go to the stream in pieces of about this size.
const int writeChunkBytes = 1 << 20;

// What one cell group says; values a group leaves out carry over.
struct CellValues
{
    qint32 x = 0;
    qint32 y = 0;
    // The stitch as the group named it; it carries over like the rest.
    Stitch *stitch = nullptr;
    ChartCell cell;
    CellValues()
    {
        cell.color = QColor();
        for (QColor &color : cell.borderColors)
            color = Qt::black;
    }
};

// The stitch of a stored abbreviation: an unknown one reads as knit. A
// chart uses few stitches, so each is looked up once.
class StitchLookup
{
public:
    Stitch *operator()(QByteArrayView abbreviation)
    {
        if (m_last && abbreviation == QByteArrayView(m_lastAbbreviation))
            return m_last;
        const QByteArray bytes = abbreviation.toByteArray();
        auto known = m_known.constFind(bytes);
        if (known == m_known.constEnd()) {
            StitchSet *catalogue = StitchSet::instance();
            bool found = false;
            Stitch *stitch = catalogue->findStitch(ByteReader::decodeString(bytes), &found);
            known = m_known.insert(bytes, found ? stitch : catalogue->findStitch(QStringLiteral("k")));
        }
        m_lastAbbreviation = bytes;
        m_last = known.value();
        return m_last;
    }

    // The stitch of a group that names none.
    Stitch *none() { return (*this)(QByteArrayView()); }

private:
    QHash<QByteArray, Stitch *> m_known;
    QByteArray m_lastAbbreviation;
    Stitch *m_last = nullptr;
};

bool readCellGroup(ByteReader &in, CellValues &values, StitchLookup &stitchFor)
{
    const CellTags &tags = cellTags();
    if (!in.takeTag(tags.start))
        return false;
    // The values in the order groups are written; each tag is looked for
    // first where the one before it leaves off.
    enum Value { Position, Abbreviation, ImagePosition, Colour, Borders, BorderColours, End, OldAbbreviation };
    const QByteArray *const order[] = {&tags.position, &tags.abbreviation, &tags.imagePosition,
                                       &tags.colour,   &tags.borders,      &tags.borderColours,
                                       &tags.end,      &tags.oldAbbreviation};
    const int valueCount = int(std::size(order));
    int expected = Position;
    while (in.ok()) {
        int value = -1;
        for (int i = 0; i < valueCount && value < 0; ++i) {
            const int candidate = (expected + i) % valueCount;
            if (in.takeTag(*order[candidate]))
                value = candidate;
        }
        expected = (value + 1) % valueCount;
        switch (value) {
        case End:
            return true;
        case Position:
            in.readInt32(values.x);
            in.readInt32(values.y);
            break;
        case Abbreviation:
        case OldAbbreviation: {
            QByteArrayView abbreviation;
            if (in.readStringView(abbreviation))
                values.stitch = stitchFor(abbreviation);
            break;
        }
        case ImagePosition: {
            qint32 imgPos = 0;
            in.readInt32(imgPos);
            values.cell.imgPos = imgPos;
            break;
        }
        case Colour:
            in.readColor(values.cell.color);
            break;
        case Borders:
            for (bool &on : values.cell.borders)
                in.readBool(on);
            break;
        case BorderColours:
            for (QColor &color : values.cell.borderColors)
                in.readColor(color);
            break;
        default:
            return false;
        }
    }
    return false;
}

// Reads the cell groups of a width x height grid into `grid`. False when a
// group is damaged, names a place off the grid, a place is left unnamed or
// the reader gives up; what was read stays.
bool readCells(QDataStream &stream, ChartGrid &grid, const ChartRecord::Progress &progress)
{
    // The reader reads ahead and then puts the device back where the cells
    // end, which only a device that can seek allows.
    QIODevice *device = stream.device();
    if (!device || device->isSequential()) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    const qint64 start = device->pos();
    ByteReader in(device);
    const int width = grid.columnCount();
    const int height = grid.rowCount();
    const qint64 total = qint64(width) * height;
    std::vector<bool> named(size_t(total), false);
    qint64 count = 0;
    StitchLookup stitchFor;
    CellValues values;
    values.stitch = stitchFor.none();

    bool complete = true;
    for (int row = 0; row < height && complete; ++row) {
        if (progress && !progress(count, total)) {
            complete = false;
            break;
        }
        for (int column = 0; column < width; ++column) {
            values.x = column;
            values.y = row;
            if (!readCellGroup(in, values, stitchFor) || values.x < 0 || values.x >= width || values.y < 0
                || values.y >= height) {
                complete = false;
                break;
            }
            // A later group for the same place wins.
            values.cell.stitch = values.stitch;
            grid.restoreCell(values.x, values.y, values.cell);
            named[size_t(values.y) * size_t(width) + size_t(values.x)] = true;
            ++count;
        }
    }
    // The reader read ahead; the stream goes on after the cells.
    if (!device->seek(start + in.position()) || !in.ok())
        stream.setStatus(QDataStream::ReadCorruptData);
    if (!complete)
        return false;
    // Every place must have been named by some cell group.
    return std::find(named.begin(), named.end(), false) == named.end();
}

// One buffer of cell groups, handed to the stream whenever it grows large.
// Neighbouring cells mostly hold the same things, so the bytes of a
// group after its position are kept for the cells written last and copied
// when a cell holds the same again.
class CellWriter
{
public:
    explicit CellWriter(QDataStream &out)
        : m_out(out)
        , m_bytes(m_buffer)
        , m_head(cellTags().start + cellTags().position)
    {
        m_buffer.reserve(writeChunkBytes + 4096);
    }
    ~CellWriter() { flush(); }

    void write(int x, int y, const ChartCell &cell)
    {
        m_bytes.writeRaw(m_head);
        m_bytes.writeInt32(x);
        m_bytes.writeInt32(y);
        m_bytes.writeRaw(valuesOf(cell));
        if (m_buffer.size() >= writeChunkBytes)
            flush();
    }

    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_out.writeRawData(m_buffer.constData(), int(m_buffer.size())) != m_buffer.size())
            m_out.setStatus(QDataStream::WriteFailed);
        m_buffer.clear();
    }

private:
    struct Known
    {
        ChartCell cell;
        QByteArray bytes;
    };

    // The group from the stitch to its end, for the cells written last.
    const QByteArray &valuesOf(const ChartCell &cell)
    {
        int found = 0;
        while (found < m_knownCount && !sameStorage(m_known[found].cell, cell))
            ++found;
        if (found == m_knownCount) {
            found = qMin(m_knownCount, int(std::size(m_known)) - 1);
            m_knownCount = found + 1;
            m_known[found] = Known{cell, encode(cell)};
        }
        std::rotate(m_known, m_known + found, m_known + found + 1);
        return m_known[0].bytes;
    }

    // Equal cells whose colours are stored alike: plain colours only, as
    // ByteWriter reuses them.
    static bool sameStorage(const ChartCell &a, const ChartCell &b)
    {
        if (a != b || a.color.spec() != b.color.spec())
            return false;
        for (int side = 0; side < 4; ++side) {
            if (a.borderColors[side].spec() != b.borderColors[side].spec())
                return false;
        }
        return plain(a.color) && std::all_of(std::begin(a.borderColors), std::end(a.borderColors), plain);
    }

    static bool plain(const QColor &color) { return color.spec() == QColor::Rgb || color.spec() == QColor::Invalid; }

    QByteArray encode(const ChartCell &cell)
    {
        const CellTags &tags = cellTags();
        QByteArray bytes;
        ByteWriter values(bytes);
        values.writeRaw(tags.abbreviation);
        values.writeRaw(abbreviationOf(cell.stitch));
        values.writeRaw(tags.imagePosition);
        values.writeInt32(cell.imgPos);
        values.writeRaw(tags.colour);
        values.writeColor(cell.color);
        values.writeRaw(tags.borders);
        for (bool on : cell.borders)
            values.writeBool(on);
        values.writeRaw(tags.borderColours);
        for (const QColor &color : cell.borderColors)
            values.writeColor(color);
        values.writeRaw(tags.end);
        return bytes;
    }

    const QByteArray &abbreviationOf(const Stitch *stitch)
    {
        auto known = m_abbreviations.constFind(stitch);
        if (known == m_abbreviations.constEnd())
            known = m_abbreviations.insert(
                stitch, ByteWriter::encodeString(stitch ? stitch->stitchID() : QStringLiteral("?")));
        return known.value();
    }

    QDataStream &m_out;
    QByteArray m_buffer;
    ByteWriter m_bytes;
    // "<Cell>" and "X,Y:", which every group starts with.
    const QByteArray m_head;
    QHash<const Stitch *, QByteArray> m_abbreviations;
    Known m_known[8];
    int m_knownCount = 0;
};

} // namespace

bool ChartRecord::recordCanHold(const QDataStream &in, int width, int height)
{
    if (width < 0 || height < 0)
        return false;
    const qint64 left = RecordStream::remainingBytes(in);
    return left < 0 || qint64(width) * height * smallestCellGroup <= left;
}

void ChartRecord::writeScene(QDataStream &out, const ChartGrid &grid)
{
    const QSize cell = grid.options().cellSize;
    out << sceneStart << cellDimensions << qint32(cell.width()) << qint32(cell.height()) << cellsStart;
    {
        CellWriter cells(out);
        for (int y = 0; y < grid.rowCount(); ++y) {
            for (int x = 0; x < grid.columnCount(); ++x)
                cells.write(x, y, grid.cell(x, y));
        }
    }
    out << cellsEnd << sceneEnd;
}

bool ChartRecord::readScene(QDataStream &in, int width, int height, const QSize &cellSize,
                            std::unique_ptr<ChartGrid> &grid, const Progress &progress)
{
    grid.reset();
    QSize size = ChartOptions::saneCellSize(cellSize);
    // The grid as far as it was read, with the cell size the record named.
    auto finish = [&](bool ok) {
        if (!grid)
            grid = std::make_unique<ChartGrid>(0, 0, nullptr);
        grid->setCellSize(size);
        return ok;
    };
    if (!recordCanHold(in, width, height))
        return finish(false);

    const auto readCellDimensions = [&]() {
        qint32 w = 0, h = 0;
        in >> w >> h;
        size = ChartOptions::saneCellSize(QSize(w, h));
        return true;
    };
    const auto readAllCells = [&]() {
        // Places no group names keep the default stitch on white.
        grid = std::make_unique<ChartGrid>(width, height, StitchSet::instance()->defaultStitch(), Qt::white);
        QString end;
        return readCells(in, *grid, progress) && RecordStream::readString(in, end) && end == cellsEnd;
    };
    QString token;
    const bool read = RecordStream::readTags(in, {{cellDimensions, readCellDimensions}, {cellsStart, readAllCells}},
                                             token);
    return finish(read && token == sceneEnd);
}
