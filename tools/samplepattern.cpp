// Writes the sample pattern to the given file, or the copy of it with one
// deliberate mistake of each kind the pattern check finds:
//   yarnwise_samplepattern [--with-errors] OUT.kit
#include "samplepattern.h"
#include "settings.h"
#include "stitchset.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // No window is ever shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool withErrors = args.size() == 2 && args.first() == QLatin1String("--with-errors");
    if (args.size() != 1 && !withErrors) {
        QTextStream(stderr) << "usage: yarnwise_samplepattern [--with-errors] OUT.kit\n";
        return 2;
    }
    Settings::nameApplication();
    StitchSet::instance()->load();
    QString error;
    const QString fileName = args.last();
    const bool written = withErrors ? SamplePattern::writeWithErrors(fileName, &error)
                                    : SamplePattern::write(fileName, &error);
    if (!written) {
        QTextStream(stderr) << "Could not write " << fileName << ": " << error << '\n';
        return 1;
    }
    return 0;
}
