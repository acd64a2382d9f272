#include "textundostack.h"

#include <QTextDocument>
#include <QUndoCommand>

namespace {

// A step the document has already taken: pushing it does nothing, undoing
// and redoing it is the document's work.
class TextStep : public QUndoCommand
{
public:
    explicit TextStep(QTextDocument *document)
        : QUndoCommand(QObject::tr("Typing"))
        , m_document(document)
    {
    }

    void redo() override
    {
        if (m_done)
            m_document->redo();
        m_done = true;
    }

    void undo() override { m_document->undo(); }

private:
    QTextDocument *m_document;
    bool m_done = false;
};

} // namespace

TextUndoStack::TextUndoStack(QTextDocument *document, QObject *parent)
    : QUndoStack(parent)
    , m_document(document)
{
    connect(document, &QTextDocument::undoCommandAdded, this, [this] { push(new TextStep(m_document)); });
}
