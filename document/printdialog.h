#ifndef PRINTDIALOG_H
#define PRINTDIALOG_H

#include <QDialog>
#include <QList>

class QCheckBox;

// Chooses what to print: the Directions page, the key, or any of the
// charts. The page and the key each exclude everything else.
class PrintDialog : public QDialog
{
    Q_OBJECT

public:
    PrintDialog(const QStringList &charts, QWidget *parent = nullptr);

    // "[Document]", "[Key]" or the checked charts, in that order.
    QStringList selected() const;

private:
    void documentToggled();
    void keyToggled();
    void chartToggled();

    QCheckBox *m_document;
    QCheckBox *m_key;
    QList<QCheckBox *> m_charts;
};

#endif // PRINTDIALOG_H
