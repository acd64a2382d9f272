#ifndef TEXTEDIT_H
#define TEXTEDIT_H

#include <QPointer>
#include <QSizeF>
#include <QTextEdit>
#include <QUndoStack>

// The text area of the Directions page. Lines wrap at the width of a
// printed page; a line across the page marks every page break and the
// area right of the page is filled grey. The text lives in a PageDocument,
// so the page shows only the pictures registered with it.
class TextEdit : public QTextEdit
{
    Q_OBJECT

public:
    // The width lines wrap at: a Letter page at 96 dots per inch less its
    // margins.
    static constexpr int pageWidth = 752;
    // The white margin left of the text, as a printed page has one.
    static constexpr int pageMargin = 32;

    explicit TextEdit(QWidget *parent = nullptr);

    QSizeF pageSize() const { return m_pageSize; }
    // Pages the text document; without a height it is one endless page.
    void setPageSize(const QSizeF &size);
    // Lays the whole text out again, keeping the page size.
    void relayout();

    // Registered pictures never get here: the document answers them
    // itself. Everything else that the HTML names is refused.
    QVariant loadResource(int type, const QUrl &name) override;

    // The stack the undo and redo keys and menu entries go to, so that
    // the page's undo history stays one history.
    void setUndoStack(QUndoStack *stack) { m_undoStack = stack; }

protected:
    // What is pasted or dropped goes in bounded (BoundedHtml): a web page
    // can nest deeper, or hold longer words, than the page lays out in
    // time. Only HTML or plain text goes in.
    void insertFromMimeData(const QMimeData *source) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void applyPageSize();
    void paintPageGuides(QPainter &painter) const;

    QSizeF m_pageSize;
    QPointer<QUndoStack> m_undoStack;
};

#endif // TEXTEDIT_H
