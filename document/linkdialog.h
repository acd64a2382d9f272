#ifndef LINKDIALOG_H
#define LINKDIALOG_H

#include <QDialog>

class QLineEdit;

// Asks for the text and the target of a link to put into the Directions.
class LinkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LinkDialog(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    QString url() const;
    void setUrl(const QString &url);

private:
    QLineEdit *m_text = nullptr;
    QLineEdit *m_url = nullptr;
};

#endif // LINKDIALOG_H
