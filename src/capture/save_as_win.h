// Save as: the save dialog names the file, the picture writer writes it.
#pragma once

#include "capture/picture_writer_win.h"

#include <windows.h>

#include <string>

namespace qorvic {

class SaveAs {
public:
    // Asks for a path (starting with "ScreenShot" in "c:\") and writes the picture there.
    void Run(HWND owner, const Picture& picture, PictureWriter& writer);

    // The save dialog; the filter's extension is added to the name, and a path
    // that exists is written only when the user agrees. Empty when cancelled.
    // The chosen filter is kept for the run.
    std::wstring AskPath(HWND owner, const std::wstring& defaultName,
                         const std::wstring& initialDir);

private:
    DWORD filterIndex_ = 0; // the dialog's last chosen filter
};

} // namespace qorvic
