#include "patternfile.h"

#include "embeddedstitches.h"
#include "preferences.h"
#include "recordbytes.h"
#include "recordstream.h"
#include "stitch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStorageInfo>

namespace {

const QString stitchStart = QStringLiteral("<Stitch>");
const QString documentStart = QStringLiteral("<Document>");
const QString documentEnd = QStringLiteral("</Document>");
const QString pageSizeTag = QStringLiteral("PageSize:");
const QString keyHashTag = QStringLiteral("DocKeyHash:");
const QString showWSTag = QStringLiteral("ShowWS:");
const QString gaugeTag = QStringLiteral("Gauge:");
const QString dismissedTag = QStringLiteral("Dismissed:");
const QString colourNamesTag = QStringLiteral("ColorNames:");
// A colour as the stream writes it, and the length that heads a name.
constexpr int colourBytes = 11;
constexpr int nameEntryBytes = colourBytes + 4;
const QString chartStart = QStringLiteral("<Chart>");
const QString directionsStart = QStringLiteral("<Directions>");

// The document's messages are the document's own words.
QString documentText(const char *text)
{
    return QCoreApplication::translate("Document", text);
}

// Until a chart's record names its cell size, the preferred one stands.
QSize preferredCellSize()
{
    return QSize(Preferences::cellWidth.value(),
                 Preferences::cellHeight.value());
}

// Two numbers a pattern's fabric can have; anything else reads as no
// gauge given.
void readGauge(QDataStream &in, Gauge &gauge)
{
    double stitches = 0, rows = 0;
    in >> stitches >> rows;
    const auto sane = [](double value) {
        return value == 0 || (value >= Gauge::smallest && value <= Gauge::largest);
    };
    if (sane(stitches) && sane(rows)) {
        gauge = Gauge{stitches, rows};
        return;
    }
    qWarning("A gauge of %g stitches and %g rows in 10 cm is out of range; read as not given", stitches, rows);
    gauge = Gauge();
}

// One colour of a name entry. A colour of a kind Qt does not know, or no
// colour at all, names nothing; the entry is left out, not the file.
QColor readEntryColour(QDataStream &in)
{
    QByteArray bytes(colourBytes, Qt::Uninitialized);
    if (in.readRawData(bytes.data(), colourBytes) != colourBytes) {
        in.setStatus(QDataStream::ReadPastEnd);
        return QColor();
    }
    QDataStream entry(bytes);
    entry.setVersion(in.version());
    entry.setByteOrder(in.byteOrder());
    QColor colour;
    if (!readStreamColor(entry, colour) || !colour.isValid())
        return QColor();
    return colour;
}

// The colours' names: a count, then per entry a colour and its name. An
// entry no designer could have given (no colour, no name, one longer than
// a key holds) is left out with a warning; a count the file cannot hold
// is damage.
bool readColourNames(QDataStream &in, ColourNames::Given &names)
{
    qint32 count = 0;
    if (!RecordStream::readCount(in, count, nameEntryBytes))
        return false;
    names.clear();
    for (qint32 i = 0; i < count; ++i) {
        const QColor colour = readEntryColour(in);
        QString name;
        if (in.status() != QDataStream::Ok || !RecordStream::readString(in, name))
            return false;
        const QString kept = ColourNames::cleaned(name);
        if (!colour.isValid() || kept.isEmpty() || name.simplified().size() > ColourNames::longestName) {
            qWarning("A colour's name in the key is damaged or longer than %d characters; left out",
                     ColourNames::longestName);
            continue;
        }
        names.insert(colour.rgba(), kept);
    }
    return true;
}

void writeColourNames(QDataStream &out, const ColourNames::Given &names)
{
    out << colourNamesTag << qint32(names.size());
    for (auto name = names.cbegin(); name != names.cend(); ++name)
        out << QColor::fromRgba(name.key()) << name.value();
}

} // namespace

QList<const ChartValues *> PatternValues::charts() const
{
    QList<const ChartValues *> list;
    for (const PatternTab &tab : tabs) {
        if (tab.chart)
            list.append(tab.chart.get());
    }
    return list;
}

QList<Stitch *> PatternValues::stitchesUsed() const
{
    QList<Stitch *> used;
    QHash<Stitch *, bool> seen;
    for (const ChartValues *chart : charts()) {
        for (const auto &tally : chart->grid->stitchTally()) {
            if (tally.first && !seen.contains(tally.first)) {
                seen.insert(tally.first, true);
                used.append(tally.first);
            }
        }
    }
    return used;
}

