// The document's stitch key as a picture and as a file.

#include "document.h"

#include "chart.h"
#include "chartgrid.h"
#include "preferences.h"
#include "settings.h"
#include "stitchkey.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>

StitchKey Document::stitchKey() const
{
    const bool gray = Preferences::grayNoStitch.value();
    // The key shows the repeat box as the charts draw it.
    QColor repeatColor;
    for (Chart *chart : charts())
        repeatColor = RepeatBoxes::colorOf(chart->grid()->repeats(), repeatColor);
    return StitchKey(stitchesUsed, showWS, gray, repeatColor, ColourNames::forKey(colorTally(), m_colourNames));
}

QRect Document::paintKey(QPainter *painter) const
{
    return stitchKey().paint(painter);
}

QStringList Document::textLines(const QString &text, int width)
{
    QImage scratch(10, 10, QImage::Format_ARGB32);
    QPainter painter(&scratch);
    return StitchKey::textLines(text, width, painter.fontMetrics());
}

QImage Document::generateKeyImage() const
{
    return stitchKey().image();
}

bool Document::generateKeySvg(const QString &fileName) const
{
    return stitchKey().writeSvg(fileName);
}

bool Document::saveKeyImage(QString fileName) const
{
    return stitchKey().save(fileName, Preferences::outputResolution.value());
}

void Document::exportDocKey()
{
    const QString folder = Preferences::fileFolder();
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save Key as Image"), folder,
        QStringLiteral("JPEG (*.jpg *.jpeg);;SVG (*.svg);;PNG (*.png);;Tiff (*.tif *.tiff);;Bitmap (*.bmp)"));
    if (fileName.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = saveKeyImage(fileName);
    QApplication::restoreOverrideCursor();
    if (!written)
        QMessageBox::warning(this, tr("Save Key as Image"), tr("Could not write the key to %1.").arg(fileName));
}
