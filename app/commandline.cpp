#include "commandline.h"

#include "chartgrid.h"
#include "chartinstructions.h"
#include "directionsrecord.h"
#include "instructionparser.h"
#include "chartpages.h"
#include "chartpicture.h"
#include "directionsprinter.h"
#include "document.h"
#include "patterncheck.h"
#include "patternfile.h"
#include "preferences.h"
#include "settings.h"
#include "stitchkey.h"
#include "stitchset.h"
#include "version.h"
#include "writtenpattern.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTextDocument>

#include <cmath>
#include <cstdio>

namespace {

const QString instructionsOption = QStringLiteral("instructions");
const QString pdfOption = QStringLiteral("export-pdf");
const QString chartImageOption = QStringLiteral("export-chart");
const QString keyOption = QStringLiteral("export-key");
const QString selectOption = QStringLiteral("select");
const QString chartOption = QStringLiteral("chart");
const QString dpiOption = QStringLiteral("dpi");
const QString widthOption = QStringLiteral("width");
const QString rowsOption = QStringLiteral("rows");
const QString stitchesOption = QStringLiteral("stitches");
const QString styleOption = QStringLiteral("style");
const QString fromWrittenOption = QStringLiteral("from-written");
const QString checkOption = QStringLiteral("check");
const QString formatOption = QStringLiteral("format");
// No written pattern is longer; a bigger file is something else.
constexpr qint64 largestWrittenPattern = 1 << 20;

// The title a PDF of the pattern carries: the first line of its
// Directions page.
QString patternTitle(const PatternValues &pattern)
{
    for (const PatternTab &tab : pattern.tabs) {
        if (tab.directions) {
            QTextDocument page;
            page.setHtml(tab.directions->html);
            return DirectionsPrinter::titleOf(page.toPlainText());
        }
    }
    return QString();
}

// The key shows the repeat box as the charts draw it: in the colour of the
// last box marked; invalid when no chart has one.
QColor repeatColor(const PatternValues &pattern)
{
    QColor color;
    for (const ChartValues *chart : pattern.charts())
        color = RepeatBoxes::colorOf(chart->grid->repeats(), color);
    return color;
}

// The key as the window draws it, with the colours named as it names them.
StitchKey patternKey(const PatternValues &pattern)
{
    const bool gray = Preferences::grayNoStitch.value();
    return StitchKey(pattern.stitchesUsed(), pattern.settings.showWS, gray, repeatColor(pattern),
                     ColourNames::forKey(pattern.colorTally(), pattern.settings.colourNames));
}

// The charts' and the key's pictures on the Directions page, drawn anew
// for print as the window draws them.
PictureArtworks pictureArtworks(const PatternValues &pattern)
{
    PictureArtworks artworks;
    for (const ChartValues *chart : pattern.charts()) {
        if (chart->hash.isEmpty())
            continue;
        const ChartGrid *grid = chart->grid.get();
        const QRect cells = ChartPicture::cellsOfPart(*grid, chart->imageCells);
        artworks.insert(DirectionsRecord::imageName(chart->hash), [grid, cells](QPainter *painter, const QRectF &target) {
            ChartPicture::printPart(painter, *grid, ChartPicture::preferredStyle(*grid), cells, target);
        });
    }
    if (!pattern.settings.keyHash.isEmpty()) {
        const StitchKey key = patternKey(pattern);
        artworks.insert(DirectionsRecord::imageName(pattern.settings.keyHash),
                        [key](QPainter *painter, const QRectF &target) { key.paint(painter, target); });
    }
    return artworks;
}

} // namespace

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(tr("Designs knitting patterns. Without options, opens the given pattern "
                                          "files in the window; with one of the export options, writes from a "
                                          "pattern file without a window and exits."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOptions({
        {instructionsOption, tr("Print the written instructions of every chart.")},
        {styleOption, tr("How --instructions writes: \"plain\" (every row in full) or \"published\" (with "
                         "repeats and stitch counts). Each chart's own style by default."),
         tr("STYLE")},
        {pdfOption, tr("Write a PDF file, as File > Export to PDF does."), tr("OUT.pdf")},
        {checkOption, tr("Check the pattern as a technical editor would and print what is found, one finding a "
                         "line. The status is 1 when there is an error.")},
        {formatOption, tr("How --check prints: \"text\" (the default) or \"json\"."), tr("FORMAT")},
        {fromWrittenOption,
         tr("Write the pattern file given after the options with one chart built from the written pattern "
            "IN.txt. Lines that cannot be read are listed, and nothing is written."),
         tr("IN.txt")},
        {chartImageOption, tr("Write a chart picture; the format follows OUT's suffix (png, jpg, tif, bmp, svg)."),
         tr("OUT")},
        {keyOption, tr("Write the stitch key as a picture or SVG."), tr("OUT")},
        {selectOption, tr("What the PDF holds: \"[Document]\" (the default), \"[Key]\" or a chart name. Repeat for "
                          "several charts."),
         tr("ITEM")},
        {chartOption, tr("The chart to export (the first one by default)."), tr("NAME")},
        {dpiOption, tr("The picture's resolution, of a chart or the key (the output resolution preference by "
                       "default)."),
         tr("N")},
        {widthOption, tr("The picture's width in pixels (the chart's own by default); the height follows."),
         tr("PX")},
        {rowsOption, tr("The rows of the chart to export, by the chart's row numbers (all by default)."),
         tr("FIRST-LAST")},
        {stitchesOption, tr("The stitches of the chart to export, by the chart's stitch numbers (all by default)."),
         tr("FIRST-LAST")},
    });
    m_parser.addPositionalArgument(tr("files"), tr("Pattern files (.kit)."), tr("[FILE.kit ...]"));
}

bool CommandLine::wantsBatch(int argc, char *argv[])
{
    static const QList<QByteArray> batchOptions = {"--instructions", "--export-pdf", "--export-chart",
                                                   "--export-key", "--from-written", "--check", "--help", "-h",
                                                   "--version", "-v", "-?"};
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        for (const QByteArray &option : batchOptions) {
            if (argument == option || argument.startsWith(option + '='))
                return true;
        }
    }
    return false;
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return false;
    }
    m_files = m_parser.positionalArguments();

    QList<Mode> modes;
    if (m_parser.isSet(QStringLiteral("help")))
        modes << Help;
    if (m_parser.isSet(QStringLiteral("version")))
        modes << ShowVersion;
    if (m_parser.isSet(instructionsOption))
        modes << Instructions;
    if (m_parser.isSet(pdfOption))
        modes << ExportPdf;
    if (m_parser.isSet(chartImageOption))
        modes << ExportChart;
    if (m_parser.isSet(keyOption))
        modes << ExportKey;
    if (m_parser.isSet(fromWrittenOption))
        modes << FromWritten;
    if (m_parser.isSet(checkOption))
        modes << Check;
    if (modes.size() > 1 && !modes.contains(Help)) {
        m_error = tr("Give only one of --instructions, --export-pdf, --export-chart, --export-key, "
                     "--from-written and --check.");
        return false;
    }
    m_mode = modes.contains(Help) ? Help : modes.value(0, OpenFiles);
    return checkOptions();
}

