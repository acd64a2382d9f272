#ifndef TEXTUNDOSTACK_H
#define TEXTUNDOSTACK_H

#include <QUndoStack>

class QTextEdit;

// An undo stack that follows a rich-text editor's own undo history: one
// step for each step its document records, undone and redone by the editor
// itself, which also brings the caret to the change. Undo and redo must
// come through this stack, so that both stay in step; the editor's own
// undo keys and menu entries are routed here (see routeUndoKeys).
class TextUndoStack : public QUndoStack
{
    Q_OBJECT

public:
    explicit TextUndoStack(QTextEdit *edit, QObject *parent = nullptr);

private:
    friend class TextStep;

    void follow();
    void rebuild(int undoSteps, int redoSteps);

    QTextEdit *m_edit;
    // Set while the editor undoes or redoes at this stack's bidding, and
    // while the stack is rebuilt: the document's signals then say nothing
    // new.
    bool m_acting = false;
};

#endif // TEXTUNDOSTACK_H
