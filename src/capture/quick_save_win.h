// Quick save: the picture as the next free "Qorvic_<n>.<format>" on the desktop.
#pragma once

#include "capture/picture_writer_win.h"
#include "capture/quick_save.h"

#include <string>

namespace qorvic {

// Every quick save also leaves the temporary bitmap behind, a BMP one too.
void QuickSaveOnDesktop(const Picture& picture, ImageFormat format,
                        const std::wstring& desktopFolder, PictureWriter& writer);

} // namespace qorvic
