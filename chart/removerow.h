#ifndef REMOVEROW_H
#define REMOVEROW_H

#include "cellinfo.h"

#include <QList>
#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;

// Removes the row at index `row` from the grid and the written
// instructions; undo brings its cells back as they were, borders included.
class RemoveRow : public QUndoCommand
{
public:
    RemoveRow(int row, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_row;
    KnitScene *m_scene;
    KnitTextEdit *m_editor;
    QList<CellInfo> m_cells;
};

#endif // REMOVEROW_H
