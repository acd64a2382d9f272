#ifndef SESSIONENTRIES_H
#define SESSIONENTRIES_H

#include <QMap>
#include <QString>

// The documents of the session in the preferences: one entry per open
// document, keyed by its file name (or placeholder name), holding the path
// of its autosave copy or nothing while it has none. File names are
// encoded in the key, since the preferences store would read their slashes
// as groups and lose the leading one.
class SessionEntries
{
public:
    static void set(const QString &fileName, const QString &copy);
    static void remove(const QString &fileName);
    static bool contains(const QString &fileName);
    static QString copyOf(const QString &fileName);
    // Every entry: file name → autosave copy path (may be empty).
    static QMap<QString, QString> all();
    static void clear();

private:
    static QString key(const QString &fileName);
};

#endif // SESSIONENTRIES_H
