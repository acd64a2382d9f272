#ifndef SAVEOPTIONSDIALOG_H
#define SAVEOPTIONSDIALOG_H

#include <QDialog>
#include <QRect>

#include <functional>

class ChartGrid;
class ChartRangeBox;
class QFormLayout;
class QLabel;
class QSpinBox;

// The size and resolution of an exported chart picture. Width and height
// keep the chart's aspect ratio, also where one side reaches the largest
// size; the size starts at the chart's own size on screen, in inches, at
// the resolution, and keeps its inches when the resolution changes. The
// dialog shows the inches the picture prints at.
class SaveOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    SaveOptionsDialog(const QSize &source, int resolution, QWidget *parent = nullptr);

    QSize imageSize() const;
    int resolution() const;

    // Offers a part of a chart of `columns` by `rows` cells, starting at
    // `cells` (null for the whole chart); `sizeOf` gives the size a part
    // (null: the whole chart) is drawn at on screen.
    void offerPart(const ChartGrid &grid, const QRect &cells, const std::function<QSizeF(const QRect &)> &sizeOf);
    // The part chosen; null for the whole chart.
    QRect cells() const;

private Q_SLOTS:
    void spinWChanged(int width);
    void spinHChanged(int height);
    void resolutionChanged(int resolution);
    // The size and shape follow the part chosen.
    void partChanged();

private:
    // Sets the other side from `changed`; where that would pass the
    // largest size, both sides shrink to keep the shape.
    void keepShape(QSpinBox *changed);
    void showInches();

    QSpinBox *m_width;
    QSpinBox *m_height;
    QSpinBox *m_resolution;
    QLabel *m_inches;
    double m_ratio;
    // The width the designer asked for, in inches.
    double m_wantedInches;
    QFormLayout *m_form;
    ChartRangeBox *m_range = nullptr;
    std::function<QSizeF(const QRect &)> m_sizeOf;
};

#endif // SAVEOPTIONSDIALOG_H
