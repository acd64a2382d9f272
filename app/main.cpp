#include "mainwindow.h"
#include "sessionentries.h"
#include "settings.h"
#include "splashscreen.h"
#include "stitchset.h"
#include "version.h"

#include <QApplication>
#include <QBitmap>
#include <QPixmap>

namespace {

void showProgress(SplashScreen *splash, const QString &message)
{
    splash->showMessage(message, Qt::AlignLeft, Qt::black);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    const QPixmap banner(QStringLiteral(":/images/banner.png"));
    auto *splash = new SplashScreen(banner, Qt::WindowStaysOnTopHint);
    if (!banner.isNull())
        splash->setMask(banner.mask());
    splash->show();
    splash->showMessage(QObject::tr("Loading Basic Settings..."), Qt::AlignLeft, Qt::black);

    // The preferences store is named after these, so they come first.
    QApplication::setOrganizationName(QStringLiteral("Velto Software"));
    QApplication::setOrganizationDomain(QStringLiteral("yarnwise.example.org"));
    QApplication::setApplicationName(QStringLiteral("Yarnwise"));
    QApplication::setApplicationVersion(Version::instance()->fullText());
    QApplication::processEvents();

    showProgress(splash, QObject::tr("Loading Stitches..."));
    StitchSet::instance()->load();

    showProgress(splash, QObject::tr("Starting Program..."));
    MainWindow window;

    QStringList files = QApplication::arguments();
    files.removeFirst();
    for (const QString &file : std::as_const(files)) {
        splash->hide();
        if (window.openFile(file, false))
            SessionEntries::set(file, QString());
    }

    window.show();
    splash->finish(&window);
    delete splash;

    return app.exec();
}
