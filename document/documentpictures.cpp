// Charts, their instructions and the key placed in the Directions page, and
// the refresh that keeps those pictures up to date.

#include "document.h"

#include "chart.h"
#include "chartpicture.h"
#include "directions.h"
#include "insertchartdialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDialogButtonBox>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const double pixelsPerInch = 96.0;

// Asks whether the key shows what each stitch means from the wrong side.
bool askShowWrongSide(QWidget *parent, bool *showWrongSide)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("Document", "Key Options"));
    auto *box = new QCheckBox(QCoreApplication::translate("Document", "Show Wrong Side Descriptions"));
    box->setChecked(*showWrongSide);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(box);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *showWrongSide = box->isChecked();
    return true;
}

} // namespace

void Document::getChartImage()
{
    QStringList names;
    QList<int> indexes;
    for (int i = 0; i < tabs->count(); ++i) {
        if (qobject_cast<Chart *>(tabs->widget(i))) {
            names.append(tabs->tabText(i));
            indexes.append(i);
        }
    }
    QList<const ChartGrid *> grids;
    QList<QRect> parts;
    for (int index : std::as_const(indexes)) {
        const Chart *chart = qobject_cast<Chart *>(tabs->widget(index));
        grids.append(chart->grid());
        parts.append(ChartPicture::cellsOfPart(*chart->grid(), chart->imgPart));
    }
    InsertChartDialog dialog(names, this);
    dialog.setTabIndexes(indexes);
    dialog.setChartParts(grids, parts);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QString choice = dialog.choice();
    const QString kind = choice.section(QLatin1Char(':'), 0, 0);
    auto *chart = qobject_cast<Chart *>(tabs->widget(choice.section(QLatin1Char(':'), 1).toInt()));
    if (kind == QLatin1String("Chart") && chart) {
        placeChartPicture(chart, QSizeF(dialog.widthInches(), dialog.heightInches()), dialog.cells());
    } else if (kind == QLatin1String("Instructions") && chart) {
        Q_EMIT chartInstructions(chart->generateInstructions());
    } else if (choice == QLatin1String("Document Key")) {
        if (askShowWrongSide(this, &showWS))
            placeKeyPicture();
    }
}

void Document::placeChartPicture(Chart *chart, const QSizeF &inches, const QRect &cells)
{
    chart->setPictureCells(cells);
    const QImage image = generateChart(chart, inches.width(), inches.height());
    chart->setHash(Directions::imageHash(image));
    Q_EMIT chartImage(image);
}

void Document::placeKeyPicture()
{
    const QImage key = generateKeyImage();
    if (key.isNull())
        return;
    docKeyHash = Directions::imageHash(key);
    Q_EMIT chartImage(key);
}

QImage Document::generateChart(Chart *chart, double width, double height)
{
    chart->turnOffHighlight();
    // Kept as asked for: whole inches made the picture change size at the
    // next change of the chart.
    chart->setImgSize(QSizeF(width, height));
    const QRect cells = chart->pictureCells();
    if (cells != QRect(0, 0, chart->grid()->columnCount(), chart->grid()->rowCount()))
        return chart->partPicture(int(pixelsPerInch * width), int(pixelsPerInch * height));
    chart->setScale(int(pixelsPerInch * width), int(pixelsPerInch * height));
    const double scale = chart->scale;
    const int pictureWidth = int(chart->sceneWidthPx() / scale);
    const int pictureHeight = int(chart->sceneHeightPx() / scale);
    QImage image;
    if (pictureWidth > 0 && pictureHeight > 0)
        image = QImage(pictureWidth, pictureHeight, QImage::Format_ARGB32);
    if (image.isNull()) {
        qDebug() << "Document::generateChart - Image size is not valid";
        QImage invalid(64, 64, QImage::Format_ARGB32);
        invalid.fill(Qt::red);
        return invalid;
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    chart->print(&painter);
    return image;
}

void Document::updateDirImage()
{
    const QList<Directions *> pages = directions();
    if (pages.isEmpty())
        return;
    for (Chart *chart : charts()) {
        if (chart->hash.isEmpty())
            continue;
        const QImage image = generateChart(chart, chart->imgSize.width(), chart->imgSize.height());
        const QByteArray hash = Directions::imageHash(image);
        if (hash == chart->hash)
            continue;
        for (Directions *page : pages)
            page->updateImage(chart->hash, hash, image);
        chart->setHash(hash);
    }
    if (!docKeyHash.isEmpty()) {
        const QImage key = generateKeyImage();
        const QByteArray hash = Directions::imageHash(key);
        if (!key.isNull() && hash != docKeyHash) {
            for (Directions *page : pages)
                page->updateImage(docKeyHash, hash, key);
            docKeyHash = hash;
        }
    }
}
