#include "splashscreen.h"

#include "version.h"

#include <QPainter>
#include <QTextOption>

SplashScreen::SplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags)
    : QSplashScreen(pixmap, flags)
    , message(QStringLiteral("This Test"))
{
    connect(this, &QSplashScreen::messageChanged, this, &SplashScreen::setMessage);
}

void SplashScreen::setMessage(const QString &text)
{
    message = text;
}

void SplashScreen::drawContents(QPainter *painter)
{
    const QRect area = rect();
    const QRectF versionBox(130, 170, area.height() - 10, area.width() - 10);
    painter->drawText(versionBox, tr("Version: ") + Version::instance()->numberText(), QTextOption());

    const QRect messageBox(QPoint(185, 130), area.bottomRight() + QPoint(175, 120));
    painter->drawText(messageBox, Qt::AlignLeft, message);
}
