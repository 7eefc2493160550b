#include "converter_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace conv {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

std::optional<int> Number(std::string_view value) {
    int v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return v;
}

void Apply(ConverterSettings& s, const std::string& section, const std::string& key,
           std::string_view value) {
    const std::optional<int> number = Number(value);
    if (section == "jpeg" && key == "quality" && number) {
        s.jpeg.quality = std::clamp(*number, 1, 100);
    } else if (section == "jpeg" && key == "subsampling" && number) {
        if (*number == 420 || *number == 444)
            s.jpeg.subsampleChroma = *number == 420;
    } else if (section == "gif" && key == "dither" && number) {
        s.gif.dither = *number != 0;
    } else if (section == "png" && key == "level" && number) {
        s.png.level = std::clamp(*number, 0, 9);
    } else if (section == "tiff" && key == "compression") {
        const std::string v = Lower(value);
        if (v == "lzw" || v == "5")
            s.tiff.compression = TiffCompression::Lzw;
        else if (v == "none" || v == "1")
            s.tiff.compression = TiffCompression::None;
    }
}

} // namespace

ConverterSettings ParseConverterSettings(std::string_view text) {
    ConverterSettings settings;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = close == std::string_view::npos ? std::string()
                                                      : Lower(Trim(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        Apply(settings, section, Lower(Trim(line.substr(0, equals))),
              Trim(line.substr(equals + 1)));
    }
    return settings;
}

} // namespace conv