ColourNames::Tally PatternValues::colorTally() const
{
    ColourNames::Tally used;
    for (const ChartValues *chart : charts())
        used += chart->grid->colorTally();
    return ColourNames::merged(used);
}

PatternFile::PatternFile(const QString &fileName)
    : m_fileName(fileName)
    , m_file(fileName)
{
}

PatternFile::Status PatternFile::fail(Status status, const QString &error)
{
    m_error = error;
    return status;
}

PatternFile::Status PatternFile::open()
{
    // A folder or a device is no pattern file, and reading it could block.
    if (!QFileInfo(m_fileName).isFile() && QFileInfo::exists(m_fileName))
        return fail(Unreadable, tr("Could not read %1: %2").arg(QDir::toNativeSeparators(m_fileName), tr("not a file")));
    if (!m_file.open(QIODevice::ReadOnly))
        return fail(Unreadable,
                    tr("Could not read %1: %2").arg(QDir::toNativeSeparators(m_fileName), m_file.errorString()));
    m_in.setDevice(&m_file);
    m_in.setByteOrder(QDataStream::BigEndian);

    qint32 magic = 0;
    m_in >> magic;
    if (magic != magicNumber)
        return fail(NotAPattern, tr("This file is not recognized by %1.").arg(QCoreApplication::applicationName()));
    m_in >> m_version;
    if (m_version > newestVersion)
        return fail(TooNew, tr("This appears to be a saved file from a more recent version of the software, and "
                               "cannot be opened with this version."));
    return Ok;
}

bool PatternFile::read(QDataStream &in, PatternValues &values, const Progress &progress)
{
    in.setVersion(QDataStream::Qt_4_5);
    QString tag;
    RecordStream::readString(in, tag);
    while (tag == stitchStart && in.status() == QDataStream::Ok) {
        EmbeddedStitches::read(in);
        ++values.stitchRecords;
        RecordStream::readString(in, tag);
    }
    if (tag != documentStart) {
        values.errors.append(documentText("Error loading file - missing document section"));
        return false;
    }

    const auto tell = [&](int percent, const QString &what) { return !progress || progress(percent, what); };
    tell(10, documentText("Pattern File"));
    const QSize cellSize = preferredCellSize();
    const auto readChart = [&]() {
        PatternTab tab;
        tab.chart = std::make_unique<ChartValues>();
        ChartValues &chart = *tab.chart;
        const bool read = ChartRecord::read(in, chart, cellSize, [&](qint64 done, qint64 total) {
            const int within = total > 0 ? int(40 * done / total) : 0;
            return tell(qMin(50 + within, 99), documentText("Loading") + QLatin1Char(' ') + chart.title);
        });
        if (!read)
            values.errors.append(documentText("Error loading chart from pattern file"));
        values.tabs.push_back(std::move(tab));
        return true;
    };
    const auto readDirections = [&]() {
        tell(50, documentText("Directions"));
        PatternTab tab;
        tab.directions = std::make_unique<DirectionsValues>();
        if (!DirectionsRecord::read(in, *tab.directions))
            values.errors += tab.directions->errors;
        values.tabs.push_back(std::move(tab));
        return true;
    };
    // A damaged chart or Directions record is reported and the rest read on
    // for as long as the stream holds together.
    RecordStream::readTags(in,
                           {{pageSizeTag, [&]() { in >> values.settings.pageSize; return true; }},
                            {showWSTag, [&]() { in >> values.settings.showWS; return true; }},
                            {keyHashTag, [&]() { return RecordStream::readBytes(in, values.settings.keyHash); }},
                            {gaugeTag, [&]() { readGauge(in, values.settings.gauge); return true; }},
                            {dismissedTag,
                             [&]() { return RecordStream::readStringList(in, values.settings.dismissed); }},
                            {colourNamesTag, [&]() { return readColourNames(in, values.settings.colourNames); }},
                            {chartStart, readChart},
                            {directionsStart, readDirections}},
                           tag);
    if (tag != documentEnd && values.errors.isEmpty())
        values.errors.append(documentText("Error loading file - missing end of document section"));
    tell(100, QString());
    if (!in.atEnd())
        values.errors.append(documentText("Found unexpected extra data while loading pattern file"));
    return true;
}

