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

#include <QBuffer>
#include <QDataStream>
#include <QHash>

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
    QByteArray abbreviation;
    ChartCell cell;
    CellValues()
    {
        cell.color = QColor();
        for (QColor &color : cell.borderColors)
            color = Qt::black;
    }
};

bool readCellGroup(ByteReader &in, CellValues &values)
{
    const CellTags &tags = cellTags();
    if (!in.takeTag(tags.start))
        return false;
    while (in.ok()) {
        if (in.takeTag(tags.end)) {
            return true;
        } else if (in.takeTag(tags.position)) {
            in.readInt32(values.x);
            in.readInt32(values.y);
        } else if (in.takeTag(tags.abbreviation) || in.takeTag(tags.oldAbbreviation)) {
            in.readStringBytes(values.abbreviation);
        } else if (in.takeTag(tags.imagePosition)) {
            qint32 imgPos = 0;
            in.readInt32(imgPos);
            values.cell.imgPos = imgPos;
        } else if (in.takeTag(tags.colour)) {
            in.readColor(values.cell.color);
        } else if (in.takeTag(tags.borders)) {
            for (bool &on : values.cell.borders)
                in.readBool(on);
        } else if (in.takeTag(tags.borderColours)) {
            for (QColor &color : values.cell.borderColors)
                in.readColor(color);
        } else {
            return false;
        }
    }
    return false;
}

// The stitch of a stored abbreviation: an unknown one reads as knit. A
// chart uses few stitches, so each is looked up once.
class StitchLookup
{
public:
    Stitch *operator()(const QByteArray &abbreviation)
    {
        if (m_last && abbreviation == m_lastAbbreviation)
            return m_last;
        auto known = m_known.constFind(abbreviation);
        if (known == m_known.constEnd()) {
            StitchSet *catalogue = StitchSet::instance();
            bool found = false;
            Stitch *stitch = catalogue->findStitch(ByteReader::decodeString(abbreviation), &found);
            known = m_known.insert(abbreviation, found ? stitch : catalogue->findStitch(QStringLiteral("k")));
        }
        m_lastAbbreviation = abbreviation;
        m_last = known.value();
        return m_last;
    }

private:
    QHash<QByteArray, Stitch *> m_known;
    QByteArray m_lastAbbreviation;
    Stitch *m_last = nullptr;
};

// The bytes the stream has yet to read, without copying them where the
// stream reads from memory.
QByteArray unreadBytes(QIODevice *device)
{
    if (auto *buffer = qobject_cast<QBuffer *>(device)) {
        const QByteArray &data = buffer->data();
        const qint64 pos = buffer->pos();
        return QByteArray::fromRawData(data.constData() + pos, data.size() - pos);
    }
    return device->peek(device->bytesAvailable());
}

// Reads the cell groups of a width x height grid into `grid`. False when a
// group is damaged, names a place off the grid, a place is left unnamed or
// the reader gives up; what was read stays.
bool readCells(QDataStream &stream, ChartGrid &grid, const ChartRecord::Progress &progress)
{
    QIODevice *device = stream.device();
    if (!device)
        return false;
    const QByteArray bytes = unreadBytes(device);
    ByteReader in(bytes.constData(), bytes.size());
    const int width = grid.columnCount();
    const int height = grid.rowCount();
    const qint64 total = qint64(width) * height;
    std::vector<bool> named(size_t(total), false);
    qint64 count = 0;
    StitchLookup stitchFor;
    CellValues values;

    bool complete = true;
    for (int row = 0; row < height && complete; ++row) {
        if (progress && !progress(count, total)) {
            complete = false;
            break;
        }
        for (int column = 0; column < width; ++column) {
            values.x = column;
            values.y = row;
            if (!readCellGroup(in, values) || values.x < 0 || values.x >= width || values.y < 0
                || values.y >= height) {
                complete = false;
                break;
            }
            // A later group for the same place wins.
            ChartCell cell = values.cell;
            cell.stitch = stitchFor(values.abbreviation);
            grid.restoreCell(values.x, values.y, cell);
            named[size_t(values.y) * size_t(width) + size_t(values.x)] = true;
            ++count;
        }
    }
    device->seek(device->pos() + in.position());
    if (!in.ok())
        stream.setStatus(QDataStream::ReadCorruptData);
    if (!complete)
        return false;
    // Every place must have been named by some cell group.
    return std::find(named.begin(), named.end(), false) == named.end();
}

// One buffer of cell groups, handed to the stream whenever it grows large.
class CellWriter
{
public:
    explicit CellWriter(QDataStream &out)
        : m_out(out)
        , m_bytes(m_buffer)
    {
        m_buffer.reserve(writeChunkBytes + 4096);
    }
    ~CellWriter() { flush(); }

    void write(int x, int y, const ChartCell &cell)
    {
        const CellTags &tags = cellTags();
        m_bytes.writeRaw(tags.start);
        m_bytes.writeRaw(tags.position);
        m_bytes.writeInt32(x);
        m_bytes.writeInt32(y);
        m_bytes.writeRaw(tags.abbreviation);
        m_bytes.writeRaw(abbreviationOf(cell.stitch));
        m_bytes.writeRaw(tags.imagePosition);
        m_bytes.writeInt32(cell.imgPos);
        m_bytes.writeRaw(tags.colour);
        m_bytes.writeColor(cell.color);
        m_bytes.writeRaw(tags.borders);
        for (bool on : cell.borders)
            m_bytes.writeBool(on);
        m_bytes.writeRaw(tags.borderColours);
        for (const QColor &color : cell.borderColors)
            m_bytes.writeColor(color);
        m_bytes.writeRaw(tags.end);
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
    QHash<const Stitch *, QByteArray> m_abbreviations;
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

    QString token;
    while (RecordStream::readString(in, token)) {
        if (token == cellDimensions) {
            qint32 w = 0, h = 0;
            in >> w >> h;
            size = ChartOptions::saneCellSize(QSize(w, h));
        } else if (token == cellsStart) {
            // Places no group names keep the default stitch on white.
            grid = std::make_unique<ChartGrid>(width, height, StitchSet::instance()->defaultStitch(), Qt::white);
            const bool complete = readCells(in, *grid, progress);
            if (!complete || !RecordStream::readString(in, token) || token != cellsEnd)
                return finish(false);
        } else if (token == sceneEnd) {
            return finish(true);
        } else {
            break;
        }
    }
    return finish(false);
}
