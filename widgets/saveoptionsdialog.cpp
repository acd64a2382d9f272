#include "saveoptionsdialog.h"

#include "chartpicture.h"
#include "chartrangebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include <climits>
#include <cmath>

SaveOptionsDialog::SaveOptionsDialog(const QSize &source, int resolution, QWidget *parent)
    : QDialog(parent)
    , m_width(new QSpinBox)
    , m_height(new QSpinBox)
    , m_resolution(new QSpinBox)
    , m_inches(new QLabel)
    , m_ratio(source.width() > 0 ? double(source.height()) / source.width() : 1.0)
    // The screen shows charts at 96 pixels an inch.
    , m_wantedInches(source.width() / 96.0)
    , m_form(new QFormLayout(this))
{
    setWindowTitle(tr("Save Options"));
    m_width->setRange(ChartPicture::smallestSide, ChartPicture::largestSide);
    m_height->setRange(ChartPicture::smallestSide, ChartPicture::largestSide);
    m_resolution->setRange(ChartPicture::lowestDpi, ChartPicture::highestDpi);
    m_resolution->setSuffix(QLatin1Char(' ') + tr("DPI"));
    m_resolution->setValue(resolution);
    resolutionChanged(m_resolution->value());
    connect(m_width, &QSpinBox::valueChanged, this, &SaveOptionsDialog::spinWChanged);
    connect(m_height, &QSpinBox::valueChanged, this, &SaveOptionsDialog::spinHChanged);
    connect(m_resolution, &QSpinBox::valueChanged, this, &SaveOptionsDialog::resolutionChanged);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_form->addRow(tr("Width:"), m_width);
    m_form->addRow(tr("Height:"), m_height);
    m_form->addRow(tr("Resolution:"), m_resolution);
    m_form->addRow(tr("Printed size:"), m_inches);
    m_form->addRow(buttons);
}

void SaveOptionsDialog::offerPart(const ChartGrid &grid, const QRect &cells,
                                  const std::function<QSizeF(const QRect &)> &sizeOf)
{
    if (!m_range) {
        m_range = new ChartRangeBox;
        m_form->insertRow(m_form->rowCount() - 1, m_range);
        connect(m_range, &ChartRangeBox::cellsChanged, this, &SaveOptionsDialog::partChanged);
    }
    m_sizeOf = sizeOf;
    m_range->setChart(grid, cells);
    partChanged();
}

QRect SaveOptionsDialog::cells() const
{
    return m_range ? m_range->cells() : QRect();
}

void SaveOptionsDialog::partChanged()
{
    if (!m_sizeOf)
        return;
    const QSizeF source = m_sizeOf(cells());
    if (source.width() <= 0)
        return;
    m_ratio = source.height() / source.width();
    m_wantedInches = source.width() / 96.0;
    resolutionChanged(m_resolution->value());
}

QSize SaveOptionsDialog::imageSize() const
{
    return QSize(m_width->value(), m_height->value());
}

int SaveOptionsDialog::resolution() const
{
    return m_resolution->value();
}

void SaveOptionsDialog::spinWChanged(int)
{
    keepShape(m_width);
    m_wantedInches = m_width->value() / double(m_resolution->value());
}

void SaveOptionsDialog::spinHChanged(int)
{
    keepShape(m_height);
    m_wantedInches = m_width->value() / double(m_resolution->value());
}

void SaveOptionsDialog::keepShape(QSpinBox *changed)
{
    if (m_ratio > 0) {
        const QSignalBlocker widthBlocker(m_width);
        const QSignalBlocker heightBlocker(m_height);
        const int typedHeight = m_height->value();
        const int width = changed == m_width ? m_width->value()
                                             : int(qMin(std::ceil(typedHeight / m_ratio), double(INT_MAX)));
        const QSize size = ChartPicture::fittedSize(QSizeF(1, m_ratio), width);
        m_width->setValue(size.width());
        // A height typed that fits stays as typed.
        m_height->setValue(changed == m_height && size.width() == width ? typedHeight : size.height());
    }
    showInches();
}

void SaveOptionsDialog::showInches()
{
    const double resolution = m_resolution->value();
    m_inches->setText(tr("%1 × %2 inches")
                          .arg(m_width->value() / resolution, 0, 'f', 2)
                          .arg(m_height->value() / resolution, 0, 'f', 2));
}

// The inches asked for stay, however often the largest size cut them.
void SaveOptionsDialog::resolutionChanged(int resolution)
{
    {
        const QSignalBlocker blocker(m_width);
        m_width->setValue(qRound(qMin(m_wantedInches * resolution, double(ChartPicture::largestSide))));
    }
    keepShape(m_width);
}
