#include "base/wait_cursor_win.h"

namespace qorvic {

namespace {
// Scopes nest (a save inside a save cannot happen, but a nested scope must not
// end the outer one's cursor early); one user-interface thread, so no lock.
thread_local int openScopes = 0;
} // namespace

WaitCursorScope::WaitCursorScope() {
    ++openScopes;
    previous_ = ::SetCursor(Cursor());
}

WaitCursorScope::~WaitCursorScope() {
    --openScopes;
    ::SetCursor(previous_);
}

bool WaitCursorScope::Active() {
    return openScopes > 0;
}

HCURSOR WaitCursorScope::Cursor() {
    return ::LoadCursorW(nullptr, IDC_WAIT);
}

} // namespace qorvic
