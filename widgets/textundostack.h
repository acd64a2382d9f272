#ifndef TEXTUNDOSTACK_H
#define TEXTUNDOSTACK_H

#include <QUndoStack>

class QTextDocument;

// An undo stack that follows a rich-text document's own undo history: one
// step for each step the document records, undone and redone by the
// document itself. Undo and redo must come through this stack, so that
// both stay in step; a text editor's own undo keys and menu entries are
// routed here (see routeUndoKeys).
class TextUndoStack : public QUndoStack
{
    Q_OBJECT

public:
    explicit TextUndoStack(QTextDocument *document, QObject *parent = nullptr);

private:
    QTextDocument *m_document;
};

#endif // TEXTUNDOSTACK_H
