// Writes the sample pattern to the given file:
//   yarnwise_samplepattern OUT.kit
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
    if (argc != 2) {
        QTextStream(stderr) << "usage: yarnwise_samplepattern OUT.kit\n";
        return 2;
    }
    Settings::nameApplication();
    StitchSet::instance()->load();
    QString error;
    if (!SamplePattern::write(QString::fromLocal8Bit(argv[1]), &error)) {
        QTextStream(stderr) << "Could not write " << argv[1] << ": " << error << '\n';
        return 1;
    }
    return 0;
}
