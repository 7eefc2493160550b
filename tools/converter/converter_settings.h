// The converter's own settings, read from "i_view32.ini" in the folder given
// after "/ini=". A missing or unreadable file, or a line that does not parse,
// leaves the defaults in place.
#pragma once

#include "gif_encoder.h"
#include "jpeg_encoder.h"
#include "png_encoder.h"
#include "tiff_encoder.h"

#include <string>
#include <string_view>

namespace conv {

inline constexpr const wchar_t* kSettingsFileName = L"i_view32.ini";

struct ConverterSettings {
    JpegOptions jpeg;
    GifOptions gif;
    PngOptions png;
    TiffOptions tiff;
};

// INI text: "[Section]" lines and "Key=Value" lines; section and key names are
// matched without regard to case, blanks around names and values are ignored,
// lines starting with ';' or '#' are comments. Known keys:
//   [JPEG] Quality=1..100 (90), Subsampling=420|444 (444)
//   [GIF]  Dither=0|1 (1)
//   [PNG]  Level=0..9 (3)
//   [TIFF] Compression=LZW|None (LZW)
// Values out of range are clamped; values that are not numbers are ignored.
ConverterSettings ParseConverterSettings(std::string_view text);

} // namespace conv
