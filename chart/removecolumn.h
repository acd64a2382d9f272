#ifndef REMOVECOLUMN_H
#define REMOVECOLUMN_H

#include "cellinfo.h"

#include <QList>
#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;

// Removes the column at index `column` from the grid and the written
// instructions; undo brings its cells back as they were, borders included.
class RemoveColumn : public QUndoCommand
{
public:
    RemoveColumn(int column, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_column;
    KnitScene *m_scene;
    KnitTextEdit *m_editor;
    QList<CellInfo> m_cells;
};

#endif // REMOVECOLUMN_H
