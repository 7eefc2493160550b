// Hand-off to Norvane: the picture goes on the clipboard, Norvane's window is
// raised and F7 typed into it, which makes Norvane take the picture.
#pragma once

#include "capture/picture_win.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qorvic {

// `frame` is put back on top afterwards; `tell` hears of a picture that could
// not reach the clipboard (and then no key is typed).
void HandOffToNorvane(HWND frame, const Picture& picture,
                      const std::function<void(const std::wstring&)>& tell);

// Raises the first top-level window whose title contains `title`; its handle or nullptr.
HWND ActivateWindowByTitle(const std::wstring& title);

} // namespace qorvic
