#ifndef SAVEOPTIONSDIALOG_H
#define SAVEOPTIONSDIALOG_H

#include <QDialog>

class QSpinBox;

// The size and resolution of an exported chart picture. Width and height
// keep the chart's aspect ratio; the size starts at the chart's own size
// on screen, in inches, at the resolution, and keeps its inches when the
// resolution changes.
class SaveOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    SaveOptionsDialog(const QSize &source, int resolution, QWidget *parent = nullptr);

    QSize imageSize() const;
    int resolution() const;

private Q_SLOTS:
    void spinWChanged(int width);
    void spinHChanged(int height);
    void resolutionChanged(int resolution);

private:
    QSpinBox *m_width;
    QSpinBox *m_height;
    QSpinBox *m_resolution;
    double m_ratio;
    int m_lastResolution;
};

#endif // SAVEOPTIONSDIALOG_H
