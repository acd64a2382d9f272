#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "chartoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPair>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

class ChartGrid;
struct ChartValues;
struct PatternValues;

// The program's command line. Plain file arguments open in the window; the
// batch options export from a pattern file without any window and exit:
//   yarnwise --instructions FILE.kit
//   yarnwise --export-pdf OUT.pdf FILE.kit [--select ITEM]...
//   yarnwise --export-chart OUT FILE.kit [--chart NAME] [--dpi N] [--width PX]
//                          [--rows FIRST-LAST] [--stitches FIRST-LAST]
//   yarnwise --export-key OUT FILE.kit
// The batch work reads the pattern into plain values and draws from them,
// through the same chart, key and page drawing as the window's commands,
// so both always agree; it builds no widget.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum Mode { OpenFiles, Help, ShowVersion, Instructions, ExportPdf, ExportChart, ExportKey, FromWritten, Check };
    enum ExitStatus { Success = 0, Failed = 1, UsageError = 2 };

    CommandLine();

    // Whether the raw arguments ask for work without a window, so that the
    // program can choose the offscreen platform before it starts Qt.
    static bool wantsBatch(int argc, char *argv[]);

    // Reads the arguments (the program name first). False, with a message
    // in errorText(), when they make no sense.
    bool parse(const QStringList &arguments);
    QString errorText() const { return m_error; }
    Mode mode() const { return m_mode; }
    QStringList files() const { return m_files; }

    // Does the batch work and gives the process's exit status.
    int run(QTextStream &out, QTextStream &err);

private:
    bool checkOptions();
    int printInstructions(const PatternValues &pattern, QTextStream &out);
    int exportPdf(const PatternValues &pattern, QTextStream &err);
    int exportChart(const PatternValues &pattern, QTextStream &err);
    int exportKey(const PatternValues &pattern, QTextStream &err);
    int fromWritten(QTextStream &err);
    int check(const PatternValues &pattern, QTextStream &out);
    bool loadPattern(const QString &fileName, PatternValues &pattern, QTextStream &err);
    const ChartValues *findChart(const PatternValues &pattern, const QString &name, QTextStream &err) const;
    bool parseStyle();
    bool parseNumber(const QString &option, int lowest, int highest, int *value);
    bool parseRange(const QString &option, QPair<int, int> *range);
    // --dpi, else the preference, within what a picture may take.
    int pictureDpi() const;
    // The cells of --rows and --stitches in `grid`; false, and the error
    // said, when the chart has not got them.
    bool partOf(const ChartGrid &grid, QRect *cells, QTextStream &err) const;
    static bool isPictureSuffix(const QString &fileName);
    static bool writeReplacing(const QString &target, const std::function<bool(const QString &)> &write);

    QCommandLineParser m_parser;
    Mode m_mode = OpenFiles;
    QString m_output;
    QStringList m_files;
    // --style: every chart written so, rather than in its own style.
    std::optional<WrittenStyle> m_style;
    int m_dpi = 0;
    int m_width = 0;
    // --rows and --stitches, first and last as a knitter counts them; 0 for
    // all of them.
    QPair<int, int> m_rows;
    QPair<int, int> m_stitches;
    QString m_error;
};

#endif // COMMANDLINE_H
