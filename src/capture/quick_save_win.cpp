#include "capture/quick_save_win.h"

#include "capture/save_dialog.h"

namespace qorvic {

void QuickSaveOnDesktop(const Picture& picture, ImageFormat format,
                        const std::wstring& desktopFolder, PictureWriter& writer) {
    if (picture.Empty())
        return; // an area of 4 pixels or less gives no picture and no file
    const std::wstring target =
        NextFreeQuickSaveName(desktopFolder, FileExtension(format),
                              [&writer](const std::wstring& name) { return writer.Taken(name); });
    if (IsBmpPath(target))
        writer.WriteTempBitmap(picture);
    writer.Write(picture, target);
}

} // namespace qorvic
