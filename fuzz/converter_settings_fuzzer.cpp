// The converter's settings file: any text gives settings inside their ranges.
#include "fuzz_support.h"

#include "converter_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const conv::ConverterSettings settings = conv::ParseConverterSettings(fuzz::AsText(data, size));
    FUZZ_CHECK(settings.jpeg.quality >= 1 && settings.jpeg.quality <= 100);
    FUZZ_CHECK(settings.png.level >= 0 && settings.png.level <= 9);
    return 0;
}