bool CommandLine::checkOptions()
{
    const auto onlyWith = [this](const QString &option, Mode mode, const QString &modeOption) {
        if (m_parser.isSet(option) && m_mode != mode && m_mode != Help) {
            m_error = tr("--%1 goes with --%2.").arg(option, modeOption);
            return false;
        }
        return true;
    };
    if (!onlyWith(selectOption, ExportPdf, pdfOption) || !onlyWith(chartOption, ExportChart, chartImageOption)
        || (m_mode != ExportKey && !onlyWith(dpiOption, ExportChart, chartImageOption))
        || !onlyWith(widthOption, ExportChart, chartImageOption)
        || !onlyWith(rowsOption, ExportChart, chartImageOption)
        || !onlyWith(stitchesOption, ExportChart, chartImageOption)
        || !onlyWith(styleOption, Instructions, instructionsOption) || !onlyWith(formatOption, Check, checkOption))
        return false;

    switch (m_mode) {
    case OpenFiles:
    case Help:
    case ShowVersion:
        return true;
    case Instructions:
        if (!parseStyle())
            return false;
        break;
    case ExportPdf:
        m_output = m_parser.value(pdfOption);
        break;
    case ExportChart:
        m_output = m_parser.value(chartImageOption);
        if (!parseNumber(dpiOption, ChartPicture::lowestDpi, ChartPicture::highestDpi, &m_dpi)
            || !parseNumber(widthOption, ChartPicture::smallestSide, ChartPicture::largestSide, &m_width)
            || !parseRange(rowsOption, &m_rows) || !parseRange(stitchesOption, &m_stitches))
            return false;
        break;
    case ExportKey:
        m_output = m_parser.value(keyOption);
        if (!parseNumber(dpiOption, ChartPicture::lowestDpi, ChartPicture::highestDpi, &m_dpi))
            return false;
        break;
    case Check:
        if (m_parser.isSet(formatOption) && m_parser.value(formatOption) != QLatin1String("text")
            && m_parser.value(formatOption) != QLatin1String("json")) {
            m_error = tr("--format takes \"text\" or \"json\".");
            return false;
        }
        break;
    case FromWritten:
        if (m_files.size() != 1) {
            m_error = tr("Give exactly one pattern file to write.");
            return false;
        }
        m_output = m_files.first();
        return true;
    }
    if (m_files.size() != 1) {
        m_error = tr("Give exactly one pattern file to read.");
        return false;
    }
    if ((m_mode == ExportChart || m_mode == ExportKey) && !isPictureSuffix(m_output)) {
        m_error = tr("%1 needs a picture suffix: png, jpg, tif, bmp or svg.").arg(m_output);
        return false;
    }
    return true;
}