PatternFile::Writer::Writer(QDataStream &out)
    : m_out(out)
{
}

qint32 PatternFile::versionFor(const QList<ChartToWrite> &charts, const QList<Stitch *> &stitchesUsed,
                               const DocumentSettings &settings)
{
    qint32 version = plainVersion;
    if (settings.gauge != Gauge() || !settings.dismissed.isEmpty())
        version = PatternVersion::check;
    if (!settings.colourNames.isEmpty())
        version = PatternVersion::print;
    if (EmbeddedStitches::needsNewerVersion(stitchesUsed))
        version = qMax(version, PatternVersion::repeats);
    for (const ChartToWrite &chart : charts)
        version = qMax(version, ChartRecord::versionFor(*chart.grid, chart.imageSize, chart.imageCells));
    return version;
}

void PatternFile::Writer::begin(qint32 version, const QList<Stitch *> &stitchesUsed,
                                const DocumentSettings &settings)
{
    m_out.setByteOrder(QDataStream::BigEndian);
    m_out.setVersion(QDataStream::Qt_4_5);
    m_out << magicNumber << version;
    EmbeddedStitches::write(m_out, stitchesUsed);
    m_out << documentStart;
    m_out << pageSizeTag << settings.pageSize;
    m_out << keyHashTag << settings.keyHash;
    m_out << showWSTag << settings.showWS;
    // Only a pattern that has them carries them, so that others keep their
    // bytes and the version older programs read.
    if (settings.gauge != Gauge())
        m_out << gaugeTag << settings.gauge.stitches << settings.gauge.rows;
    if (!settings.dismissed.isEmpty())
        m_out << dismissedTag << settings.dismissed;
    if (!settings.colourNames.isEmpty())
        writeColourNames(m_out, settings.colourNames);
}

void PatternFile::Writer::writeChart(const ChartGrid &grid, const QString &title, const QByteArray &hash,
                                     const QSizeF &imageSize, const QRect &imageCells)
{
    m_out << chartStart;
    ChartRecord::write(m_out, grid, title, hash, imageSize, imageCells);
}

void PatternFile::Writer::writeDirections(const QString &name, const QString &html,
                                          const QList<DirectionsPicture> &pictures)
{
    DirectionsRecord::write(m_out, name, html, pictures);
}

bool PatternFile::Writer::finish()
{
    if (m_out.status() != QDataStream::Ok)
        return false;
    m_out << documentEnd;
    return m_out.status() == QDataStream::Ok;
}

bool PatternFile::write(QDataStream &out, const PatternValues &values)
{
    QList<ChartToWrite> grids;
    for (const ChartValues *chart : values.charts())
        grids.append({chart->grid.get(), chart->imageSize, chart->imageCells});
    Writer writer(out);
    const QList<Stitch *> stitches = values.stitchesUsed();
    writer.begin(versionFor(grids, stitches, values.settings), stitches, values.settings);
    for (const PatternTab &tab : values.tabs) {
        if (tab.chart)
            writer.writeChart(*tab.chart->grid, tab.chart->title, tab.chart->hash, tab.chart->imageSize,
                              tab.chart->imageCells);
        else if (tab.directions)
            writer.writeDirections(tab.directions->name, tab.directions->html, tab.directions->pictures);
    }
    return writer.finish();
}

bool PatternFile::save(const QString &fileName, const std::function<bool(QDataStream &)> &write, QString *error)
{
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        QDataStream out(&file);
        written = write(out) && file.commit();
    }
    if (!written) {
        if (error)
            *error = writeFailure(file, fileName);
        file.cancelWriting();
    }
    return written;
}

// Why a save failed, in words a designer can act on. A stream that fails
// on a full disk reports no reason of its own; writing out what it holds
// brings the system's, and a disk with next to no room left says it too.
QString PatternFile::writeFailure(QSaveFile &file, const QString &fileName)
{
    file.flush();
    const QStorageInfo disk(QFileInfo(fileName).absolutePath());
    const bool full = disk.isValid() && disk.bytesAvailable() < 64 * 1024;
    if (file.error() == QFileDevice::ResourceError || full)
        return tr("the disk is full");
    const QString reason = file.errorString();
    return reason.isEmpty() || reason == QLatin1String("Unknown error") ? tr("the file could not be written") : reason;
}
