#include "saveoptionsdialog.h"

#include "chartrangebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

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
    m_width->setRange(smallestSide, largestSide);
    m_height->setRange(smallestSide, largestSide);
    m_resolution->setRange(50, 3000);
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
        // Rounded up, as the picture is drawn: no cell is cut.
        double width = changed == m_width ? m_width->value() : std::ceil(m_height->value() / m_ratio);
        double height = changed == m_width ? std::ceil(width * m_ratio) : m_height->value();
        if (qMax(width, height) > largestSide) {
            width = std::floor(width * largestSide / qMax(width, height));
            height = std::ceil(width * m_ratio);
        }
        m_width->setValue(int(width));
        m_height->setValue(int(height));
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
        m_width->setValue(qRound(qMin(m_wantedInches * resolution, double(largestSide))));
    }
    keepShape(m_width);
}