bool CommandLine::parseStyle()
{
    if (!m_parser.isSet(styleOption))
        return true;
    const QString style = m_parser.value(styleOption);
    if (style == QLatin1String("plain")) {
        m_style = WrittenStyle::Plain;
    } else if (style == QLatin1String("published")) {
        m_style = WrittenStyle::Published;
    } else {
        m_error = tr("--style takes \"plain\" or \"published\".");
        return false;
    }
    return true;
}

bool CommandLine::parseNumber(const QString &option, int lowest, int highest, int *value)
{
    if (!m_parser.isSet(option))
        return true;
    bool ok = false;
    *value = m_parser.value(option).toInt(&ok);
    if (!ok || *value < lowest || *value > highest) {
        m_error = tr("--%1 takes a whole number from %2 to %3.").arg(option).arg(lowest).arg(highest);
        return false;
    }
    return true;
}

int CommandLine::pictureDpi() const
{
    return qBound(ChartPicture::lowestDpi, m_dpi > 0 ? m_dpi : Preferences::outputResolution.value(), ChartPicture::highestDpi);
}

bool CommandLine::parseRange(const QString &option, QPair<int, int> *range)
{
    if (!m_parser.isSet(option))
        return true;
    const QStringList ends = m_parser.value(option).split(QLatin1Char('-'));
    bool firstOk = false, lastOk = false;
    const int first = ends.first().trimmed().toInt(&firstOk);
    const int last = ends.last().trimmed().toInt(&lastOk);
    if (ends.size() > 2 || !firstOk || !lastOk || first < 1 || last < first) {
        m_error = tr("--%1 takes the first and last to export, such as 1-12.").arg(option);
        return false;
    }
    *range = {first, last};
    return true;
}

