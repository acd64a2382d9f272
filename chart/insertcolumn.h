#ifndef INSERTCOLUMN_H
#define INSERTCOLUMN_H

#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;

// Inserts a column of the default stitch at index `column` of the grid and
// of the written instructions.
class InsertColumn : public QUndoCommand
{
public:
    InsertColumn(int column, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_column;
    KnitTextEdit *m_editor;
    KnitScene *m_scene;
};

#endif // INSERTCOLUMN_H
