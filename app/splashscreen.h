#ifndef SPLASHSCREEN_H
#define SPLASHSCREEN_H

#include <QSplashScreen>

// The start-up banner. It paints the version and the latest progress
// message at fixed places over the artwork.
class SplashScreen : public QSplashScreen
{
    Q_OBJECT

public:
    explicit SplashScreen(const QPixmap &pixmap, Qt::WindowFlags flags = {});

    QString message;

public Q_SLOTS:
    void setMessage(const QString &text);

protected:
    void drawContents(QPainter *painter) override;
};

#endif // SPLASHSCREEN_H
