// The document's record in the pattern file: the stitches of its own that
// it uses, its settings and its tabs in order.

#include "document.h"
#include "patternfile.h"

#include "chart.h"
#include "chartgrid.h"
#include "chartrecord.h"
#include "directions.h"
#include "recordstream.h"
#include "settings.h"
#include "stitch.h"
#include "stitchset.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTabWidget>

namespace {

const qint32 fileVersion = PatternFile::newestVersion;
const QString stitchStart = QStringLiteral("<Stitch>");
const QString stitchEnd = QStringLiteral("</Stitch>");
const QString documentStart = QStringLiteral("<Document>");
const QString documentEnd = QStringLiteral("</Document>");
const QString pageSizeTag = QStringLiteral("PageSize:");
const QString keyHashTag = QStringLiteral("DocKeyHash:");
const QString showWSTag = QStringLiteral("ShowWS:");
const QString chartStart = QStringLiteral("<Chart>");
const QString directionsStart = QStringLiteral("<Directions>");
const QString unknownImage = QStringLiteral(":/stitches/unknown.svg");

// A stitch image carried in a file is at most this large.
const quint32 largestImageBytes = 64u << 20;
// A stitch has at most this many images.
const qint32 mostImages = 64;

bool isResource(const QString &path)
{
    return path.startsWith(QLatin1String(":/"));
}

QByteArray fileHash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

// Where a stitch image from a file is kept: the user's stitch-image folder,
// under the image's own file name. A different image already there keeps
// its place; the newcomer gets a numbered name beside it.
QString storeStitchImage(const QString &storedPath, const QByteArray &bytes)
{
    const QString name = QFileInfo(storedPath).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    const QString folder = StitchSet::userFolder() + QStringLiteral("/stitches/");
    if (!QDir().mkpath(folder))
        return QString();

    const QFileInfo info(name);
    QString path = folder + name;
    for (int n = 1; QFileInfo::exists(path); ++n) {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && fileHash(existing.readAll()) == fileHash(bytes))
            return path; // the very same image
        path = folder + info.completeBaseName() + QStringLiteral("-%1").arg(n)
            + (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString();
    return path;
}

// Until a chart's record names its cell size, the preferred one stands.
QSize preferredCellSize()
{
    Settings *settings = Settings::instance();
    return QSize(settings->value(QStringLiteral("cellWidth"), 24).toInt(),
                 settings->value(QStringLiteral("cellHeight"), 22).toInt());
}

} // namespace

bool Document::save(QDataStream &out)
{
    out.setVersion(QDataStream::Qt_4_5);
    out << fileVersion;
    saveCustomStitches(out);
    out << documentStart;
    out << pageSizeTag << qint32(pageSize);
    out << keyHashTag << docKeyHash;
    out << showWSTag << showWS;
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget *tab = tabs->widget(i);
        bool written = true;
        if (auto *chart = qobject_cast<Chart *>(tab)) {
            out << chartStart;
            written = chart->save(out);
        } else if (auto *page = qobject_cast<Directions *>(tab)) {
            written = page->save(out);
        }
        if (!written || out.status() != QDataStream::Ok)
            return false;
    }
    out << documentEnd;
    return out.status() == QDataStream::Ok;
}

void Document::saveCustomStitches(QDataStream &out)
{
    for (const Stitch *stitch : std::as_const(stitchesUsed)) {
        if (!stitch || stitch->builtin)
            continue;
        out << stitchStart << stitch->abbrivs() << stitch->name() << stitch->opposite() << stitch->category()
            << stitch->description();
        const QStringList paths = stitch->paths();
        out << qint32(paths.size());
        for (const QString &path : paths) {
            if (isResource(path)) {
                out << path;
                continue;
            }
            QFile image(path);
            if (!image.open(QIODevice::ReadOnly)) {
                out << unknownImage;
                continue;
            }
            out << path << image.readAll();
        }
        out << stitchEnd;
    }
}

