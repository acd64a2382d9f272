#ifndef INSERTCHARTDIALOG_H
#define INSERTCHARTDIALOG_H

#include <QDialog>
#include <QList>
#include <QRect>

class ChartGrid;
class ChartRangeBox;
class QDoubleSpinBox;
class QListWidget;

// Chooses what to place in the Directions: a chart's picture at a largest
// printed size (all of it or some of its rows and stitches), a chart's
// written instructions, or the stitch key.
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
    // Each chart, and the part its picture showed last (null for all of
    // it), in the order of `charts`. The charts outlive the dialog.
    void setChartParts(const QList<const ChartGrid *> &grids, const QList<QRect> &parts);
    // The part of the chosen chart; null for all of it.
    QRect cells() const;

private:
    void showPart();

    QDoubleSpinBox *m_width;
    QDoubleSpinBox *m_height;
    ChartRangeBox *m_range;
    QListWidget *m_list;
    QStringList m_charts;
    QList<const ChartGrid *> m_grids;
    QList<QRect> m_parts;
};

#endif // INSERTCHARTDIALOG_H
