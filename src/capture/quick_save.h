// The quick save's file names and the converter's command line.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace qorvic {

// The quick-save formats, in the order of the format submenu's rows.
enum class ImageFormat { Bmp, Gif, Jpg, Jp2, Png, Tif };
// The format of the format submenu's row `index`, or nullopt past the last.
std::optional<ImageFormat> ImageFormatAt(std::size_t index);
// The file extension without its dot: "bmp", "gif", "jpg", "jp2", "png", "tif".
std::wstring FileExtension(ImageFormat format);

// The lower-case form of a format caption ("PNG" -> "png"), ASCII only.
std::wstring LowerExtension(const std::wstring& caption);

// folder + "Qorvic_" + n + "." + extension for the first n from 1 on that does
// not exist, so a gap left by a deleted file is filled again.
std::wstring NextFreeQuickSaveName(const std::wstring& folder, const std::wstring& extension,
                                   const std::function<bool(const std::wstring&)>& exists);

// D\i__view32.exe D\Temp.bmp /ini=D\ini /convert=T: single spaces, nothing quoted.
std::wstring ConverterCommandLine(const std::wstring& dataFolder, const std::wstring& target);

} // namespace qorvic
