#include "printdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

PrintDialog::PrintDialog(const QStringList &charts, QWidget *parent)
    : QDialog(parent)
    , m_document(new QCheckBox(tr("[Document]")))
    , m_key(new QCheckBox(tr("[Key]")))
{
    setWindowTitle(tr("Selection"));
    setMinimumSize(400, 75);
    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(tr("If you have included the charts in the Document you don't need to select them here."));
    note->setWordWrap(true);
    layout->addWidget(note);
    m_document->setChecked(true);
    layout->addWidget(m_document);
    layout->addWidget(m_key);
    connect(m_document, &QCheckBox::toggled, this, &PrintDialog::documentToggled);
    connect(m_key, &QCheckBox::toggled, this, &PrintDialog::keyToggled);
    for (const QString &chart : charts) {
        auto *box = new QCheckBox(chart);
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &PrintDialog::chartToggled);
        m_charts.append(box);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QStringList PrintDialog::selected() const
{
    QStringList selection;
    if (m_document->isChecked())
        selection.append(m_document->text());
    if (m_key->isChecked())
        selection.append(m_key->text());
    for (const QCheckBox *box : m_charts) {
        if (box->isChecked())
            selection.append(box->text());
    }
    return selection;
}

void PrintDialog::documentToggled()
{
    const QSignalBlocker key(m_key);
    m_key->setChecked(false);
    for (QCheckBox *box : std::as_const(m_charts)) {
        const QSignalBlocker blocker(box);
        box->setChecked(false);
    }
}

void PrintDialog::keyToggled()
{
    const QSignalBlocker document(m_document);
    m_document->setChecked(false);
    for (QCheckBox *box : std::as_const(m_charts)) {
        const QSignalBlocker blocker(box);
        box->setChecked(false);
    }
}

void PrintDialog::chartToggled()
{
    const QSignalBlocker document(m_document);
    const QSignalBlocker key(m_key);
    m_document->setChecked(false);
    m_key->setChecked(false);
}
