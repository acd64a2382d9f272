#include "commandline.h"
#include "mainwindow.h"
#include "settings.h"
#include "shutdownsignal.h"
#include "splashscreen.h"
#include "stitchset.h"
#include "version.h"

#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>

#include <vector>
#include <QPixmap>

#include <cstdio>

namespace {

void showProgress(SplashScreen *splash, const QString &message)
{
    splash->showMessage(message, Qt::AlignLeft, Qt::black);
    QApplication::processEvents();
}

void nameApplication()
{
    // The preferences store is named after these, so they come first.
    Settings::nameApplication();
    QCoreApplication::setApplicationVersion(Version::instance()->fullText());
}

// Exports from a pattern file without a window. No display is needed:
// unless told otherwise, Qt draws offscreen. There is no QApplication, so
// nothing in the batch work can build a widget.
int runBatch(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // "--style" here chooses how instructions are written, not the look
    // of widgets that the batch work never shows: it is kept from the
    // application, which would take it as its own, and the application
    // takes its other options (-platform, say) as always.
    std::vector<char *> kept;
    QStringList style;
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if ((argument == "--style" || argument == "-style") && i + 1 < argc) {
            style << QStringLiteral("--style") << QString::fromLocal8Bit(argv[++i]);
        } else if (argument.startsWith("--style=") || argument.startsWith("-style=")) {
            style << QStringLiteral("--style") << QString::fromLocal8Bit(argument.mid(argument.indexOf('=') + 1));
        } else {
            kept.push_back(argv[i]);
        }
    }
    int keptCount = int(kept.size());
    kept.push_back(nullptr);
    QGuiApplication app(keptCount, kept.data());
    nameApplication();
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine;
    if (!commandLine.parse(QGuiApplication::arguments() + style)) {
        err << commandLine.errorText() << '\n';
        return CommandLine::UsageError;
    }
    if (commandLine.mode() != CommandLine::Help && commandLine.mode() != CommandLine::ShowVersion)
        StitchSet::instance()->load();
    return commandLine.run(out, err);
}

} // namespace

int main(int argc, char *argv[])
{
    if (CommandLine::wantsBatch(argc, argv))
        return runBatch(argc, argv);

    QApplication app(argc, argv);
    // Logging out or shutting down ends the run as Quit would, asking
    // nothing; unsaved work comes back at the next start. Watched from the
    // start, answered once the window is there.
    ShutdownSignal shutdown;
    CommandLine commandLine;
    if (!commandLine.parse(QApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(commandLine.errorText()));
        return CommandLine::UsageError;
    }

    const QPixmap banner(QStringLiteral(":/images/banner.png"));
    auto *splash = new SplashScreen(banner, Qt::WindowStaysOnTopHint);
    if (!banner.isNull())
        splash->setMask(banner.mask());
    splash->show();
    splash->showMessage(QObject::tr("Loading Basic Settings..."), Qt::AlignLeft, Qt::black);
    nameApplication();
    QApplication::processEvents();

    showProgress(splash, QObject::tr("Loading Stitches..."));
    StitchSet::instance()->load();

    showProgress(splash, QObject::tr("Starting Program..."));
    MainWindow window;

    for (const QString &file : commandLine.files()) {
        splash->hide();
        window.openPattern(file);
    }

    window.show();
    window.showSampleOnFirstStart();
    splash->finish(&window);
    delete splash;

    const auto endSession = [&window] {
        window.endSession();
        QCoreApplication::exit(0);
    };
    QObject::connect(&shutdown, &ShutdownSignal::received, &window, endSession);
    if (shutdown.wasReceived())
        QMetaObject::invokeMethod(&window, endSession, Qt::QueuedConnection);

    return app.exec();
}
