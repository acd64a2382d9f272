// Writes the sample pattern to the given file, or the copy of it with one
// deliberate mistake of each kind the pattern check finds:
// or the copy that goes to print, its Directions page with pictures and a
// chart larger than a page:
//   yarnwise_samplepattern [--with-errors | --for-print] OUT.kit
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
    const QString variant = args.size() == 2 ? args.first() : QString();
    const bool withErrors = variant == QLatin1String("--with-errors");
    const bool forPrint = variant == QLatin1String("--for-print");
    if (args.size() != 1 && !withErrors && !forPrint) {
        QTextStream(stderr) << "usage: yarnwise_samplepattern [--with-errors | --for-print] OUT.kit\n";
        return 2;
    }
    Settings::nameApplication();
    StitchSet::instance()->load();
    QString error;
    const QString fileName = args.last();
    const bool written = withErrors ? SamplePattern::writeWithErrors(fileName, &error)
                         : forPrint ? SamplePattern::writeForPrint(fileName, &error)
                                    : SamplePattern::write(fileName, &error);
    if (!written) {
        QTextStream(stderr) << "Could not write " << fileName << ": " << error << '\n';
        return 1;
    }
    return 0;
}
