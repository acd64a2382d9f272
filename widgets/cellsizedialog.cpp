#include "cellsizedialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

CellSizeDialog::CellSizeDialog(const QSize &current, QWidget *parent)
    : QDialog(parent)
    , m_width(new QSpinBox)
    , m_height(new QSpinBox)
{
    setWindowTitle(tr("Set Stitch Size"));
    for (QSpinBox *box : {m_width, m_height})
        box->setRange(10, 100);
    m_width->setValue(current.width());
    m_height->setValue(current.height());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Cell Width:"), m_width);
    layout->addRow(tr("Cell Height:"), m_height);
    layout->addRow(buttons);
}

QSize CellSizeDialog::cellSize() const
{
    return QSize(m_width->value(), m_height->value());
}
