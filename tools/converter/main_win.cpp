// i__view32.exe: converts the bitmap named on its command line into the file
// named after "/convert=", in the format that file's extension names. It shows
// no window; the exit code says what happened (exit_codes.h).
#include <windows.h>

#include "base/file_io_win.h"
#include "base/handles_win.h"
#include "bmp_reader.h"
#include "command_line.h"
#include "converter_settings.h"
#include "exit_codes.h"
#include "formats.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

qorvic::KernelHandle OpenFile(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    return qorvic::KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Reads a whole file; larger than `limit` counts as unreadable.
bool ReadWholeFile(const std::wstring& path, std::uint64_t limit, std::vector<std::uint8_t>& out) {
    const qorvic::KernelHandle file = OpenFile(path);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > limit)
        return false;
    out.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < out.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1 << 26));
        DWORD got = 0;
        if (!::ReadFile(file.get(), out.data() + done, chunk, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

conv::ConverterSettings LoadSettings(const std::wstring& iniFolder) {
    std::vector<std::uint8_t> text;
    if (iniFolder.empty() ||
        !ReadWholeFile(iniFolder + L"\\" + conv::kSettingsFileName, 1 << 20, text))
        return conv::ConverterSettings{};
    return conv::ParseConverterSettings(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

// Maps a whole file for reading: a bitmap of a hundred megabytes is decoded in
// place instead of first being copied. An empty file maps to no bytes. False
// when it cannot be opened or is larger than `limit`.
bool MapWholeFile(const std::wstring& path, std::uint64_t limit, qorvic::MappedView& view,
                  std::span<const std::uint8_t>& bytes) {
    const qorvic::KernelHandle file = OpenFile(path);
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > limit)
        return false;
    bytes = {};
    if (size.QuadPart == 0)
        return true;
    const qorvic::KernelHandle mapping(
        ::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    view.reset(mapping ? ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
    if (!view)
        return false;
    bytes = {static_cast<const std::uint8_t*>(view.get()), static_cast<std::size_t>(size.QuadPart)};
    return true;
}

int Convert(const conv::ConverterArguments& args) {
    // A bitmap of the largest accepted picture at 32 bits per pixel, plus headers.
    constexpr std::uint64_t kMaxSourceBytes = (std::uint64_t{1} << 30) + (1 << 20);
    qorvic::MappedView view;
    std::span<const std::uint8_t> source;
    if (!MapWholeFile(args.source, kMaxSourceBytes, view, source))
        return conv::SourceUnreadable;
    const conv::ConverterSettings settings = LoadSettings(args.ini);
    std::string error;
    std::vector<std::uint8_t> encoded;
    {
        // A 24-bit bitmap's rows are encoded where they lie in the mapping; any
        // other bitmap is decoded into a copy first, and its mapping closed.
        conv::Image decoded;
        conv::PixelRows rows;
        if (!conv::BmpRows(source, rows)) {
            if (!conv::DecodeBmp(source, decoded, error))
                return conv::SourceNotABitmap;
            view.reset();
            rows = conv::RowsOf(decoded);
        }
        if (!conv::EncodeByExtension(rows, args.target, settings, encoded, error))
            return conv::EncodingFailed;
    }
    view.reset();
    // The program's own atomic write: a short temporary name beside the target,
    // renamed into place, so even a target name of the longest length works.
    const std::string_view bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
    return qorvic::WriteFileAtomically(args.target, bytes) ? conv::Converted
                                                           : conv::TargetUnwritable;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto args = conv::ParseConverterArguments(
        conv::StripProgramPath(::GetCommandLineW(), qorvic::ModulePath()));
    if (!args)
        return conv::BadCommandLine;
    try {
        return Convert(*args);
    } catch (const std::bad_alloc&) {
        return conv::EncodingFailed;
    }
}