bool CommandLine::partOf(const ChartGrid &grid, QRect *cells, QTextStream &err) const
{
    const int columns = grid.columnCount();
    const int rows = grid.rowCount();
    const ChartOptions &numbering = grid.options();
    // Rows and stitches go by the chart's own numbers; a row number the
    // chart does not carry (every second row charted) is no row.
    const auto rowOf = [&numbering, rows](int number) {
        const int row = numbering.rowNumbered(number);
        return row >= 1 && row <= rows && numbering.shownRowNumber(row) == number ? row : 0;
    };
    const auto stitchOf = [&numbering, columns](int number) {
        const int stitch = number - numbering.columnNumberOffset;
        return stitch >= 1 && stitch <= columns ? stitch : 0;
    };
    const int firstRow = m_rows.first > 0 ? rowOf(m_rows.first) : 1;
    const int lastRow = m_rows.first > 0 ? rowOf(m_rows.second) : rows;
    const int firstStitch = m_stitches.first > 0 ? stitchOf(m_stitches.first) : 1;
    const int lastStitch = m_stitches.first > 0 ? stitchOf(m_stitches.second) : columns;
    if (firstRow == 0 || lastRow == 0 || firstStitch == 0 || lastStitch == 0) {
        err << tr("The chart's rows are numbered %1 to %2 and its stitches %3 to %4.")
                   .arg(numbering.shownRowNumber(1))
                   .arg(numbering.shownRowNumber(rows))
                   .arg(numbering.shownStitchNumber(1))
                   .arg(numbering.shownStitchNumber(columns));
        if (numbering.skipRows)
            err << ' ' << tr("Only every second row is charted: give row numbers the chart shows.");
        err << '\n';
        return false;
    }
    *cells = QRect(columns - lastStitch, rows - lastRow, lastStitch - firstStitch + 1, lastRow - firstRow + 1);
    return true;
}

bool CommandLine::isPictureSuffix(const QString &fileName)
{
    static const QStringList suffixes = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("bmp"),
                                         QStringLiteral("svg")};
    return suffixes.contains(QFileInfo(fileName).suffix().toLower());
}

int CommandLine::run(QTextStream &out, QTextStream &err)
{
    switch (m_mode) {
    case OpenFiles:
        return Success;
    case Help:
        out << m_parser.helpText();
        return Success;
    case ShowVersion:
        out << QCoreApplication::applicationName() << ' ' << Version::instance()->fullText() << '\n';
        return Success;
    default:
        break;
    }

    if (m_mode == FromWritten)
        return fromWritten(err);
    PatternValues pattern;
    if (!loadPattern(m_files.first(), pattern, err))
        return Failed;
    switch (m_mode) {
    case Instructions:
        return printInstructions(pattern, out);
    case ExportPdf:
        return exportPdf(pattern, err);
    case ExportChart:
        return exportChart(pattern, err);
    case ExportKey:
        return exportKey(pattern, err);
    case Check:
        return check(pattern, out);
    default:
        return Success;
    }
}

// A damaged pattern is refused rather than exported in part: a script
// would otherwise publish the damage without anyone seeing the warning.
bool CommandLine::loadPattern(const QString &fileName, PatternValues &pattern, QTextStream &err)
{
    PatternFile file(fileName);
    const PatternFile::Status status = file.open();
    if (status == PatternFile::Unreadable) {
        err << file.errorString() << '\n'; // it names the file
        return false;
    }
    if (status != PatternFile::Ok) {
        err << QDir::toNativeSeparators(fileName) << ": " << file.errorString() << '\n';
        return false;
    }
    if (!PatternFile::read(file.stream(), pattern) || !pattern.errors.isEmpty()) {
        const QStringList errors = pattern.errors.isEmpty() ? QStringList(tr("Error loading file %1.").arg(fileName))
                                                            : pattern.errors;
        for (const QString &error : errors)
            err << QDir::toNativeSeparators(fileName) << ": " << error << '\n';
        return false;
    }
    return true;
}

int CommandLine::printInstructions(const PatternValues &pattern, QTextStream &out)
{
    for (const ChartValues *chart : pattern.charts())
        out << ChartInstructions::text(chart->title, *chart->grid,
                                       m_style.value_or(chart->grid->options().written.style));
    return Success;
}

