#include "saveoptionsdialog.h"

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
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Width:"), m_width);
    layout->addRow(tr("Height:"), m_height);
    layout->addRow(tr("Resolution:"), m_resolution);
    layout->addRow(buttons);
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
