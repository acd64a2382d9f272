#include "linkdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

LinkDialog::LinkDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Insert Link"));
    m_text = new QLineEdit;
    m_text->setObjectName(QStringLiteral("text"));
    m_url = new QLineEdit(QStringLiteral("http://"));
    m_url->setObjectName(QStringLiteral("url"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Text:"), m_text);
    layout->addRow(tr("URL:"), m_url);
    layout->addRow(buttons);
    setMinimumWidth(360);
}

QString LinkDialog::text() const
{
    return m_text->text();
}

void LinkDialog::setText(const QString &text)
{
    m_text->setText(text);
}

QString LinkDialog::url() const
{
    return m_url->text().trimmed();
}

void LinkDialog::setUrl(const QString &url)
{
    m_url->setText(url);
}
