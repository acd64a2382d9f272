#include "newchartdialog.h"

#include "preferences.h"
#include "stitch.h"
#include "stitchset.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

NewChartDialog::NewChartDialog(bool chartOnly, const QString &proposedTitle, QWidget *parent)
    : QDialog(parent)
    , m_title(new QLineEdit(proposedTitle))
    , m_width(new QSpinBox)
    , m_height(new QSpinBox)
    , m_stitch(new QComboBox)
{
    setWindowTitle(chartOnly ? tr("New Chart") : tr("New Document"));
    m_width->setRange(1, 1000);
    m_width->setValue(Preferences::chartWidth.value());
    m_height->setRange(1, 1000);
    m_height->setValue(Preferences::chartHeight.value());

    StitchSet *catalogue = StitchSet::instance();
    const Stitch *preferred = catalogue->defaultStitch();
    for (const char *id : {"k", "p", "x"}) {
        bool found = false;
        Stitch *stitch = catalogue->findStitch(QString::fromLatin1(id), &found);
        if (!found)
            continue;
        m_stitch->addItem(stitch->icon(), stitch->name(), stitch->stitchID());
        if (preferred && stitch->name() == preferred->name())
            m_stitch->setCurrentIndex(m_stitch->count() - 1);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Chart Title:"), m_title);
    layout->addRow(tr("Stitches:"), m_width);
    layout->addRow(tr("Rows:"), m_height);
    layout->addRow(tr("Default Stitch:"), m_stitch);
    layout->addRow(buttons);
}

DocValues NewChartDialog::values() const
{
    DocValues values;
    if (result() != QDialog::Accepted)
        return values;
    values.width = m_width->value();
    values.height = m_height->value();
    values.title = m_title->text();
    values.defaultStitch = m_stitch->currentData().toString();
    return values;
}
