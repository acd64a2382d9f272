#include "writtenstyledialog.h"

#include "chartgrid.h"
#include "chartinstructions.h"
#include "waitcursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

WrittenStyleDialog::WrittenStyleDialog(ChartGrid *grid, const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_grid(grid)
    , m_title(title)
    , m_original(grid->options().written)
    , m_style(new QComboBox)
    , m_repeats(new QComboBox)
    , m_counts(new QComboBox)
    , m_findRepeats(new QCheckBox(tr("Find the repeat of rows without a repeat box")))
    , m_text(new QPlainTextEdit)
{
    setWindowTitle(tr("Written Instructions"));
    m_style->addItem(tr("Plain: every row in full"), int(WrittenStyle::Plain));
    m_style->addItem(tr("Published: labels, repeats and stitch counts"), int(WrittenStyle::Published));
    m_repeats->addItem(tr("*k2, p2; rep from * to end"), int(RepeatForm::Stars));
    m_repeats->addItem(tr("[k2, p2] 5 times"), int(RepeatForm::Brackets));
    m_counts->addItem(tr("On rows that change it"), int(StitchCounts::Changed));
    m_counts->addItem(tr("On every row"), int(StitchCounts::Every));
    m_counts->addItem(tr("None"), int(StitchCounts::None));
    m_findRepeats->setToolTip(tr("A row that no repeat box covers is written with the longest repeat it holds"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setMinimumSize(520, 220);
    showChoices(m_original);

    for (QComboBox *box : {m_style, m_repeats, m_counts})
        connect(box, &QComboBox::currentIndexChanged, this, &WrittenStyleDialog::preview);
    connect(m_findRepeats, &QCheckBox::toggled, this, &WrittenStyleDialog::preview);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout;
    form->addRow(tr("Style:"), m_style);
    form->addRow(tr("Repeats:"), m_repeats);
    form->addRow(tr("Stitch counts:"), m_counts);
    form->addRow(QString(), m_findRepeats);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    preview();
}

WrittenOptions WrittenStyleDialog::chosen() const
{
    WrittenOptions written;
    written.style = WrittenStyle(m_style->currentData().toInt());
    written.repeats = RepeatForm(m_repeats->currentData().toInt());
    written.counts = StitchCounts(m_counts->currentData().toInt());
    written.findRepeats = m_findRepeats->isChecked();
    return written;
}

void WrittenStyleDialog::reject()
{
    m_grid->setWrittenOptions(m_original);
    QDialog::reject();
}

void WrittenStyleDialog::showChoices(const WrittenOptions &written)
{
    m_style->setCurrentIndex(m_style->findData(int(written.style)));
    m_repeats->setCurrentIndex(m_repeats->findData(int(written.repeats)));
    m_counts->setCurrentIndex(m_counts->findData(int(written.counts)));
    m_findRepeats->setChecked(written.findRepeats);
}

// The chart takes each choice at once, so that its text shows it.
void WrittenStyleDialog::preview()
{
    const WrittenOptions written = chosen();
    const bool published = written.style == WrittenStyle::Published;
    for (QWidget *widget : std::initializer_list<QWidget *>{m_repeats, m_counts, m_findRepeats})
        widget->setEnabled(published);
    const WaitCursor wait;
    m_grid->setWrittenOptions(written);
    m_text->setPlainText(ChartInstructions::text(m_title, *m_grid).trimmed());
}
