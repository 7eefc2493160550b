// The picture on the clipboard as a device-independent bitmap.
#pragma once

#include "capture/picture_win.h"

#include <windows.h>

namespace qorvic {

// Empties the clipboard and puts `picture` on it, waiting briefly for another
// program that holds the clipboard. False (and nothing changed) when it cannot.
bool PutPictureOnClipboard(HWND owner, const Picture& picture);

} // namespace qorvic
