#ifndef LINENUMBERAREA_H
#define LINENUMBERAREA_H

#include <QWidget>

class KnitTextEdit;

// The gutter to the left of the written instructions: the label of each
// row ("Row 3  (rs)") beside its line. The editor does the painting.
class LineNumberArea : public QWidget
{
    Q_OBJECT

public:
    explicit LineNumberArea(KnitTextEdit *editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KnitTextEdit *m_editor;
};

#endif // LINENUMBERAREA_H
