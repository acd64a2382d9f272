#include "saveoptionsdialog.h"

#include "chartrangebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QSpinBox>

#include <cmath>

SaveOptionsDialog::SaveOptionsDialog(const QSize &source, int resolution, QWidget *parent)
    : QDialog(parent)
    , m_width(new QSpinBox)
    , m_height(new QSpinBox)
    , m_resolution(new QSpinBox)
    , m_ratio(source.width() > 0 ? double(source.height()) / source.width() : 1.0)
    , m_lastResolution(qBound(50, resolution, 3000))
    , m_form(new QFormLayout(this))
{
    setWindowTitle(tr("Save Options"));
    m_width->setRange(10, 10000);
    m_height->setRange(10, 10000);
    // The screen shows charts at 96 pixels an inch.
    const double pixels = m_lastResolution / 96.0;
    m_width->setValue(qRound(source.width() * pixels));
    m_height->setValue(int(std::ceil(m_width->value() * m_ratio)));
    m_resolution->setRange(50, 3000);
    m_resolution->setSuffix(QLatin1Char(' ') + tr("DPI"));
    m_resolution->setValue(m_lastResolution);
    connect(m_width, &QSpinBox::valueChanged, this, &SaveOptionsDialog::spinWChanged);
    connect(m_height, &QSpinBox::valueChanged, this, &SaveOptionsDialog::spinHChanged);
    connect(m_resolution, &QSpinBox::valueChanged, this, &SaveOptionsDialog::resolutionChanged);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_form->addRow(tr("Width:"), m_width);
    m_form->addRow(tr("Height:"), m_height);
    m_form->addRow(tr("Resolution:"), m_resolution);
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
    const QSignalBlocker blocker(m_width);
    m_width->setValue(qRound(source.width() * m_lastResolution / 96.0));
    spinWChanged(m_width->value());
}

QSize SaveOptionsDialog::imageSize() const
{
    return QSize(m_width->value(), m_height->value());
}

int SaveOptionsDialog::resolution() const
{
    return m_resolution->value();
}

void SaveOptionsDialog::spinWChanged(int width)
{
    const QSignalBlocker blocker(m_height);
    m_height->setValue(int(std::ceil(width * m_ratio)));
}

void SaveOptionsDialog::spinHChanged(int height)
{
    if (m_ratio <= 0)
        return;
    const QSignalBlocker blocker(m_width);
    m_width->setValue(int(std::ceil(height / m_ratio)));
}

void SaveOptionsDialog::resolutionChanged(int resolution)
{
    if (resolution <= 0 || m_lastResolution <= 0)
        return;
    m_width->setValue(qRound(m_width->value() * double(resolution) / m_lastResolution));
    m_lastResolution = resolution;
}
