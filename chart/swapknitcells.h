#ifndef SWAPKNITCELLS_H
#define SWAPKNITCELLS_H

#include <QPointF>
#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;

// Exchanges the stitches and colours of two cells; borders stay put.
class SwapKnitCells : public QUndoCommand
{
public:
    SwapKnitCells(const QPointF &first, const QPointF &second, KnitScene *scene, KnitTextEdit *editor,
                  QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    void tellEditor();

    QPointF m_first;
    QPointF m_second;
    KnitScene *m_scene;
    KnitTextEdit *m_editor;
};

#endif // SWAPKNITCELLS_H
