#ifndef PREFERENCES_H
#define PREFERENCES_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// One preference: its key in the preferences store and its default, read
// and written as a value of type T. Reading a preference that was never
// set gives the default.
template<typename T>
class Preference
{
public:
    Preference(const char *key, T fallback)
        : m_key(QString::fromLatin1(key))
        , m_fallback(std::move(fallback))
    {
    }

    const QString &key() const { return m_key; }
    const T &fallback() const { return m_fallback; }
    T value() const;
    // Stores the value and announces the change (Preferences::changed).
    void set(const T &value) const;

private:
    QString m_key;
    T m_fallback;
};

// Every preference of the program, each declared here once with its
// default. They are read and written through their typed accessors; a
// change made through them is announced by Preferences::changed(), so that
// what shows a preference can follow it. The store itself is Settings.
class Preferences : public QObject
{
    Q_OBJECT

public:
    static Preferences *instance();

    // The folder file dialogs start in: the chosen default location, else
    // the documents folder, else home (or the nearest folder above it); the
    // first of them that exists,
    // since a dialog started in a missing folder offers its name as the
    // file name.
    static QString fileFolder();

    // Start-up and files.
    static const Preference<bool> checkForUpdates;
    static const Preference<QString> updateServer;
    static const Preference<bool> autoCrashRecovery;
    static const Preference<bool> savedStateEnabled;
    static const Preference<bool> savedStatePrompt;
    // Minutes between autosaves.
    static const Preference<int> autoSaveMinutes;
    static const Preference<int> recentFileCount;
    // Where file dialogs start; the documents folder when empty.
    static const Preference<QString> defaultFileLocation;
    static const Preference<QByteArray> windowState;
    // The stitches last picked from the palette, the latest first.
    static const Preference<QStringList> recentStitches;
    // Whether the sample pattern was opened on a first start already.
    static const Preference<bool> sampleShown;
    // The fingerprint of the built-in stitch set as last copied into the
    // user folder, by which an untouched copy is known.
    static const Preference<QString> builtinSetCopy;

    // Output. Pictures are made at this many pixels an inch: 300 prints
    // sharp.
    static const Preference<int> outputResolution;
    static const Preference<bool> openFolderAfterPdf;
    static const Preference<bool> showDesignedFooter;
    static const Preference<QString> customFooter;
    // The rows and stitches a chart split over pages repeats from one
    // page on the next.
    static const Preference<int> chartPageOverlap;

    // New charts.
    static const Preference<int> chartWidth;
    static const Preference<int> chartHeight;
    static const Preference<int> cellWidth;
    static const Preference<int> cellHeight;
    static const Preference<QString> defaultStitch;
    // The values pattern files store: 0 flat, 1 round, 2 lace.
    static const Preference<int> defaultKnitStyle;
    // "Right Side" or "Wrong Side", as pattern files store them.
    static const Preference<QString> defaultSideSelection;

    // Whether flipping or mirroring left to right swaps stitches that lean
    // for their mirror images (k2tog and ssk).
    static const Preference<bool> mirrorSwapsLeaning;

    // How charts look.
    static const Preference<bool> headerBackground;
    static const Preference<bool> grayNoStitch;
    static const Preference<bool> headersTop;
    static const Preference<bool> headersBottom;
    static const Preference<bool> showChartInstructions;
    // A heavier grid line after every tenth stitch and row.
    static const Preference<bool> heavyGridLines;

    // The pattern check: the longest float, in centimetres, a knitter
    // leaves uncaught.
    static const Preference<double> floatLimit;

Q_SIGNALS:
    void changed(const QString &key);

private:
    Preferences() = default;
    static QVariant stored(const QString &key, const QVariant &fallback);
    static void store(const QString &key, const QVariant &value);
    template<typename T>
    friend class Preference;
};

template<typename T>
T Preference<T>::value() const
{
    return Preferences::stored(m_key, QVariant::fromValue(m_fallback)).template value<T>();
}

template<typename T>
void Preference<T>::set(const T &value) const
{
    Preferences::store(m_key, QVariant::fromValue(value));
}

#endif // PREFERENCES_H
