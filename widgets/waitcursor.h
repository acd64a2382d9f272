#ifndef WAITCURSOR_H
#define WAITCURSOR_H

#include <QApplication>

// Shows the wait cursor for as long as it lives, so that every way out of a
// longer operation takes the cursor back.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }

    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

#endif // WAITCURSOR_H
