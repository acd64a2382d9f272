#include "stitchreplacerdialog.h"

#include "stitch.h"
#include "stitchset.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

StitchReplacerDialog::StitchReplacerDialog(QWidget *parent)
    : QDialog(parent)
    , m_original(new QComboBox)
    , m_new(new QComboBox)
{
    setWindowTitle(tr("Replace a Stitch"));
    for (Stitch *stitch : StitchSet::instance()->stitches()) {
        m_original->addItem(stitch->icon(), stitch->stitchID());
        if (stitch->cellsPerStitch() == 1 && stitch->paths().size() <= 1)
            m_new->addItem(stitch->icon(), stitch->stitchID());
    }
    for (QComboBox *box : {m_original, m_new}) {
        box->setIconSize(QSize(32, 32));
        box->setMaxVisibleItems(20);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Original Stitch:")));
    layout->addWidget(m_original);
    layout->addWidget(new QLabel(tr("New Stitch:")));
    layout->addWidget(m_new);
    layout->addWidget(buttons);
}

QString StitchReplacerDialog::originalStitch() const
{
    return m_original->currentText();
}

QString StitchReplacerDialog::newStitch() const
{
    return m_new->currentText();
}
