// The maker's home page as the update check reads it: any bytes give either no
// version or one whose text is a short piece of the page after the marker.
#include "fuzz_support.h"

#include "update/version_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page = fuzz::AsText(data, size);
    const std::optional<qorvic::PageVersion> found = qorvic::ReadPageVersion(page);
    const std::optional<qorvic::Version> version = qorvic::ParseVersionPage(page);
    FUZZ_CHECK(found.has_value() == version.has_value());
    if (found) {
        FUZZ_CHECK(found->version == *version);
        FUZZ_CHECK(page.find(qorvic::kVersionMarker) != std::string_view::npos);
        FUZZ_CHECK(found->text.size() <= qorvic::kVersionTextLength);
        FUZZ_CHECK(page.find(found->text) != std::string_view::npos);
        // The text shown in the prompt reads back as the same version.
        const auto again = qorvic::ParseVersionText(found->text);
        FUZZ_CHECK(again && again->version == found->version);
    }
    // Any text at all, not only what follows a marker.
    if (const auto parsed = qorvic::ParseVersionText(page))
        FUZZ_CHECK(parsed->text.size() <= page.size());
    return 0;
}
