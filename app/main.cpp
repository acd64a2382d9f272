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
    // Read before the application takes Qt's own options out of argv:
    // "--style" here chooses how instructions are written, not the look
    // of widgets that the batch work never shows.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QGuiApplication app(argc, argv);
    nameApplication();
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine;
    if (!commandLine.parse(arguments)) {
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
