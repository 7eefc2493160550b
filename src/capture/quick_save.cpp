#include "capture/quick_save.h"

#include "command_line.h"

#include <array>

namespace qorvic {

std::wstring LowerExtension(const std::wstring& caption) {
    std::wstring lower = caption;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

std::optional<ImageFormat> ImageFormatAt(std::size_t index) {
    if (index > static_cast<std::size_t>(ImageFormat::Tif))
        return std::nullopt;
    return static_cast<ImageFormat>(index);
}

std::wstring FileExtension(ImageFormat format) {
    // In the order of ImageFormat, which is the format submenu's and the save dialog's.
    constexpr std::array<const wchar_t*, 6> kExtensions = {L"bmp", L"gif", L"jpg",
                                                           L"jp2", L"png", L"tif"};
    return kExtensions[static_cast<std::size_t>(format)];
}

std::wstring NextFreeQuickSaveName(const std::wstring& folder, const std::wstring& extension,
                                   const std::function<bool(const std::wstring&)>& exists) {
    for (unsigned long n = 1;; ++n) {
        std::wstring name = folder + L"Qorvic_" + std::to_wstring(n) + L"." + extension;
        if (!exists(name))
            return name;
    }
}

std::wstring ConverterCommandLine(const std::wstring& dataFolder, const std::wstring& target) {
    return conv::BuildConverterCommandLine(
        dataFolder + L"\\i__view32.exe", dataFolder + L"\\Temp.bmp", dataFolder + L"\\ini", target);
}

} // namespace qorvic
