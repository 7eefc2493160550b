#include "capture/picture_writer_win.h"

#include "base/file_io_win.h"
#include "bmp_writer.h"
#include "capture/save_dialog.h"

#include <stdexcept>
#include <vector>

namespace qorvic {

std::string PictureAsBmp(const Picture& picture) {
    conv::Image image;
    image.width = picture.Width();
    image.height = picture.Height();
    const std::string rgb = picture.ToRgb();
    image.rgb.assign(rgb.begin(), rgb.end());
    if (image.rgb.empty())
        return {};
    try {
        const std::vector<std::uint8_t> bmp = conv::EncodeBmp(image);
        return std::string(bmp.begin(), bmp.end());
    } catch (const std::length_error&) {
        return {};
    }
}

bool PictureWriter::WriteTempBitmap(const Picture& picture) {
    const std::string bmp = PictureAsBmp(picture);
    return !bmp.empty() && WriteFileAtomically(TempBitmap(), bmp);
}

void PictureWriter::Write(const Picture& picture, const std::wstring& target) {
    bool written = false;
    if (IsBmpPath(target)) {
        const std::string bmp = PictureAsBmp(picture);
        written = !bmp.empty() && WriteFileAtomically(target, bmp);
    } else {
        written =
            WriteTempBitmap(picture) && converter_.Convert(target) != ConverterRun::Outcome::Failed;
    }
    if (!written && tell_)
        tell_(L"Qorvic could not write " + target);
}

bool PictureWriter::Taken(const std::wstring& path) const {
    return PathExists(path) || converter_.StillRunningFor(path);
}

} // namespace qorvic
