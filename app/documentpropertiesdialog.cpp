#include "documentpropertiesdialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// 0 stands for "not given", and says so.
QDoubleSpinBox *gaugeBox(double value, const QString &name, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, Gauge::largest);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSpecialValueText(DocumentPropertiesDialog::tr("Not given"));
    box->setValue(value);
    return box;
}

} // namespace

DocumentPropertiesDialog::DocumentPropertiesDialog(const Gauge &gauge, QWidget *parent)
    : QDialog(parent)
    , m_given(gauge)
{
    setWindowTitle(tr("Pattern Properties"));
    auto *group = new QGroupBox(tr("Gauge"), this);
    m_stitches = gaugeBox(gauge.stitches, QStringLiteral("gaugeStitches"), group);
    m_rows = gaugeBox(gauge.rows, QStringLiteral("gaugeRows"), group);
    for (QDoubleSpinBox *box : {m_stitches, m_rows})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { m_edited = true; });
    auto *form = new QFormLayout(group);
    form->addRow(tr("Stitches in 10 cm:"), m_stitches);
    form->addRow(tr("Rows in 10 cm:"), m_rows);
    auto *hint = new QLabel(tr("The pattern check measures colourwork floats at this gauge."), group);
    hint->setWordWrap(true);
    form->addRow(hint);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The gauge as given unless it was changed here, so that merely looking
// changes nothing; a number too small to knit to means none.
Gauge DocumentPropertiesDialog::gauge() const
{
    if (!m_edited)
        return m_given;
    const auto sane = [](double value) { return value >= Gauge::smallest ? value : 0.0; };
    return Gauge{sane(m_stitches->value()), sane(m_rows->value())};
}
