#ifndef WIDGETFIXTURES_H
#define WIDGETFIXTURES_H

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

// The entry of `menu` that reads `text`, or null.
inline QAction *findAction(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// Stands in for the desktop while it lives: keeps the files and folders
// the program asks it to open instead of opening them.
class DesktopCatcher : public QObject
{
    Q_OBJECT

public:
    DesktopCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

#endif // WIDGETFIXTURES_H
