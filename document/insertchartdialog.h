#ifndef INSERTCHARTDIALOG_H
#define INSERTCHARTDIALOG_H

#include <QDialog>

class QDoubleSpinBox;
class QListWidget;

// Chooses what to place in the Directions: a chart's picture at a largest
// printed size, a chart's written instructions, or the stitch key.
class InsertChartDialog : public QDialog
{
    Q_OBJECT

public:
    InsertChartDialog(const QStringList &charts, QWidget *parent = nullptr);

    // "Chart:<tab index>", "Instructions:<tab index>" or "Document Key";
    // empty when nothing is chosen.
    QString choice() const;
    double widthInches() const;
    double heightInches() const;

    // Tab indexes of the charts, in the order of `charts`.
    void setTabIndexes(const QList<int> &indexes);

private:
    QDoubleSpinBox *m_width;
    QDoubleSpinBox *m_height;
    QListWidget *m_list;
    QStringList m_charts;
};

#endif // INSERTCHARTDIALOG_H
