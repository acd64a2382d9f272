#ifndef STITCH_H
#define STITCH_H

#include "stitchrecord.h"

#include <QIcon>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

class QPixmap;
class QSvgRenderer;

// One stitch definition of the catalogue. A stitch covers one chart cell per
// image, left to right; it is identified everywhere by its first
// abbreviation. Stitches are owned by the catalogue and live for the whole
// run, so cells and commands may keep plain pointers to them.
//
// Its arithmetic belongs to the whole stitch, not to each cell: a 2/2
// cable over four cells works 4 stitches and makes 4, once.
class Stitch : public QObject
{
    Q_OBJECT

public:
    Stitch();
    ~Stitch() override;

    QString stitchID() const;
    bool hasAbbriv(const QString &abbriv) const;
    int cellsPerStitch() const;

    QString name() const { return m_name; }
    QString description() const { return m_description; }
    QString category() const { return m_category; }
    QString opposite() const { return m_opposite; }
    // The abbreviation a written row gives the stitch: from the wrong side
    // its opposite's; a stitch without an opposite keeps its own, so that
    // the row still names it.
    QString writtenAs(bool wrongSide) const { return wrongSide && !m_opposite.isEmpty() ? m_opposite : stitchID(); }
    QStringList abbrivs() const { return m_abbrivs; }
    // The stitches it works from the left needle and leaves on the right
    // one: 1 and 1 for a knit stitch, 2 and 1 for k2tog, 0 and 1 for a
    // yarn over, 0 and 0 for No Stitch.
    int worked() const { return m_worked; }
    int made() const { return m_made; }
    // The cell images; one that is not there reads as the placeholder.
    QStringList paths() const;
    // The image file's suffix in lower case, or "None", "Missing" or
    // "Invalid" for an image shown by the placeholder. Only ".svg" and
    // ".svgz" files are read as SVG, so only they can be "Invalid"; other
    // files are pictures. Checks every image not yet drawn.
    QStringList imageTypes() const;
    // Drawn when first asked for, so that reading stitches needs no
    // screen.
    QIcon icon() const;

    bool builtin = false;
    bool temporary = false;

    // The cell image at `index`, or the placeholder image for an index out
    // of range.
    QString path(int index) const;
    // The renderer of cell `index`, owned by the stitch; a picture's cell
    // has the placeholder's. Out of range, the shared placeholder
    // renderer, which nobody deletes either.
    QSvgRenderer *svg(int index) const;
    // Cell `index` rendered at width x height, cached per size and index;
    // all indexes out of range share one placeholder entry.
    // The pixmap belongs to the stitch and lives until the images change.
    QPixmap *image(int width, int height, int index);

    void clearPaths();
    void createIcon();


    StitchRecord record() const;
    void updateStitch(Stitch *other);

    static QString placeholderPath();
    // The image file at `path` drawn at `size`, for the editors that show
    // image files rather than a stitch's cells. Cached while the file stays
    // the same; null when the file cannot be read.
    static QPixmap filePixmap(const QString &path, const QSize &size);

public Q_SLOTS:
    void setName(const QString &name);
    void setCategory(const QString &category);
    void setDescription(const QString &description);
    void setOpposite(const QString &opposite);
    // Brought into 0 to StitchRecord::mostStitches.
    void setWorked(int worked);
    void setMade(int made);
    void addAbbriv(const QString &abbriv);
    void setAbbrivs(const QStringList &abbrivs);
    void setPaths(const QStringList &paths);

Q_SIGNALS:
    void updateImage();
    // Abbreviations went and came: a replacement drops all the old ones
    // and adds all the new, an added one drops none. The catalogue
    // re-indexes just these, so a stitch gathering many stays cheap.
    void abbrivsChanged(const QStringList &dropped, const QStringList &added);

private:
    bool hasExactly(const QString &abbriv);
    void appendImage(QString path);
    void look(int index) const;
    QSvgRenderer *renderer(int index) const;
    std::unique_ptr<QSvgRenderer> parse(int index) const;
    bool drawsAsVector(int index) const;
    void paintImage(QPixmap &pixmap, int index) const;

    QString m_name;
    QString m_description;
    QString m_category;
    mutable QIcon m_icon;
    mutable bool m_iconStale = false;

    // Images are looked for and parsed when first needed, not when the
    // stitch is read: a library of thousands of stitches would otherwise
    // look up and parse every image at every start. A missing image's path
    // becomes the placeholder's once it is looked for.
    enum class ImageState : unsigned char { Unseen, Found, Parsed };
    mutable QStringList m_paths;
    mutable std::vector<ImageState> m_imageStates;
    mutable std::vector<std::unique_ptr<QSvgRenderer>> m_renderers;
    QStringList m_abbrivs;
    // The abbreviations again, once there are so many that looking
    // through the list for each new one would cost too much.
    QSet<QString> m_manyAbbrivs;
    mutable QStringList m_imageTypes;
    QString m_opposite;
    int m_worked = 1;
    int m_made = 1;
    std::map<std::tuple<int, int, int>, std::unique_ptr<QPixmap>> m_cachedImages;
};

#endif // STITCH_H
