#include "formats.h"

#include "bmp_writer.h"
#include "image_check.h"
#include "jp2_encoder.h"

#include <cwctype>
#include <exception>

namespace conv {

Format FormatOfPath(const std::wstring& path) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t separator = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator))
        return Format::Unknown;
    std::wstring ext = path.substr(dot + 1);
    for (wchar_t& c : ext)
        c = static_cast<wchar_t>(std::towlower(c));
    if (ext == L"bmp")
        return Format::Bmp;
    if (ext == L"gif")
        return Format::Gif;
    if (ext == L"jpg" || ext == L"jpeg")
        return Format::Jpeg;
    if (ext == L"jp2")
        return Format::Jp2;
    if (ext == L"png")
        return Format::Png;
    if (ext == L"tif" || ext == L"tiff")
        return Format::Tiff;
    return Format::Unknown;
}

bool EncodeJp2Branch(const PixelRows& image, std::vector<std::uint8_t>& out, std::string& error) {
    try {
        out = EncodeJp2Rows(image);
    } catch (const std::exception& e) {
        out.clear();
        error = e.what();
        return false;
    }
    return true;
}

bool EncodeByExtension(const PixelRows& image, const std::wstring& targetPath,
                       std::vector<std::uint8_t>& out, std::string& error) {
    return EncodeByExtension(image, targetPath, ConverterSettings{}, out, error);
}

bool EncodeByExtension(const PixelRows& image, const std::wstring& targetPath,
                       const ConverterSettings& settings, std::vector<std::uint8_t>& out,
                       std::string& error) {
    if (!CheckRows(image, error))
        return false;
    switch (FormatOfPath(targetPath)) {
    case Format::Bmp:
        out = EncodeBmpRows(image);
        return true;
    case Format::Gif:
        return EncodeGifRows(image, settings.gif, out, error);
    case Format::Jpeg:
        return EncodeJpegRows(image, settings.jpeg, out, error);
    case Format::Jp2:
        return EncodeJp2Branch(image, out, error);
    case Format::Png:
        return EncodePngRows(image, settings.png, out, error);
    case Format::Tiff:
        return EncodeTiffRows(image, settings.tiff, out, error);
    case Format::Unknown:
        break;
    }
    error = "unsupported target format";
    return false;
}

} // namespace conv
