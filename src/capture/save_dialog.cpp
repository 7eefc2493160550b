#include "capture/save_dialog.h"

#include "capture/quick_save.h"

#include <array>

namespace qorvic {

namespace {

struct Filter {
    const wchar_t* description;
    const wchar_t* pattern;
};

// In the order of ImageFormat: filter n writes format n - 1.
constexpr std::array<Filter, 6> kFilters = {{
    {L"BMP - Windows Bitmap", L"*.bmp"},
    {L"GIF - Compuserve GIF", L"*.gif"},
    {L"JPG - JPG/JPEG Format", L"*.jpg"},
    {L"JP2 - JP2 Format", L"*.jp2"},
    {L"PNG - Portable Network Graphics", L"*.png"},
    {L"TIF - Tagged Image File Format", L"*.tif"},
}};

} // namespace

std::wstring SaveDialogFilter() {
    std::wstring filter;
    for (const Filter& f : kFilters) {
        filter += f.description;
        filter += L'\0';
        filter += f.pattern;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

std::wstring ApplyFilterExtension(const std::wstring& path, unsigned filterIndex) {
    if (path.size() >= 4 && path[path.size() - 4] == L'.')
        return path;
    if (filterIndex < 1 || filterIndex > kFilters.size())
        return path;
    return path + L"." + FileExtension(static_cast<ImageFormat>(filterIndex - 1));
}

bool IsBmpPath(const std::wstring& path) {
    return path.size() >= 4 && LowerExtension(path.substr(path.size() - 4)) == L".bmp";
}

} // namespace qorvic