void Document::loadTempStitch(QDataStream &in)
{
    QStringList abbrivs;
    QString name, opposite, category, description;
    RecordStream::readStringList(in, abbrivs);
    RecordStream::readString(in, name);
    RecordStream::readString(in, opposite);
    RecordStream::readString(in, category);
    RecordStream::readString(in, description);
    if (in.status() != QDataStream::Ok)
        return;
    if (abbrivs.isEmpty()) {
        qDebug() << "Error loading stitch with no name";
        return;
    }

    qint32 count = 0;
    in >> count;
    if (count < 0 || count > mostImages) {
        in.setStatus(QDataStream::ReadCorruptData);
        return;
    }
    QStringList paths;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString path;
        if (!RecordStream::readString(in, path))
            return;
        if (isResource(path)) {
            paths.append(path);
            continue;
        }
        QByteArray bytes;
        if (!RecordStream::readBytes(in, bytes, largestImageBytes))
            return;
        const QString kept = storeStitchImage(path, bytes);
        if (!kept.isEmpty())
            paths.append(kept);
    }

    StitchSet *catalogue = StitchSet::instance();
    if (!catalogue->hasStitch(abbrivs.first())) {
        Stitch *stitch = catalogue->findOrAdd(abbrivs.first());
        stitch->temporary = true;
        stitch->setAbbrivs(abbrivs);
        stitch->setOpposite(opposite);
        stitch->setDescription(description);
        stitch->setName(name);
        catalogue->addCategory(category);
        stitch->setCategory(category);
        stitch->setPaths(paths);
    }

    QString tag;
    if (!RecordStream::readString(in, tag) || tag != stitchEnd)
        qDebug() << "Unexpected end of stitch while loading stitch from XML file";
}

bool Document::loadDocument(QDataStream &in)
{
    modified = false;
    saved = true;
    in.setVersion(QDataStream::Qt_4_5);

    QString tag;
    RecordStream::readString(in, tag);
    int stitchRecords = 0;
    while (tag == stitchStart && in.status() == QDataStream::Ok) {
        loadTempStitch(in);
        ++stitchRecords;
        RecordStream::readString(in, tag);
    }
    if (stitchRecords > 0) {
        Q_EMIT updateChartStitches();
        updateStitchesUsed();
        Q_EMIT documentHasStitches();
    }
    if (tag != documentStart) {
        loadErrors.append(tr("Error loading file - missing document section"));
        return false;
    }

    QProgressDialog progress(tr("Pattern File"), QString(), 0, 100, this);
    progress.setWindowTitle(tr("Loading Yarnwise Pattern File"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumSize(321, 100);
    progress.setValue(10);

    QByteArray keyHash;
    while (true) {
        progress.setValue(progress.value() + 1);
        QApplication::processEvents();
        if (!RecordStream::readString(in, tag))
            break;
        if (tag == pageSizeTag) {
            qint32 size = 0;
            in >> size;
            pageSize = size;
        } else if (tag == showWSTag) {
            in >> showWS;
        } else if (tag == keyHashTag) {
            RecordStream::readBytes(in, keyHash);
        } else if (tag == chartStart) {
            progress.setValue(50);
            ChartValues values;
            const bool read = ChartRecord::read(in, values, preferredCellSize(), [&](qint64 done, qint64 total) {
                if (done == 0) {
                    progress.setLabelText(tr("Loading") + QLatin1Char(' ') + values.title);
                    progress.setMaximum(int(qMin<qint64>(total, INT_MAX)));
                }
                progress.setValue(int(qMin<qint64>(done, INT_MAX)));
                QApplication::processEvents();
                return !progress.wasCanceled();
            });
            auto *chart = new Chart(std::move(values), tabs);
            chartConnect(chart);
            if (!read)
                loadErrors.append(tr("Error loading chart from pattern file"));
            addChart(chart);
            tallyCells(chart);
        } else if (tag == directionsStart) {
            progress.setLabelText(tr("Directions"));
            auto *page = new Directions(this);
            if (!page->loadDirections(in))
                loadErrors += page->loadErrors();
            addDirections(page, page->name());
        } else {
            break;
        }
        if (in.status() != QDataStream::Ok)
            break;
    }
    if (tag != documentEnd && loadErrors.isEmpty())
        loadErrors.append(tr("Error loading file - missing end of document section"));

    progress.setValue(100);
    QApplication::processEvents();
    docKeyHash = keyHash;
    curStitch = StitchSet::instance()->defaultStitch();
    curColor = Qt::white;
    Q_EMIT curStitchChanged(curStitch);
    Q_EMIT curColorChanged(curColor);
    refreshUi();

    for (int i = 0; i < tabs->count(); ++i) {
        if (qobject_cast<Chart *>(tabs->widget(i))) {
            tabs->setCurrentIndex(i);
            break;
        }
    }
    if (!in.atEnd())
        loadErrors.append(tr("Found unexpected extra data while loading pattern file"));
    // What was read is the file as it stands.
    markSaved();
    return true;
}
