#ifndef TEMPFILES_H
#define TEMPFILES_H

#include <QList>
#include <QObject>
#include <QStringList>

class QTemporaryFile;

// The autosave copies of this run, by document file name. The copies go
// with the registry, so a normal exit leaves none behind; a crash does.
class TempFiles : public QObject
{
    Q_OBJECT

public:
    explicit TempFiles(QObject *parent = nullptr);

    // Registers `file` for `name` unless the name has one already.
    void append(const QString &name, QTemporaryFile *file);
    // Deletes the copy of `name` from disk and forgets it.
    void remove(const QString &name);
    // The copy of `name`, or a new unregistered one without a name.
    QTemporaryFile *find(const QString &name);
    bool contains(const QString &name) const { return names.contains(name); }

private:
    QStringList names;
    QList<QTemporaryFile *> files;
};

#endif // TEMPFILES_H
