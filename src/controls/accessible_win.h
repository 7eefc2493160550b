// What our owner-drawn windows tell assistive technology (screen readers,
// speech tools, inspectors) through MSAA. The system's standard object for a
// window already knows its place, parent, focus and visibility; a window adds
// what only it knows: role, name, state, value and default action, and for a
// menu its rows as simple child elements.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <optional>
#include <string>

namespace qorvic {

class AccessibleSource {
public:
    // `child` is 0 for the window itself, 1..AccChildCount() for its rows.
    virtual long AccRole(long child) const = 0;
    virtual std::wstring AccName(long child) const = 0;
    // Added to the state the system reads from the window.
    virtual long AccState(long /*child*/) const { return 0; }
    virtual std::optional<std::wstring> AccValue(long /*child*/) const { return std::nullopt; }
    virtual std::wstring AccDefaultAction(long /*child*/) const { return {}; }
    virtual bool AccDoDefaultAction(long /*child*/) { return false; }
    virtual long AccChildCount() const { return 0; }
    // A row's rectangle on the screen.
    virtual std::optional<RECT> AccChildLocation(long /*child*/) const { return std::nullopt; }
    // The row that has the focus (the highlight), 0 for none.
    virtual long AccFocusedChild() const { return 0; }

protected:
    ~AccessibleSource() = default;
};

// Kept by the window: answers WM_GETOBJECT, and cuts the link to the window
// when it goes, so that an object a client still holds then reports
// "disconnected" instead of reaching a dead window.
class AccessibleLink {
public:
    explicit AccessibleLink(AccessibleSource& source)
        : source_(std::make_shared<AccessibleSource*>(&source)) {}
    ~AccessibleLink() { *source_ = nullptr; }
    AccessibleLink(const AccessibleLink&) = delete;
    AccessibleLink& operator=(const AccessibleLink&) = delete;

    // The answer to WM_GETOBJECT for the client object; nullopt for any other
    // object, which the default window procedure then answers.
    std::optional<LRESULT> Answer(HWND window, WPARAM wParam, LPARAM lParam);

private:
    std::shared_ptr<AccessibleSource*> source_;
};

// Tells listening tools that the window's client object (or one of its rows) changed.
inline void NotifyAccessible(DWORD event, HWND window, long child = CHILDID_SELF) {
    if (window)
        ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

} // namespace qorvic
