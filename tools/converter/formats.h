// Chooses the output format from the target file's extension and encodes.
#pragma once

#include "converter_settings.h"
#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace conv {

enum class Format { Unknown, Bmp, Gif, Jpeg, Jp2, Png, Tiff };

// From the last extension of the path, without regard to case: bmp, gif,
// jpg/jpeg, jp2, png, tif/tiff. Unknown for anything else or no extension.
Format FormatOfPath(const std::wstring& path);

// Every encoder reads the rows where they lie: a bitmap's own rows, or a decoded
// picture's (RowsOf), so a 24-bit bitmap is never copied whole.
bool EncodeByExtension(const PixelRows& image, const std::wstring& targetPath,
                       std::vector<std::uint8_t>& out, std::string& error);
bool EncodeByExtension(const PixelRows& image, const std::wstring& targetPath,
                       const ConverterSettings& settings, std::vector<std::uint8_t>& out,
                       std::string& error);

// The JPEG 2000 branch, kept apart so its encoder is wired in here alone.
bool EncodeJp2Branch(const PixelRows& image, std::vector<std::uint8_t>& out, std::string& error);

} // namespace conv
