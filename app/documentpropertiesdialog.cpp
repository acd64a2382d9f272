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
    box->setRange(0, 200);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSpecialValueText(DocumentPropertiesDialog::tr("Not given"));
    box->setValue(value);
    return box;
}

} // namespace

DocumentPropertiesDialog::DocumentPropertiesDialog(const Gauge &gauge, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Pattern Properties"));
    auto *group = new QGroupBox(tr("Gauge"), this);
    m_stitches = gaugeBox(gauge.stitches, QStringLiteral("gaugeStitches"), group);
    m_rows = gaugeBox(gauge.rows, QStringLiteral("gaugeRows"), group);
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

Gauge DocumentPropertiesDialog::gauge() const
{
    return Gauge{m_stitches->value(), m_rows->value()};
}
