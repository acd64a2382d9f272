// The chart's record in the pattern file, its export as a picture and its
// printing.

#include "chart.h"

#include "knitcell.h"
#include "knittextedit.h"
#include "recordstream.h"
#include "saveoptionsdialog.h"
#include "settings.h"
#include "headercell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSvgGenerator>

#include <cmath>

namespace {

const QString chartEnd = QStringLiteral("</Chart>");
const QString nameTag = QStringLiteral("Name:");
const QString widthTag = QStringLiteral("Width:");
const QString heightTag = QStringLiteral("Height:");
const QString hashTag = QStringLiteral("Hash:");
const QString imageSizeTag = QStringLiteral("ImgSize:");
const QString styleTag = QStringLiteral("KnitStyle:");
const QString sideTag = QStringLiteral("SideSelect:");
const QString numberStartsTag = QStringLiteral("NumberStarts:");
const QString skipRowsTag = QStringLiteral("SkipRows:");
const QString sceneStart = QStringLiteral("<KnitScene>");

// The header of the record: every value has a default, and the tags may
// come in any order.
struct ChartHeader
{
    QString title;
    qint32 width = 0;
    qint32 height = 0;
    qint32 knitStyle = 0;
    QString side = QStringLiteral("Right Side");
    qint32 columnOffset = 0;
    qint32 rowOffset = 0;
    bool skipRows = false;
    QByteArray hash;
    QSize imageSize = QSize(-1, -1);
};

// The numbers start where the chart's own boxes let a designer start
// them; anything else is damage, and would overflow the numbering.
void readNumberStarts(QDataStream &in, ChartHeader &header)
{
    qint32 column = 0, row = 0;
    in >> column >> row;
    header.columnOffset = qBound(0, column, Chart::largestNumberStart - 1);
    header.rowOffset = qBound(0, row, Chart::largestNumberStart - 1);
}

// Reads tags up to "<KnitScene>"; false for any other tag or a damaged
// value.
bool readHeader(QDataStream &in, ChartHeader &header)
{
    QString tag;
    while (RecordStream::readString(in, tag)) {
        if (tag == nameTag)
            RecordStream::readString(in, header.title);
        else if (tag == widthTag)
            in >> header.width;
        else if (tag == heightTag)
            in >> header.height;
        else if (tag == styleTag)
            in >> header.knitStyle;
        else if (tag == sideTag)
            RecordStream::readString(in, header.side);
        else if (tag == numberStartsTag)
            readNumberStarts(in, header);
        else if (tag == skipRowsTag)
            in >> header.skipRows;
        else if (tag == hashTag)
            in >> header.hash;
        else if (tag == imageSizeTag)
            in >> header.imageSize;
        else
            return tag == sceneStart && in.status() == QDataStream::Ok;
        if (in.status() != QDataStream::Ok)
            return false;
    }
    return false;
}

} // namespace

bool Chart::save(QDataStream &out) const
{
    out << nameTag << title;
    out << widthTag << qint32(scene->columnCount());
    out << heightTag << qint32(scene->rowCount());
    out << hashTag << hash;
    out << imageSizeTag << imgSize;
    out << styleTag << qint32(knitStyle);
    out << sideTag << sideSelection;
    out << numberStartsTag << qint32(scene->columnNumberOffset) << qint32(scene->rowNumberOffset);
    out << skipRowsTag << scene->skipRows;
    scene->save(out);
    if (out.status() != QDataStream::Ok)
        return false;
    out << chartEnd;
    return out.status() == QDataStream::Ok;
}

