#include "textundostack.h"

#include <QTextDocument>
#include <QTextEdit>
#include <QUndoCommand>

// A step the document has already taken: pushing it does nothing, undoing
// and redoing it is the editor's work.
class TextStep : public QUndoCommand
{
public:
    explicit TextStep(TextUndoStack *stack, bool done)
        : QUndoCommand(QObject::tr("Typing"))
        , m_stack(stack)
        , m_done(done)
    {
    }

    void redo() override
    {
        if (m_done)
            act([this] { m_stack->m_edit->redo(); });
        m_done = true;
    }

    void undo() override
    {
        act([this] { m_stack->m_edit->undo(); });
    }

private:
    template<typename Work>
    void act(Work work)
    {
        if (m_stack->m_acting)
            return;
        m_stack->m_acting = true;
        work();
        m_stack->m_acting = false;
    }

    TextUndoStack *m_stack;
    bool m_done;
};

TextUndoStack::TextUndoStack(QTextEdit *edit, QObject *parent)
    : QUndoStack(parent)
    , m_edit(edit)
{
    QTextDocument *document = edit->document();
    connect(document, &QTextDocument::undoCommandAdded, this, [this] {
        if (!m_acting)
            push(new TextStep(this, false));
    });
    // The document also drops steps without a word: typing after an undo
    // may merge into the step before and end the redo history, and new
    // content clears it all. Its own answers to "can undo" and "can redo"
    // are the truth this stack is brought back to.
    // Only once an edit is complete: within an edit block the document can
    // undo before it announces the step.
    connect(document, &QTextDocument::contentsChanged, this, &TextUndoStack::follow);
}

void TextUndoStack::follow()
{
    if (m_acting)
        return;
    const QTextDocument *document = m_edit->document();
    const bool undo = document->isUndoAvailable();
    const bool redo = document->isRedoAvailable();
    const int undoSteps = undo ? qMax(index(), 1) : 0;
    const int redoSteps = redo ? qMax(count() - index(), 1) : 0;
    if (undoSteps != index() || redoSteps != count() - index())
        rebuild(undoSteps, redoSteps);
}

void TextUndoStack::rebuild(int undoSteps, int redoSteps)
{
    const bool wasClean = isClean();
    m_acting = true;
    clear();
    for (int i = 0; i < undoSteps + redoSteps; ++i)
        push(new TextStep(this, true));
    setIndex(undoSteps);
    if (wasClean)
        setClean();
    m_acting = false;
}
