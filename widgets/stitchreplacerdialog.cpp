#include "stitchreplacerdialog.h"

#include "stitch.h"
#include "stitchset.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

bool fitsOneCell(const Stitch *stitch)
{
    return stitch->cellsPerStitch() == 1 && stitch->paths().size() <= 1;
}

} // namespace

StitchReplacerDialog::StitchReplacerDialog(const QList<Stitch *> &inChart, QWidget *parent)
    : QDialog(parent)
    , m_original(new QComboBox)
    , m_new(new QComboBox)
{
    setWindowTitle(tr("Replace a Stitch"));
    QList<Stitch *> others = StitchSet::instance()->stitches();
    for (Stitch *stitch : inChart) {
        others.removeOne(stitch);
        m_original->addItem(stitch->icon(), stitch->stitchID());
        if (fitsOneCell(stitch))
            m_new->addItem(stitch->icon(), stitch->stitchID());
    }
    for (QComboBox *box : {m_original, m_new}) {
        if (box->count() > 0)
            box->insertSeparator(box->count());
    }
    for (Stitch *stitch : others) {
        m_original->addItem(stitch->icon(), stitch->stitchID());
        if (fitsOneCell(stitch))
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
