// Shows one chart tab in a plain window, filled with a small sample of
// stitches, colours and borders, for looking at the chart editor on its
// own: yarnwise_chartwindow [SCREENSHOT.png]

#include "chart.h"
#include "chartgrid.h"
#include "settings.h"
#include "stitchset.h"

#include <QApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Settings::nameApplication();
    StitchSet::instance()->load();

    Chart chart(20, 15, QString());
    chart.setTitle(QStringLiteral("Sample"));
    ChartGrid *grid = chart.grid();
    const char *pattern[] = {"k", "p", "yo", "k2tog", "ssk", "k", "p", "x"};
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x)
            grid->setStitch(x, y, StitchSet::instance()->findStitch(QString::fromLatin1(pattern[(x + 3 * y) % 8])), 0);
    }
    Stitch *cable = StitchSet::instance()->findStitch(QStringLiteral("c6f"));
    for (int y = 1; y < 15; y += 4) {
        for (int i = 0; i < 6; ++i)
            grid->setStitch(7 + i, y, cable, i);
    }
    for (int x = 0; x < 20; ++x) {
        grid->setColor(x, 7, QColor(250, 214, 165));
        grid->setBorder(x, 7, ChartCell::Top, true, Qt::darkRed);
    }
    chart.menuBar()->addMenu(chart.menu());
    chart.resize(1200, 860);
    chart.show();

    if (argc > 1) {
        const QString path = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(800, [&chart, path] {
            chart.grab().save(path);
            QApplication::quit();
        });
    }
    return app.exec();
}
