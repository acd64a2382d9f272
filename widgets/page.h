#ifndef PAGE_H
#define PAGE_H

class QMenu;
class QString;
class QToolBar;
class QUndoStack;

// One tab of a pattern: a chart or the Directions page. The main window
// shows the current page's menu and tool bar, routes Undo and Redo to its
// undo stack and the clipboard commands to the page itself.
class Page
{
public:
    virtual ~Page() = default;

    virtual QMenu *menu() const = 0;
    virtual QToolBar *toolBar() const = 0;
    // Every edit of the page, one undo step each.
    virtual QUndoStack *undoStack() const = 0;
    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    // Changed since the pattern was last saved or opened.
    virtual bool isModified() const = 0;
    // After a save: nothing on the page is unsaved.
    virtual void markSaved() = 0;
    // The text of the page's tab.
    virtual QString pageTitle() const = 0;
};

#endif // PAGE_H
