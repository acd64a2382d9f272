#include "stitch.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {

const int iconTileSize = 64;
// From this many abbreviations on, a stitch keeps them in a set as well.
const int manyAbbrivs = 16;
// Larger requests are clamped: a damaged file must not make us allocate
// gigabytes for one cell.
const int largestImageSide = 8192;

const QString imageNone = QStringLiteral("None");
const QString imageMissing = QStringLiteral("Missing");
const QString imageInvalid = QStringLiteral("Invalid");

// Only these are SVG; every other image is a picture for QImageReader.
bool isVectorFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("svg") || suffix == QLatin1String("svgz");
}

std::unique_ptr<QSvgRenderer> placeholderRenderer()
{
    auto renderer = std::make_unique<QSvgRenderer>(Stitch::placeholderPath());
    if (renderer->isValid())
        return renderer;
    qDebug() << "error :/stitches/unknown.svg file is missing or invalid";
    return nullptr;
}

} // namespace

Stitch::Stitch() = default;

Stitch::~Stitch() = default;

QString Stitch::placeholderPath()
{
    return QStringLiteral(":/stitches/unknown.svg");
}

QPixmap Stitch::filePixmap(const QString &path, const QSize &size)
{
    if (path.isEmpty())
        return QPixmap();
    const QFileInfo info(path);
    const QString key = QStringLiteral("file:%1:%2x%3:%4:%5")
                            .arg(path)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(info.size());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QImageReader reader(path);
    reader.setScaledSize(size.boundedTo(QSize(largestImageSide, largestImageSide)));
    pixmap = QPixmap::fromImage(reader.read());
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QString Stitch::stitchID() const
{
    return m_abbrivs.isEmpty() ? QStringLiteral("?") : m_abbrivs.first();
}

bool Stitch::hasAbbriv(const QString &abbriv) const
{
    for (const QString &own : m_abbrivs) {
        if (own.compare(abbriv, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int Stitch::cellsPerStitch() const
{
    return m_paths.isEmpty() ? 1 : m_paths.size();
}

void Stitch::setName(const QString &name)
{
    m_name = name;
}

void Stitch::setCategory(const QString &category)
{
    m_category = category;
}

void Stitch::setDescription(const QString &description)
{
    m_description = description;
}

void Stitch::setOpposite(const QString &opposite)
{
    m_opposite = opposite;
}

void Stitch::setWorked(int worked)
{
    m_worked = qBound(0, worked, StitchRecord::mostStitches);
}

void Stitch::setMade(int made)
{
    m_made = qBound(0, made, StitchRecord::mostStitches);
}

void Stitch::addAbbriv(const QString &abbriv)
{
    const QString lower = abbriv.toLower();
    if (hasExactly(lower))
        return;
    m_abbrivs.append(lower);
    if (!m_manyAbbrivs.isEmpty())
        m_manyAbbrivs.insert(lower);
    Q_EMIT abbrivsChanged({}, {lower});
}

void Stitch::setAbbrivs(const QStringList &abbrivs)
{
    if (abbrivs.isEmpty())
        return;
    const QStringList dropped = m_abbrivs;
    m_abbrivs = abbrivs;
    m_manyAbbrivs.clear();
    Q_EMIT abbrivsChanged(dropped, m_abbrivs);
}

// Whether the stitch has this very abbreviation, case and all: through the
// list while it is short, through a set once it is long.
bool Stitch::hasExactly(const QString &abbriv)
{
    if (m_abbrivs.size() < manyAbbrivs)
        return m_abbrivs.contains(abbriv);
    if (m_manyAbbrivs.isEmpty())
        m_manyAbbrivs = QSet<QString>(m_abbrivs.cbegin(), m_abbrivs.cend());
    return m_manyAbbrivs.contains(abbriv);
}

void Stitch::setPaths(const QStringList &paths)
{
    clearPaths();
    for (const QString &path : paths)
        appendImage(path);
    m_iconStale = true;
    Q_EMIT updateImage();
}

void Stitch::appendImage(QString path)
{
    QString type = QFileInfo(path).suffix().toLower();
    if (path.isEmpty()) {
        type = imageNone;
        path = placeholderPath();
    }
    m_paths.append(path);
    m_imageTypes.append(type);
    m_imageStates.push_back(ImageState::Unseen);
    m_renderers.push_back(nullptr);
}

void Stitch::look(int index) const
{
    if (m_imageStates.at(index) != ImageState::Unseen)
        return;
    m_imageStates[index] = ImageState::Found;
    if (QFile::exists(m_paths.at(index)))
        return;
    qDebug() << "stitch icon file does not exist:" << m_paths.at(index);
    m_imageTypes[index] = imageMissing;
    m_paths[index] = placeholderPath();
}

QStringList Stitch::paths() const
{
    for (int i = 0; i < m_paths.size(); ++i)
        look(i);
    return m_paths;
}

// A null renderer is one whose placeholder could not be parsed either.
QSvgRenderer *Stitch::renderer(int index) const
{
    look(index);
    if (m_imageStates.at(index) != ImageState::Parsed) {
        m_imageStates[index] = ImageState::Parsed;
        m_renderers[index] = parse(index);
    }
    return m_renderers.at(index).get();
}

// A picture is never parsed as SVG: it is drawn as it is, and its
// renderer is the placeholder's.
std::unique_ptr<QSvgRenderer> Stitch::parse(int index) const
{
    const QString &file = m_paths.at(index);
    if (!isVectorFile(file))
        return placeholderRenderer();
    auto renderer = std::make_unique<QSvgRenderer>(file);
    if (renderer->isValid())
        return renderer;
    qDebug() << "svg file is not valid:" << file;
    m_imageTypes[index] = imageInvalid;
    return placeholderRenderer();
}

// The cell's own SVG, or the placeholder standing in for a missing image.
bool Stitch::drawsAsVector(int index) const
{
    const QSvgRenderer *svgRenderer = renderer(index);
    return svgRenderer && svgRenderer->isValid() && isVectorFile(m_paths.at(index))
           && m_imageTypes.at(index) != imageInvalid;
}

QStringList Stitch::imageTypes() const
{
    for (int i = 0; i < m_paths.size(); ++i)
        renderer(i);
    return m_imageTypes;
}

void Stitch::clearPaths()
{
    m_paths.clear();
    m_imageTypes.clear();
    m_imageStates.clear();
    m_renderers.clear();
    m_cachedImages.clear();
}

QString Stitch::path(int index) const
{
    if (index < 0 || index >= m_paths.size())
        return placeholderPath();
    look(index);
    return m_paths.at(index);
}

QSvgRenderer *Stitch::svg(int index) const
{
    if (index >= 0 && index < m_paths.size())
        return renderer(index);
    static QSvgRenderer *placeholder = new QSvgRenderer(placeholderPath());
    return placeholder;
}

QPixmap *Stitch::image(int width, int height, int index)
{
    width = qBound(1, width, largestImageSide);
    height = qBound(1, height, largestImageSide);
    // Every index out of range shows the same placeholder, so one entry
    // serves them all: a file full of odd indexes cannot fill the memory.
    if (index < 0 || index >= m_paths.size())
        index = -1;
    const auto key = std::make_tuple(width, height, index);
    auto cached = m_cachedImages.find(key);
    if (cached != m_cachedImages.end())
        return cached->second.get();

    auto pixmap = std::make_unique<QPixmap>(width, height);
    pixmap->fill(Qt::transparent);
    paintImage(*pixmap, index);
    return m_cachedImages.emplace(key, std::move(pixmap)).first->second.get();
}

void Stitch::paintImage(QPixmap &pixmap, int index) const
{
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (index >= 0 && index < m_paths.size() && drawsAsVector(index)) {
        renderer(index)->render(&painter, QRectF(pixmap.rect()));
        return;
    }

    // Raster images and everything the SVG renderer refused.
    QString file = path(index);
    if (!QFile::exists(file))
        file = placeholderPath();
    painter.drawPixmap(pixmap.rect(), QPixmap(file));
}

QIcon Stitch::icon() const
{
    if (m_iconStale)
        const_cast<Stitch *>(this)->createIcon();
    return m_icon;
}

void Stitch::createIcon()
{
    m_iconStale = false;
    if (m_paths.isEmpty())
        return;

    QPixmap pixmap(iconTileSize * m_paths.size(), iconTileSize);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < m_paths.size(); ++i) {
        const QString file = path(i);
        if (!QFile::exists(file)) {
            qDebug() << "icon file does not exist:" << file;
            continue;
        }
        // Every tile is 64 x 64, whatever size the artwork was drawn at.
        const QRect tile(iconTileSize * i, 0, iconTileSize, iconTileSize);
        if (drawsAsVector(i))
            renderer(i)->render(&painter, QRectF(tile));
        else
            painter.drawPixmap(tile, QPixmap(file));
    }
    painter.end();

    m_icon = QIcon(pixmap);
}

StitchRecord Stitch::record() const
{
    StitchRecord record;
    record.name = m_name;
    record.abbrivs = m_abbrivs;
    record.paths = paths();
    record.description = m_description;
    record.opposite = m_opposite;
    record.category = m_category;
    record.worked = m_worked;
    record.made = m_made;
    return record;
}

void Stitch::updateStitch(Stitch *other)
{
    setName(other->name());
    setCategory(other->category());
    setDescription(other->description());
    setOpposite(other->opposite());
    setWorked(other->worked());
    setMade(other->made());
    setPaths(other->paths());
    setAbbrivs(other->abbrivs());
    builtin = other->builtin;
}
