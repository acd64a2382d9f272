// The chart's export as a picture and its printing, painted from its model.

#include "chart.h"

#include "chartgrid.h"
#include "chartpages.h"
#include "chartpicture.h"
#include "preferences.h"
#include "saveoptionsdialog.h"
#include "settings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPaintDevice>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

// The look of the chart on screen, or as the preferences set it while the
// chart has no view yet.
static ChartStyle styleOf(const KnitScene *scene, const ChartGrid &grid)
{
    return scene ? scene->style() : ChartPicture::preferredStyle(grid);
}

QRectF Chart::imageSourceRect() const
{
    return ChartPicture::sourceRect(*m_grid, styleOf(m_scene, *m_grid));
}

void Chart::saveImage()
{
    // A selection of more than one cell offers itself as the part to save.
    const QRect selected = selectionBox();
    const QRect selection = selected.isValid() && selected.width() * selected.height() > 1 ? selected : QRect();
    clearSelection();
    const QRectF source = imageSourceRect();
    const int defaultResolution = Preferences::outputResolution.value();
    SaveOptionsDialog options(source.size().toSize(), defaultResolution, this);
    const ChartStyle style = styleOf(m_scene, *m_grid);
    options.offerPart(*m_grid, selection,
                      [this, style](const QRect &cells) {
                          return cells.isNull() ? imageSourceRect().size()
                                                : ChartPicture::partSize(*m_grid, style, cells);
                      });
    if (options.exec() != QDialog::Accepted)
        return;

    const QString folder = Preferences::fileFolder();
    QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save Chart as Image"), folder,
        QStringLiteral("JPEG (*.jpg *.jpeg);;SVG (*.svg);;PNG (*.png);;Tiff (*.tif *.tiff);;Bitmap (*.bmp)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".jpg");

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = exportImage(fileName, options.imageSize(), options.resolution(), options.cells());
    QApplication::restoreOverrideCursor();
    if (!written)
        QMessageBox::warning(this, tr("Save Chart as Image"), tr("Could not write the picture to %1.").arg(fileName));
}

bool Chart::exportImage(const QString &fileName, const QSize &size, int resolution, const QRect &cells)
{
    clearSelection();
    return ChartPicture::write(fileName, *m_grid, styleOf(m_scene, *m_grid), size, resolution, title, cells);
}

void Chart::print(QPainter *painter)
{
    ChartPicture::print(painter, *m_grid, styleOf(m_scene, *m_grid));
}

int Chart::printPages(QPainter *painter, QPagedPaintDevice *device)
{
    return ChartPages::print(painter, device, *m_grid, styleOf(m_scene, *m_grid), title,
                             Preferences::chartPageOverlap.value());
}

void Chart::setPictureCells(const QRect &cells)
{
    imgPart = ChartPicture::keptPart(*m_grid, cells);
}

QRect Chart::pictureCells() const
{
    const QRect part = ChartPicture::cellsOfPart(*m_grid, imgPart);
    return part.isNull() ? QRect(0, 0, m_grid->columnCount(), m_grid->rowCount()) : part;
}

QRect Chart::keptPicturePart() const
{
    return ChartPicture::keptPart(*m_grid, ChartPicture::cellsOfPart(*m_grid, imgPart));
}

QImage Chart::partPicture(int width, int height) const
{
    const QRect cells = pictureCells();
    const ChartStyle style = styleOf(m_scene, *m_grid);
    const QSizeF size = ChartPicture::partSize(*m_grid, style, cells);
    const qreal scale = qMin(1.0, qMin(width / size.width(), height / size.height()));
    QImage image(qMax(1, qRound(size.width() * scale)), qMax(1, qRound(size.height() * scale)), QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ChartPicture::paintPart(&painter, *m_grid, style, cells, QPointF(0, 0), scale);
    return image;
}

void Chart::printPicture(QPainter *painter, const QRectF &target)
{
    ChartPicture::printPart(painter, *m_grid, styleOf(m_scene, *m_grid), ChartPicture::cellsOfPart(*m_grid, imgPart),
                            target);
}
