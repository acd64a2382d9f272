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

// Abbreviations alone are hard to tell apart among two hundred stitches:
// each entry says the stitch's name too, and its description on hover.
void addStitch(QComboBox *box, Stitch *stitch)
{
    const QString id = stitch->stitchID();
    const QString text = stitch->name().isEmpty() || stitch->name() == id
        ? id
        : StitchReplacerDialog::tr("%1 \u2013 %2").arg(id, stitch->name());
    box->addItem(stitch->icon(), text, id);
    box->setItemData(box->count() - 1, stitch->description(), Qt::ToolTipRole);
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
        addStitch(m_original, stitch);
        if (fitsOneCell(stitch))
            addStitch(m_new, stitch);
    }
    for (QComboBox *box : {m_original, m_new}) {
        if (box->count() > 0)
            box->insertSeparator(box->count());
    }
    for (Stitch *stitch : others) {
        addStitch(m_original, stitch);
        if (fitsOneCell(stitch))
            addStitch(m_new, stitch);
    }
    for (QComboBox *box : {m_original, m_new}) {
        box->setIconSize(QSize(32, 32));
        box->setMaxVisibleItems(20);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(28);
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
    return m_original->currentData().toString();
}

QString StitchReplacerDialog::newStitch() const
{
    return m_new->currentData().toString();
}
