// Writing the output picture to a file: a bitmap directly, any other format
// through the temporary bitmap and the converter. A failure is told to the
// user in a short message naming the file.
#pragma once

#include "capture/converter_run_win.h"
#include "capture/picture_win.h"

#include <functional>
#include <string>

namespace qorvic {

// The picture as a complete .bmp file; empty when there is none.
std::string PictureAsBmp(const Picture& picture);

class PictureWriter {
public:
    using Tell = std::function<void(const std::wstring&)>;
    PictureWriter(std::wstring dataFolder, Tell tell)
        : dataFolder_(dataFolder), tell_(std::move(tell)), converter_(std::move(dataFolder)) {}

    // <dataFolder>\Temp.bmp, the converter's input.
    std::wstring TempBitmap() const { return dataFolder_ + L"\\Temp.bmp"; }
    bool WriteTempBitmap(const Picture& picture);

    // Writes `picture` to `target` and tells the user when no file results.
    void Write(const Picture& picture, const std::wstring& target);

    // A file that exists, or that a converter still running may yet write.
    bool Taken(const std::wstring& path) const;

private:
    std::wstring dataFolder_;
    Tell tell_;
    ConverterRun converter_;
};

} // namespace qorvic
