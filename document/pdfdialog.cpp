#include "pdfdialog.h"

#include "preferences.h"
#include "settings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>

PdfDialog::PdfDialog(QPrinter *, QWidget *parent)
    : QDialog(parent)
    , m_path(new QLineEdit)
{
    setWindowTitle(tr("Export to PDF"));
    m_path->setMinimumWidth(360);
    auto *browse = new QToolButton;
    browse->setIcon(QIcon(QStringLiteral(":/images/fileopen.png")));
    browse->setToolTip(tr("Find File"));
    connect(browse, &QToolButton::clicked, this, &PdfDialog::getFile);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Save As:")));
    row->addWidget(m_path, 1);
    row->addWidget(browse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &PdfDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void PdfDialog::setFileName(const QString &documentFile)
{
    const QFileInfo info(documentFile);
    QString folder = info.absolutePath();
    // An unsaved document lives in the temporary folder or nowhere yet.
    const bool unsaved = info.isRelative() || folder.startsWith(QDir::tempPath());
    if (unsaved) {
        folder = Preferences::fileFolder();
    }
    m_path->setText(QDir::toNativeSeparators(folder + QLatin1Char('/') + info.completeBaseName()
                                             + QStringLiteral(".pdf")));
}

QString PdfDialog::fileName() const
{
    return QDir::fromNativeSeparators(m_path->text());
}

void PdfDialog::getFile()
{
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Export PDF"), fileName(),
                                                        tr("PDF Files (*.pdf)"));
    if (!chosen.isEmpty())
        m_path->setText(QDir::toNativeSeparators(chosen));
}

void PdfDialog::accept()
{
    QString path = m_path->text().trimmed();
    if (path.isEmpty()) {
        QMessageBox::warning(this, tr("Select File"), tr("Please select a file name if you want to create a PDF."));
        return;
    }
    if (!path.endsWith(QLatin1String(".pdf")))
        path += QStringLiteral(".pdf");
    m_path->setText(path);
    QDialog::accept();
}
