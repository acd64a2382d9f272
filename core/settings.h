#ifndef SETTINGS_H
#define SETTINGS_H

#include <QObject>
#include <QStringList>
#include <QVariant>

class QSettings;

// The preferences store: one INI file per user, under the organisation and
// application names that start-up sets. Every read names its default, so a
// missing or unreadable file simply yields the defaults.
class Settings : public QObject
{
    Q_OBJECT

public:
    static Settings *instance();
    // The organisation and application names the store is filed under. The
    // program and every tool set them before anything reads a preference.
    static void nameApplication();

    QVariant value(const QString &key, const QVariant &defaultValue) const;
    void setValue(const QString &key, const QVariant &value);
    bool contains(const QString &key) const;
    void remove(const QString &key);
    QStringList allKeys() const;
    void sync();

    // The INI file, and the folder that holds it. The folder is the user
    // folder: the user's stitch sets and stitch images live there too.
    QString fileName() const;
    QString userFolder() const;

    // Opens the store again at its current location. Tests point the
    // platform's settings path at a fresh folder and call this.
    void reopen();

    QSettings *settings;

private:
    Settings();
    ~Settings() override;
};

#endif // SETTINGS_H