bool Chart::loadChart(QDataStream &in, QProgressDialog *progress)
{
    if (progress)
        progress->setValue(50);
    ChartHeader header;
    const bool headerRead = readHeader(in, header);
    title = header.title;
    knitStyle = header.knitStyle;
    hash = header.hash;
    imgSize = header.imageSize;
    sideSelection = header.side;
    // A size the record cannot hold is damage, not a chart to build.
    const bool usableSize = header.width > 0 && header.height > 0
        && KnitScene::recordCanHold(in, header.width, header.height);
    if (!headerRead || !usableSize) {
        scene = new KnitScene(0, 0, QString(), this);
        textEdit = new KnitTextEdit(0, 0, QString(), knitStyle, this);
        setupChart();
        setupToolbar();
        return false;
    }

    if (progress) {
        progress->setLabelText(tr("Loading") + QLatin1Char(' ') + title);
        QApplication::processEvents();
    }
    scene = new KnitScene(in, header.width, header.height, knitStyle, sideSelection, progress, this);
    textEdit = new KnitTextEdit(header.width, header.height, QString(), knitStyle, this);
    setupChart();
    textEdit->updateTextOnChange = false;
    const bool sceneRead = scene->loadScene(in, header.width, header.height, progress);

    // Whatever was read is shown complete, so that a damaged chart can
    // still be looked at and saved.
    QApplication::processEvents();
    textEdit->setSideSelection(sideSelection);
    textEdit->setSkipRows(header.skipRows);
    textEdit->updateAll();
    textEdit->updateTextOnChange = true;
    {
        const QSignalBlocker radioFlat(m_flat), radioRound(m_round), radioLace(m_lace);
        QRadioButton *style = knitStyle == 0 ? m_flat : knitStyle == 1 ? m_round : m_lace;
        style->setChecked(true);
    }
    m_side->setEnabled(knitStyle != 1);
    m_skip->setEnabled(knitStyle == 2);
    scene->skipRows = header.skipRows;
    m_skip->setChecked(header.skipRows);
    {
        const QSignalBlocker side(m_side), columns(m_columnStart), rows(m_rowStart);
        const int sideIndex = m_side->findText(sideSelection);
        if (sideIndex >= 0)
            m_side->setCurrentIndex(sideIndex);
        m_columnStart->setValue(header.columnOffset + 1);
        m_rowStart->setValue(header.rowOffset + 1);
    }
    scene->columnNumberOffset = header.columnOffset;
    scene->rowNumberOffset = header.rowOffset;
    scene->updateHeaders();
    textEdit->setRowNumberOffset(header.rowOffset);
    setupToolbar();
    if (!sceneRead)
        return false;

    QString tag;
    return RecordStream::readString(in, tag) && tag == chartEnd;
}

QRectF Chart::imageSourceRect() const
{
    bool leftNumbers = false;
    for (const HeaderCell *header : std::as_const(scene->leftHeaders))
        leftNumbers = leftNumbers || header->showText;
    Settings *settings = Settings::instance();
    const int left = leftNumbers ? 0 : scene->leftHeaderSize().width();
    const int top = settings->value(QStringLiteral("HeadersTop"), true).toBool() ? 0 : scene->topHeaderSize().height();
    const int right = scene->leftHeaderSize().width() + scene->columnCount() * scene->cellWidth
        + scene->rightHeaderSize().width() + 1;
    int bottom = scene->topHeaderSize().height() + scene->rowCount() * scene->cellHeight + 1;
    if (settings->value(QStringLiteral("HeadersBottom"), false).toBool())
        bottom += scene->bottomHeaderSize().height();
    return QRectF(left, top, right - left, bottom - top);
}

void Chart::saveImage()
{
    scene->clearSelection();
    const QRectF source = imageSourceRect();
    const int defaultResolution = Settings::instance()->value(QStringLiteral("outputRes"), 96).toInt();
    SaveOptionsDialog options(source.size().toSize(), defaultResolution, this);
    if (options.exec() != QDialog::Accepted)
        return;

    QString folder = Settings::instance()->value(QStringLiteral("defaultFileLocation"), QString()).toString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save Chart as Image"), folder,
        QStringLiteral("JPEG (*.jpg *.jpeg);;SVG (*.svg);;PNG (*.png);;Tiff (*.tif *.tiff);;Bitmap (*.bmp)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".jpg");

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = exportImage(fileName, options.imageSize(), options.resolution());
    QApplication::restoreOverrideCursor();
    if (!written)
        QMessageBox::warning(this, tr("Save Chart as Image"), tr("Could not write the picture to %1.").arg(fileName));
}

bool Chart::exportImage(const QString &fileName, const QSize &size, int resolution)
{
    scene->clearSelection();
    const QRectF source = imageSourceRect();
    if (QFileInfo(fileName).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator generator;
        generator.setFileName(fileName);
        generator.setSize(size);
        generator.setViewBox(source);
        generator.setTitle(title);
        generator.setDescription(tr("SVG image generated by Yarnwise"));
        generator.setResolution(resolution);
        scene->exportSvg();
        QPainter painter;
        const bool started = painter.begin(&generator);
        if (started)
            scene->render(&painter, QRectF(source), source, Qt::KeepAspectRatio);
        painter.end();
        scene->renderOnScreen();
        return started && QFileInfo::exists(fileName);
    }

    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    const int dotsPerMeter = int(std::ceil(resolution * 39.373333333333335));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene->render(&painter, QRectF(image.rect()), source, Qt::KeepAspectRatio);
    painter.end();
    return image.save(fileName, nullptr, 100);
}

void Chart::print(QPainter *painter)
{
    scene->exportSvg();
    scene->render(painter, QRectF(), scene->sceneRect(), Qt::KeepAspectRatio);
    scene->renderOnScreen();
}
