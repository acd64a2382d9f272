#ifndef COPYKNITCELL_H
#define COPYKNITCELL_H

#include <QColor>
#include <QPointF>
#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;
class Stitch;

// Gives one cell the stitch and colour of another; borders are not copied.
class CopyKnitCell : public QUndoCommand
{
public:
    CopyKnitCell(const QPointF &from, const QPointF &to, KnitScene *scene, KnitTextEdit *editor,
                 QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QPointF m_from;
    QPointF m_to;
    Stitch *m_oldStitch = nullptr;
    int m_oldImgPos = 0;
    QColor m_oldColor;
    KnitScene *m_scene;
    KnitTextEdit *m_editor;
};

#endif // COPYKNITCELL_H
