// The settings file as start-up reads it: any bytes must give a usable colour
// (or the designed one) and a language name the rest of the program accepts.
#include "fuzz_support.h"

#include "base/numeric.h"
#include "frame/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);
    const qorvic::Settings settings = qorvic::ParseSettings(bytes);

    // The acceptance rule leaves no empty name and no positive number behind.
    FUZZ_CHECK(!settings.language.empty());
    FUZZ_CHECK(settings.language == "English" || !(qorvic::LeadingNumber(settings.language) > 0));

    // The field reader always moves on and ends; every field is a piece of the file.
    qorvic::FieldReader reader(bytes);
    std::size_t fields = 0;
    while (auto field = reader.Next()) {
        FUZZ_CHECK(field->size() <= bytes.size());
        FUZZ_CHECK(++fields <= bytes.size());
    }
    return 0;
}
