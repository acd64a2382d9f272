#ifndef SETCELLSIZE_H
#define SETCELLSIZE_H

#include <QSize>
#include <QUndoCommand>

class KnitScene;

// Changes the size of every cell of the chart.
class SetCellSize : public QUndoCommand
{
public:
    SetCellSize(const QSize &size, KnitScene *scene, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    QSize m_oldSize;
    QSize m_newSize;
    KnitScene *m_scene;
};

#endif // SETCELLSIZE_H
