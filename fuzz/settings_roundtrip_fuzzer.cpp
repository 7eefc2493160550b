// What the writer writes at shutdown, the reader gives back at the next start:
// the colour always, the language whenever its name can be written as a field.
#include "fuzz_support.h"

#include "frame/settings_file.h"

#include <cstring>

namespace {

// A field runs to a comma or line end, leading blanks are skipped and a leading
// quote starts a quoted field: names without those read back unchanged.
bool WritableName(std::string_view name) {
    if (!name.empty() && name.front() == ' ')
        return false;
    return name.find_first_of(",\r\n\"") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, 4);
    const auto colour = static_cast<std::int32_t>(bits);
    const std::string_view language = fuzz::AsText(data + 4, size - 4);

    const std::string file = qorvic::FormatSettings(colour, language);
    const qorvic::Settings read = qorvic::ParseSettings(std::string_view(file));

    FUZZ_CHECK(read.frameColour.has_value());
    FUZZ_CHECK(*read.frameColour == colour);
    if (WritableName(language))
        FUZZ_CHECK(read.language == qorvic::AcceptLanguage(std::string(language)));
    return 0;
}
