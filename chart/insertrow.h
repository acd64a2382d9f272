#ifndef INSERTROW_H
#define INSERTROW_H

#include <QUndoCommand>

class KnitScene;
class KnitTextEdit;

// Inserts a row of the default stitch at index `row` of the grid and
// of the written instructions.
class InsertRow : public QUndoCommand
{
public:
    InsertRow(int row, KnitScene *scene, KnitTextEdit *editor, QUndoCommand *parent = nullptr);

    void redo() override;
    void undo() override;

private:
    int m_row;
    KnitTextEdit *m_editor;
    KnitScene *m_scene;
};

#endif // INSERTROW_H
