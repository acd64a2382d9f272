#include "writtenpatterndialog.h"

#include "stitchset.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

WrittenPatternDialog::WrittenPatternDialog(QWidget *parent)
    : QDialog(parent)
    , m_parser(StitchSet::instance()->keyWords())
    , m_text(new QPlainTextEdit)
    , m_summary(new QLabel)
    , m_unread(new QListWidget)
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Cancel))
    , m_reread(new QTimer(this))
{
    setWindowTitle(tr("New Chart from Written Instructions"));
    auto *intro = new QLabel(tr("Paste or type a written pattern: its title, the cast-on and its rows, as in "
                                "\"Row 1 (RS): K2, *p2, k2; rep from * to end.\""));
    intro->setWordWrap(true);
    m_text->setPlaceholderText(tr("Cast on a multiple of 4 sts plus 2.\nRow 1 (RS): K2, *p2, k2; rep from * to "
                                  "end.\nRow 2 (WS): P2, *k2, p2; rep from * to end."));
    m_text->setMinimumSize(560, 240);
    m_summary->setWordWrap(true);
    m_unread->setMinimumHeight(90);
    m_unread->setSelectionMode(QAbstractItemView::NoSelection);
    QPushButton *build = m_buttons->addButton(tr("Build Chart"), QDialogButtonBox::AcceptRole);
    build->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Read a moment after typing stops, so that a long paste is read once.
    m_reread->setSingleShot(true);
    m_reread->setInterval(250);
    connect(m_reread, &QTimer::timeout, this, &WrittenPatternDialog::readText);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        m_stale = true;
        m_reread->start();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_text, 3);
    layout->addWidget(m_summary);
    layout->addWidget(m_unread, 1);
    layout->addWidget(m_buttons);
    readText();
}

void WrittenPatternDialog::setText(const QString &text)
{
    m_text->setPlainText(text);
    readText();
}

const WrittenPattern &WrittenPatternDialog::pattern()
{
    if (m_stale)
        readText();
    return m_pattern;
}

void WrittenPatternDialog::readText()
{
    m_reread->stop();
    m_pattern = WrittenPattern::read(m_text->toPlainText(), m_parser);
    m_stale = false;
    const bool rows = m_pattern.hasRows();
    for (QAbstractButton *button : m_buttons->buttons()) {
        if (m_buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            button->setEnabled(rows && m_pattern.width > 0);
    }
    if (!rows) {
        m_summary->setText(tr("No rows yet."));
    } else {
        const QString title = m_pattern.title.isEmpty() ? tr("Written Chart") : m_pattern.title;
        m_summary->setText(tr("A chart \"%1\" of %2 stitches and %3 rows.")
                               .arg(title)
                               .arg(m_pattern.width)
                               .arg(m_pattern.rowLines.size()));
    }
    m_unread->clear();
    for (const QString &problem : std::as_const(m_pattern.problems))
        m_unread->addItem(problem);
    for (const QString &note : std::as_const(m_pattern.notes))
        m_unread->addItem(tr("Not a row, goes to the Directions page: %1").arg(note));
    if (!m_pattern.problems.isEmpty())
        m_unread->addItem(tr("Rows not read are left as No Stitch; their lines go to the Directions page."));
    if (rows && m_unread->count() == 0)
        m_unread->addItem(tr("Every line is read."));
}
