#include "textedit.h"

#include "boundedhtml.h"
#include "pagedocument.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QUndoStack>

#include <cmath>

namespace {

// A page shorter than this would only paint the view black; the text is
// then shown as one endless page.
const qreal shortestPage = 8;

} // namespace

TextEdit::TextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    setDocument(new PageDocument(this));
    // A scroll bar that comes and goes would lay the text out anew and drop
    // its pages.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(pageWidth);
    // Text flush against the edge of the page reads as cut off: the page
    // gets a margin on screen, outside the text, so lines still break
    // where they break in print.
    setViewportMargins(pageMargin, 0, 0, 0);
    QPalette page = palette();
    page.setColor(QPalette::Window, page.color(QPalette::Base));
    setPalette(page);
    setAutoFillBackground(true);
}

void TextEdit::setPageSize(const QSizeF &size)
{
    m_pageSize = size;
    applyPageSize();
    viewport()->update();
}

void TextEdit::relayout()
{
    // Setting the wrap width lays the text out anew, and unpages it.
    setLineWrapColumnOrWidth(lineWrapColumnOrWidth());
    applyPageSize();
}

void TextEdit::applyPageSize()
{
    const qreal width = m_pageSize.width() > 0 ? m_pageSize.width() : lineWrapColumnOrWidth();
    const qreal height = m_pageSize.height() >= shortestPage ? m_pageSize.height() : -1;
    document()->setPageSize(QSizeF(width, height));
}

QVariant TextEdit::loadResource(int type, const QUrl &name)
{
    Q_UNUSED(type);
    Q_UNUSED(name);
    return QVariant();
}

void TextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source)
        return;
    QMimeData bounded;
    if (source->hasHtml() && acceptRichText())
        bounded.setHtml(BoundedHtml::bound(source->html()));
    else if (source->hasText())
        bounded.setText(BoundedHtml::boundText(source->text()));
    QTextEdit::insertFromMimeData(&bounded);
}

void TextEdit::keyPressEvent(QKeyEvent *event)
{
    if (m_undoStack && event->matches(QKeySequence::Undo)) {
        m_undoStack->undo();
        return;
    }
    if (m_undoStack && event->matches(QKeySequence::Redo)) {
        m_undoStack->redo();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    for (QAction *action : menu->actions()) {
        const bool undo = action->objectName() == QLatin1String("edit-undo");
        if (!m_undoStack || (!undo && action->objectName() != QLatin1String("edit-redo")))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, m_undoStack.data(), undo ? &QUndoStack::undo : &QUndoStack::redo);
    }
    menu->exec(event->globalPos());
    delete menu;
}

void TextEdit::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    paintPageGuides(painter);
}

void TextEdit::paintPageGuides(QPainter &painter) const
{
    const qreal left = -horizontalScrollBar()->value();
    const qreal top = -verticalScrollBar()->value();
    // The page's right margin matches its left one.
    const qreal right = left + document()->pageSize().width() + pageMargin;
    const QRect view = viewport()->rect();
    if (right < view.right())
        painter.fillRect(QRectF(right, view.top(), view.right() - right + 1, view.height()), Qt::gray);

    const qreal height = m_pageSize.height();
    if (height < shortestPage)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    // Only the breaks in view are drawn, however long the text.
    const qreal end = qMin(-top + view.height(), document()->size().height());
    for (qreal y = qMax(1.0, std::ceil(-top / height)) * height; y <= end; y += height)
        painter.drawLine(QPointF(left, y + top), QPointF(right, y + top));
}
