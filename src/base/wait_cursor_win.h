// The wait cursor for a stretch during which the program does not answer:
// shown when the scope begins, kept over every window of the program while it
// lasts (also through message passes that would otherwise put the class
// cursor back), and the previous cursor restored when it ends.
#pragma once

#include <windows.h>

namespace qorvic {

class WaitCursorScope {
public:
    WaitCursorScope();
    ~WaitCursorScope();
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

    // Whether a scope is open on this thread; windows then answer
    // WM_SETCURSOR with the wait cursor.
    static bool Active();
    static HCURSOR Cursor();

private:
    HCURSOR previous_;
};

} // namespace qorvic