int CommandLine::check(const PatternValues &pattern, QTextStream &out)
{
    const QList<PatternCheck::Finding> findings = PatternCheck::check(pattern, Preferences::floatLimit.value());
    const QStringList &dismissed = pattern.settings.dismissed;
    // What the designer dismissed is neither printed nor counted; scripts
    // see it marked.
    const QList<PatternCheck::Finding> shown = PatternCheck::withoutDismissed(findings, dismissed);
    if (m_parser.value(formatOption) == QLatin1String("json")) {
        out << QString::fromUtf8(PatternCheck::json(findings, dismissed));
    } else {
        for (const PatternCheck::Finding &finding : shown)
            out << PatternCheck::severityName(finding.severity) << ": " << finding.message << '\n';
    }
    return PatternCheck::hasErrors(shown) ? Failed : Success;
}

// Every line of the written pattern must be read; otherwise nothing is
// written, so that no script keeps a chart that lost a row.
int CommandLine::fromWritten(QTextStream &err)
{
    const QString input = m_parser.value(fromWrittenOption);
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly)) {
        err << tr("Could not read %1: %2").arg(QDir::toNativeSeparators(input), file.errorString()) << '\n';
        return Failed;
    }
    if (file.size() > largestWrittenPattern) {
        err << tr("%1 is too long to be a written pattern.").arg(QDir::toNativeSeparators(input)) << '\n';
        return Failed;
    }
    const InstructionParser parser(StitchSet::instance()->keyWords());
    const WrittenPattern written = WrittenPattern::read(QString::fromUtf8(file.readAll()), parser);
    QStringList unread = written.problems;
    for (const QString &note : written.notes)
        unread.append(tr("Not a row: %1").arg(note));
    if (!written.hasRows())
        unread.append(tr("No rows were found (\"Row 1: k2, p2\")."));
    if (!unread.isEmpty()) {
        for (const QString &line : std::as_const(unread))
            err << QDir::toNativeSeparators(input) << ": " << line << '\n';
        return Failed;
    }

    PatternValues pattern;
    pattern.tabs.emplace_back();
    pattern.tabs.back().directions = std::make_unique<DirectionsValues>();
    pattern.tabs.emplace_back();
    auto chart = std::make_unique<ChartValues>();
    chart->title = written.title.isEmpty() ? QFileInfo(input).completeBaseName() : written.title;
    chart->grid = written.chart(parser);
    pattern.tabs.back().chart = std::move(chart);
    QString error;
    if (!PatternFile::save(m_output, [&pattern](QDataStream &out) { return PatternFile::write(out, pattern); },
                           &error)) {
        err << error << '\n';
        return Failed;
    }
    return Success;
}

int CommandLine::exportPdf(const PatternValues &pattern, QTextStream &err)
{
    const QString documentItem = Document::tr("[Document]");
    const QString keyItem = Document::tr("[Key]");
    QStringList selection = m_parser.values(selectOption);
    if (selection.isEmpty())
        selection << documentItem;
    const bool wholePage = selection.contains(documentItem) || selection.contains(keyItem);
    if (wholePage && selection.size() > 1) {
        err << tr("%1 and %2 each make a PDF of their own; select them alone.").arg(documentItem, keyItem) << '\n';
        return UsageError;
    }
    if (!wholePage) {
        for (const QString &item : std::as_const(selection)) {
            if (!findChart(pattern, item, err))
                return Failed;
        }
    }

    const bool written = writeReplacing(m_output, [&](const QString &path) {
        QPrinter printer(QPrinter::HighResolution);
        Document::setupPrinter(&printer, patternTitle(pattern));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (selection.first() == documentItem) {
            const PictureArtworks artworks = pictureArtworks(pattern);
            for (const PatternTab &tab : pattern.tabs) {
                if (tab.directions)
                    DirectionsPrinter::print(tab.directions->html, tab.directions->pictures, &printer, artworks);
            }
            return true;
        }
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        if (selection.first() == keyItem) {
            patternKey(pattern).print(&painter, &printer);
        } else {
            bool first = true;
            for (const ChartValues *chart : pattern.charts()) {
                if (!selection.contains(chart->title))
                    continue;
                if (!first)
                    printer.newPage();
                ChartPages::print(&painter, &printer, *chart->grid, ChartPicture::preferredStyle(*chart->grid),
                                  chart->title, Preferences::chartPageOverlap.value());
                first = false;
            }
        }
        return painter.end();
    });
    if (!written) {
        err << tr("Could not write the PDF file %1.").arg(QDir::toNativeSeparators(m_output)) << '\n';
        return Failed;
    }
    return Success;
}

