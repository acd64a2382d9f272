#ifndef STITCHSET_H
#define STITCHSET_H

#include "stitchrecord.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>

class Stitch;

// The catalogue of every stitch the program knows: the built-in set, the
// user's own stitches and those brought in by opened pattern files. It owns
// its stitches and never frees them while the program runs. Lookups ignore
// case and return the earliest stitch that has the abbreviation; the index
// behind them follows every change, so that loading a library takes time
// in proportion to its size.
class StitchSet : public QObject
{
    Q_OBJECT

public:
    static StitchSet *instance();

    // The program uses instance(); tests may build catalogues of their own.
    StitchSet();
    ~StitchSet() override;

    // Fills the catalogue from the built-in set and the user's files: the
    // built-in set as the program has it, the user's copy of it on top
    // when the user changed it by hand, then the user's own stitches. A
    // copy that an earlier version made and nobody changed since is
    // brought up to date instead, so that built-in stitches get today's
    // definitions; what the user changed is never lost.
    void load();
    // Reads a stitch-set file by its bare name inside the user folder.
    bool loadStitchFile(const QString &fileName);
    // One stitch of a stitch-set file: merged into the stitch that has its
    // first abbreviation (or "?" when it has none), else added. The merged
    // stitch takes the record's name, description, category, opposite,
    // images and `builtin`, and gains its abbreviations in lower case.
    void mergeStitch(const StitchRecord &record, bool builtin);

    // Never null: the stitch with `abbriv`, else the "defaultStitch"
    // preference's stitch, else the unknown stitch; `found` tells which.
    Stitch *findStitch(const QString &abbriv, bool *found = nullptr);
    Stitch *findOrAdd(const QString &abbriv);
    // The abbreviation new cells are filled with: the "defaultStitch"
    // preference, "k" unless set.
    static QString defaultStitchID();
    Stitch *defaultStitch();
    bool hasStitch(const QString &abbriv) const;
    // The placeholder for an abbreviation nobody knows: ID "?", the
    // question-mark image. Not part of the catalogue.
    Stitch *unknownStitch();

    // The stitch that leans the other way (k2tog for ssk, a right cable
    // for a left one), or `stitch` itself when none does.
    Stitch *mirrorStitch(Stitch *stitch);

    void addCategory(const QString &category);

    QList<Stitch *> stitches() const { return m_stitches; }
    // Every abbreviation of every stitch, in catalogue order: the words
    // typed instructions are read with.
    QStringList keyWords() const;
    // How `stitch` is worked from one side, as its key tells it: from the
    // right side its description; from the wrong side its opposite's, or,
    // for a stitch that is its own opposite, the part of its description
    // after "; on a WS row, ". "" where nothing says, or the opposite is
    // not in the set.
    QString workedAs(const Stitch *stitch, bool wrongSide) const;
    QStringList categories() const { return m_categories; }

    // Forgets the stitches and categories added after the first
    // `stitchCount` and `categoryCount`. Only for a caller that knows no
    // cell points at them any more, such as a tool that opens many files
    // one after the other in one run.
    void forgetAddedSince(qsizetype stitchCount, qsizetype categoryCount);

    // Writes the user's own stitches: `stitches` in order, without the
    // built-in ones and, unless `keepTemporary`, without those that came
    // from pattern files. Written temporary stitches become permanent.
    // A file of the user's own stitches that was there but could not be
    // read by load() is first kept beside it (see keptUnreadFile()); when
    // that cannot be done nothing is written.
    bool saveUserStitches(const QList<Stitch *> &stitches, bool keepTemporary);
    // Where saveUserStitches() last kept an unread file; empty if never.
    QString keptUnreadFile() const { return m_keptUnreadFile; }

    // The folder that holds the preferences file and the user's stitch sets.
    static QString userFolder();
    static QString userFilePath(const QString &fileName);
    // The user's own stitches: written by the library, removed by its reset.
    static QString userStitchesFile();
    // The folder of the image files that the user's stitches bring along.
    static QString userIconFolder();
    // Keeps an image that came with a stitch from a pattern or exchange
    // file in the user's stitch-image folder, and answers its path there,
    // or an empty string (with a logged warning) when it cannot be kept.
    // Only the bare file name of `carriedName` is used ("icon" when it has
    // none). A file of that name with the same bytes is shared; one with
    // other bytes keeps its place, and the image is named after its
    // content instead: "<base>-<16 hex digits of its SHA-1>.<suffix>".
    // Nothing is ever written through a symbolic link or outside the
    // folder, and a file appears whole or not at all.
    static QString storeIncomingImage(const QString &carriedName, const QByteArray &bytes);

    QString location;
    QString name;
    QString description;
    QString author;

    // The fingerprint under which the user's copy of the built-in set is
    // recognised as untouched: the hexadecimal SHA-1 of its bytes.
    static QString fingerprint(const QByteArray &bytes);
    // Whether `bytes` are a built-in set as some version of the program
    // copied it into the user folder: the one last copied, or one of the
    // sets of the versions that did not yet note what they copied.
    static bool isUntouchedCopy(const QByteArray &bytes);

private:
    static bool isTaken(const QString &path);
    void ensureDefaultCopy();
    void loadDefaultSet();
    bool writeDefaultCopy(const QByteArray &builtin);
    void noteCountedBuiltins();
    bool keepUnreadUserFile();
    Stitch *lookUp(const QString &abbriv) const;
    Stitch *append();
    void forget(Stitch *stitch);
    void reindex(Stitch *stitch, const QStringList &dropped, const QStringList &added);
    void hold(const QString &key, Stitch *stitch);
    void release(const QString &key, Stitch *stitch);
    qsizetype placeOf(const Stitch *stitch) const { return m_places.value(stitch); }
    QList<Stitch *>::iterator placeAmong(QList<Stitch *> &holders, const Stitch *stitch) const;

    QList<Stitch *> m_stitches;
    QStringList m_categories;
    QSet<QString> m_knownCategories;
    std::unique_ptr<Stitch> m_unknownStitch;

    // The index, kept up to date as abbreviations change: every
    // case-folded abbreviation with the stitches that have it in catalogue
    // order, so the first is the one lookups find; and each stitch's place
    // in the catalogue, which keeps that order.
    QHash<QString, QList<Stitch *>> m_holders;
    QHash<const Stitch *, qsizetype> m_places;

    // The user's own stitch file was there at the last load() but could
    // not be read: it must not be written over unkept.
    bool m_userFileUnread = false;
    QString m_keptUnreadFile;

    // Every abbreviation of the built-in stitches whose arithmetic is not 1
    // and 1, as the built-in set was last loaded.
    QSet<QString> m_countedBuiltins;
};

#endif // STITCHSET_H
