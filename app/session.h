#ifndef SESSION_H
#define SESSION_H

#include <QList>
#include <QLockFile>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QDataStream;

// The documents this run of the program has open, as the preferences keep
// them for the next start, and their autosave copies.
//
// Every running copy of the program holds a lock of its own and files its
// documents under its own name in the preferences: an entry per document
// (its file name, or placeholder name for a pattern never saved) with the
// path of its autosave copy, or nothing while it has none. A copy that
// outlives its run means the run did not end normally. Entries are only
// ever offered back once the run that made them has ended, so a second
// running copy never takes over the first one's work; and an autosave
// copy lives until the document it holds has been saved, autosaved again
// or closed, so a second crash loses nothing.
class Session : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        QString name;
        // The autosave copy; empty when the document had none.
        QString copy;
        // The run was ended from outside (the desktop logging out or
        // shutting down), not by a crash: its work comes back unasked.
        bool interrupted = false;
    };

    explicit Session(QObject *parent = nullptr);
    ~Session() override;

    // This run's name among running copies.
    QString id() const { return m_id; }

    // `name` is open in this run, with no autosave copy yet.
    void opened(const QString &name);
    // `name` was saved: its autosave copy is done with.
    void saved(const QString &name);
    // The document `from` now goes by `to` (Save As), saved.
    void renamed(const QString &from, const QString &to);
    // `name` was closed. Its copy goes; its entry stays only when the
    // session is kept for the next start.
    void closed(const QString &name, bool keepEntry);

    // Writes the autosave copy of `name` through `write`, atomically; the
    // copy's path, or an empty string when it could not be written.
    QString writeCopy(const QString &name, const std::function<bool(QDataStream &)> &write);
    QString copyOf(const QString &name) const;
    bool contains(const QString &name) const;
    // Takes over `copy` as the autosave copy of `name` (a recovered
    // document): it stays until the document is saved, autosaved or closed.
    void adoptCopy(const QString &name, const QString &copy);
    // Forgets `name` and deletes its copy.
    void discard(const QString &name);

    // This run is being ended from outside; what it leaves is no crash.
    void markInterrupted();

    // Whether runs that have ended left documents behind.
    bool hasLeftovers() const;
    // The documents of runs that have ended; they become this run's.
    QList<Entry> takeOver();
    // Whether another running copy of the program has `fileName` open.
    bool openElsewhere(const QString &fileName) const;

    // The entries of this run, for tests and the window's bookkeeping.
    QMap<QString, QString> entries() const;

private:
    QString entryKey(const QString &name) const;
    QString copyFolder() const;
    static QString lockFolder();
    // Whether the run called `id` still holds its lock.
    bool isRunning(const QString &id) const;
    // The runs with entries in the preferences, this one included.
    QStringList runs() const;
    QMap<QString, QString> entriesOf(const QString &run) const;
    void removeCopy(const QString &name);

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
};

#endif // SESSION_H
