// Menu item texts come from the language files, so they are outside input too:
// their markers and any width a font gives them must still build a menu whose
// window sizes fit 16-bit twips. The first four bytes set the row height, the
// twips per pixel, the width per character and the Japanese widening; the
// rest is the items as UTF-16, one per line.
#include "fuzz_support.h"

#include "menus/menu_model.h"

#include <algorithm>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    qorvic::menus::MenuBuild build;
    build.itemHeight = data[0] % 64;
    build.twipsPerPixelX = 1 + data[1] % 30;
    build.twipsPerPixelY = 1 + (data[1] >> 3) % 30;
    const int perCharacter = data[2];
    build.japaneseWidening = data[3] & 1;
    build.measureText = [perCharacter](const std::wstring& text) {
        return static_cast<int>(std::min<std::size_t>(text.size() * perCharacter, 1u << 30));
    };
    const std::wstring text = fuzz::AsUtf16(data + 4, size - 4);
    build.items = fuzz::Lines(text);

    const qorvic::menus::MenuLayout layout = qorvic::menus::LayoutMenu(build);
    FUZZ_CHECK(layout.rows.size() == build.items.size());
    FUZZ_CHECK(layout.outerWidth >= 0 && layout.outerHeight >= 0);
    FUZZ_CHECK(static_cast<long>(layout.outerWidth) * build.twipsPerPixelX <= INT16_MAX ||
               (layout.maxTextWidth <= 0 && !build.japaneseWidening));
    FUZZ_CHECK(static_cast<long>(layout.outerHeight) * build.twipsPerPixelY <= INT16_MAX);
    int lastTop = -1;
    for (const qorvic::menus::MenuRow& row : layout.rows) {
        FUZZ_CHECK(row.item.caption.find_first_of(L">=") == std::wstring::npos);
        FUZZ_CHECK(row.item.caption.size() <= row.item.tag.size());
        if (row.item.hidden)
            FUZZ_CHECK(!row.item.arrow && !row.item.separatorAfter && !row.greyLineY);
        FUZZ_CHECK(row.top >= lastTop);
        lastTop = row.top;
    }

    // The language submenu's tick: found only for a listed name.
    if (!build.items.empty())
        if (const auto row = qorvic::menus::CheckedLanguageRow(build.items, build.items.back()))
            FUZZ_CHECK(*row < build.items.size());
    return 0;
}