int CommandLine::exportChart(const PatternValues &pattern, QTextStream &err)
{
    const ChartValues *chart = findChart(pattern, m_parser.value(chartOption), err);
    if (!chart)
        return Failed;
    QRect cells;
    if (!partOf(*chart->grid, &cells, err))
        return Failed;
    const ChartStyle style = ChartPicture::preferredStyle(*chart->grid);
    const bool whole = cells == QRect(0, 0, chart->grid->columnCount(), chart->grid->rowCount());
    const QSizeF source = whole ? ChartPicture::sourceRect(*chart->grid, style).size()
                                : ChartPicture::partSize(*chart->grid, style, cells);
    const int dpi = pictureDpi();
    // Without a width, the chart's size on screen in inches, at the
    // resolution.
    const QSize size = ChartPicture::fittedSize(source, m_width > 0 ? m_width : qRound(source.width() * dpi / 96.0));
    const bool written = writeReplacing(m_output, [&](const QString &path) {
        return ChartPicture::write(path, *chart->grid, style, size, dpi, chart->title, whole ? QRect() : cells);
    });
    if (!written) {
        err << tr("Could not write the picture to %1.").arg(QDir::toNativeSeparators(m_output)) << '\n';
        return Failed;
    }
    return Success;
}

int CommandLine::exportKey(const PatternValues &pattern, QTextStream &err)
{
    const StitchKey key = patternKey(pattern);
    const int dpi = pictureDpi();
    const bool written = writeReplacing(m_output, [&key, dpi](const QString &path) { return key.save(path, dpi); });
    if (!written) {
        err << tr("Could not write the key to %1.").arg(QDir::toNativeSeparators(m_output)) << '\n';
        return Failed;
    }
    return Success;
}

// The named chart, or the first one when no name is given.
const ChartValues *CommandLine::findChart(const PatternValues &pattern, const QString &name, QTextStream &err) const
{
    const QList<const ChartValues *> charts = pattern.charts();
    if (charts.isEmpty()) {
        err << tr("The pattern has no charts.") << '\n';
        return nullptr;
    }
    if (name.isEmpty())
        return charts.first();
    QStringList names;
    for (const ChartValues *chart : charts) {
        if (chart->title == name)
            return chart;
        names << chart->title;
    }
    err << tr("The pattern has no chart named \"%1\". Its charts are: %2.").arg(name, names.join(QStringLiteral(", ")))
        << '\n';
    return nullptr;
}

// Writes into a fresh file beside `target` and only then puts it in place,
// so a failed export neither leaves a broken file nor destroys the old one.
bool CommandLine::writeReplacing(const QString &target, const std::function<bool(const QString &)> &write)
{
    const QFileInfo info(target);
    QTemporaryFile scratch(info.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX.%2")
                                                           .arg(info.completeBaseName(), info.suffix())));
    if (!scratch.open())
        return false;
    scratch.close();
    if (!write(scratch.fileName()) || QFileInfo(scratch.fileName()).size() == 0)
        return false;
    // A scratch file is private to its owner; the export is not.
    const QFile::Permissions permissions = info.exists()
        ? QFile::permissions(target)
        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    scratch.setPermissions(permissions);
    if (std::rename(QFile::encodeName(scratch.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    scratch.setAutoRemove(false);
    return true;
}
