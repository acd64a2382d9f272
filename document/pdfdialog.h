#ifndef PDFDIALOG_H
#define PDFDIALOG_H

#include <QDialog>

class QLineEdit;
class QPrinter;

// Asks where to write a PDF of the document.
class PdfDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PdfDialog(QPrinter *printer, QWidget *parent = nullptr);

    // Proposes "<folder>/<base name>.pdf" for the document file.
    void setFileName(const QString &documentFile);
    QString fileName() const;

public Q_SLOTS:
    void getFile();
    void accept() override;

private:
    QLineEdit *m_path;
};

#endif // PDFDIALOG_H
