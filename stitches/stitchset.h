#ifndef STITCHSET_H
#define STITCHSET_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class QDomElement;
class Stitch;

// The catalogue of every stitch the program knows: the built-in set, the
// user's own stitches and those brought in by opened pattern files. It owns
// its stitches and never frees them while the program runs. Lookups ignore
// case and return the earliest stitch that has the abbreviation.
class StitchSet : public QObject
{
    Q_OBJECT

public:
    static StitchSet *instance();

    // The program uses instance(); tests may build catalogues of their own.
    StitchSet();
    ~StitchSet() override;

    // Fills the catalogue from the built-in set and the user's files.
    void load();
    // Reads a stitch-set file by its bare name inside the user folder.
    bool loadStitchFile(const QString &fileName);
    void loadStitch(const QDomElement &element);

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

    void addCategory(const QString &category);

    QList<Stitch *> stitches() const { return m_stitches; }
    QStringList categories() const { return m_categories; }

    // Forgets the stitches and categories added after the first
    // `stitchCount` and `categoryCount`. Only for a caller that knows no
    // cell points at them any more, such as a tool that opens many files
    // one after the other in one run.
    void forgetAddedSince(qsizetype stitchCount, qsizetype categoryCount);

    // Writes the user's own stitches: `stitches` in order, without the
    // built-in ones and, unless `keepTemporary`, without those that came
    // from pattern files. Written temporary stitches become permanent.
    bool saveUserStitches(const QList<Stitch *> &stitches, bool keepTemporary);

    // The folder that holds the preferences file and the user's stitch sets.
    static QString userFolder();
    static QString userFilePath(const QString &fileName);
    // The user's own stitches: written by the library, removed by its reset.
    static QString userStitchesFile();
    // The folder of the image files that the user's stitches bring along.
    static QString userIconFolder();
    // Keeps an image that came with a stitch from a file in the user's
    // stitch-image folder under its own file name; a different image
    // already there keeps its place and the newcomer gets a numbered name
    // beside it. The path kept, or empty when it cannot be kept.
    static QString storeIncomingImage(const QString &storedPath, const QByteArray &bytes);

    QString location;
    QString name;
    QString description;
    QString author;

private:
    void ensureDefaultCopy();
    Stitch *lookUp(const QString &abbriv) const;
    void rebuildIndex() const;

    QList<Stitch *> m_stitches;
    QStringList m_categories;
    std::unique_ptr<Stitch> m_unknownStitch;

    // Case-folded abbreviation -> earliest stitch that has it. Rebuilt
    // lazily after any stitch's abbreviations change.
    mutable QHash<QString, Stitch *> m_index;
    mutable bool m_indexDirty = true;
};

#endif // STITCHSET_H
