#ifndef PATTERNFILE_H
#define PATTERNFILE_H

#include "chartrecord.h"
#include "colournames.h"
#include "directionsrecord.h"
#include "fileversions.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

class QSaveFile;

#include <functional>
#include <memory>
#include <vector>

class Stitch;

// One tab of a pattern: a chart or the Directions page.
struct PatternTab
{
    std::unique_ptr<ChartValues> chart;
    std::unique_ptr<DirectionsValues> directions;
};

// The pattern's gauge: stitches and rows in 10 cm of its fabric; 0 where
// the designer has not given it.
struct Gauge
{
    // Beyond what any yarn knits to, either way; a file saying so is
    // damaged.
    static constexpr double smallest = 0.5;
    static constexpr double largest = 200;

    double stitches = 0;
    double rows = 0;

    bool isGiven() const { return stitches >= smallest; }
    bool operator==(const Gauge &other) const { return stitches == other.stitches && rows == other.rows; }
    bool operator!=(const Gauge &other) const { return !(*this == other); }
};

// The document's own settings, as its record holds them.
struct DocumentSettings
{
    qint32 pageSize = 0;
    // The key's picture on the Directions page, by its hash.
    QByteArray keyHash;
    // The key shows what stitches mean from the wrong side.
    bool showWS = true;
    Gauge gauge;
    // The pattern check's findings the designer dismissed, by their text.
    QStringList dismissed;
    // The names the designer gave yarn colours for the key; colours not
    // named here take the defaults.
    ColourNames::Given colourNames;
};

// A pattern as its file holds it, in plain values.
struct PatternValues
{
    // How many of the designer's own stitches the file brought along.
    int stitchRecords = 0;
    DocumentSettings settings;
    std::vector<PatternTab> tabs;
    // What went wrong reading the file, for the designer; empty when it was
    // read whole.
    QStringList errors;

    QList<const ChartValues *> charts() const;
    // Every stitch the charts use, in the order their cells first show
    // them, chart by chart.
    QList<Stitch *> stitchesUsed() const;
    // Every colour the charts' cells have, once, with the number of cells
    // each, in the order the charts first show them.
    ColourNames::Tally colorTally() const;
};

// A pattern file on disk: a magic number, the format version, then the
// document record: the designer's own stitches the charts use, the
// document's settings and its tabs in order. The window, the command line
// and every tool read and write patterns through this class, so all accept
// and refuse the same files with the same words.
class PatternFile
{
    Q_DECLARE_TR_FUNCTIONS(PatternFile)

public:
    static constexpr qint32 magicNumber = 0x2AC9863F;
    // Files that use nothing added since are written with plainVersion, so
    // that older programs still open them; others with newestVersion,
    // which older programs refuse as newer than they are.
    static constexpr qint32 plainVersion = PatternVersion::plain;
    static constexpr qint32 newestVersion = PatternVersion::newest;
    // The version a file of these charts, stitches and settings is written
    // with.
    // `charts` are the grids with the size of their pictures and the
    // cells they show.
    struct ChartToWrite
    {
        const ChartGrid *grid;
        QSizeF imageSize;
        QRect imageCells;
    };
    static qint32 versionFor(const QList<ChartToWrite> &charts, const QList<Stitch *> &stitchesUsed,
                             const DocumentSettings &settings);

    enum Status { Ok, Unreadable, NotAPattern, TooNew };
    // Told how far the reading has come, in percent, and what it reads;
    // answers false to give up.
    using Progress = std::function<bool(int percent, const QString &what)>;

    explicit PatternFile(const QString &fileName);

    // Opens the file and checks its head. On Ok, stream() stands at the
    // document record; the file is read as the stream goes, never held in
    // memory whole.
    Status open();
    QDataStream &stream() { return m_in; }
    qint32 version() const { return m_version; }
    // What went wrong, in words for the designer.
    QString errorString() const { return m_error; }

    // The document record into plain values, from where stream() stands
    // after open(). Never stops at damage: what was read is kept and the
    // damage is listed in the values' errors. False only when there is no
    // document record at all.
    static bool read(QDataStream &in, PatternValues &values, const Progress &progress = {});

    // Writing, piece by piece, from whatever holds the pattern: the head,
    // the stitches the charts use, the document's settings, its tabs, the
    // end.
    class Writer
    {
    public:
        explicit Writer(QDataStream &out);
        // `version` is versionFor() the charts to be written.
        void begin(qint32 version, const QList<Stitch *> &stitchesUsed, const DocumentSettings &settings);
        void writeChart(const ChartGrid &grid, const QString &title, const QByteArray &hash, const QSizeF &imageSize,
                        const QRect &imageCells = QRect());
        void writeDirections(const QString &name, const QString &html, const QList<DirectionsPicture> &pictures);
        bool finish();

    private:
        QDataStream &m_out;
    };
    static bool write(QDataStream &out, const PatternValues &values);

    // Replaces the file only when `write` wrote the whole pattern, so a
    // failed save never leaves a half-written pattern behind.
    static bool save(const QString &fileName, const std::function<bool(QDataStream &)> &write,
                     QString *error = nullptr);

private:
    Status fail(Status status, const QString &error);
    static QString writeFailure(QSaveFile &file, const QString &fileName);

    QString m_fileName;
    QFile m_file;
    QDataStream m_in;
    qint32 m_version = 0;
    QString m_error;
};

#endif // PATTERNFILE_H
