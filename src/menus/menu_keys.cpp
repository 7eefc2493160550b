#include "menus/menu_keys.h"

namespace qorvic::menus {

bool RowOpensSubmenu(std::int16_t menu, std::size_t row) {
    const std::optional<OptionsRow> options = OptionsRowAt(row);
    return menu == kOptionsMenu &&
           (options == OptionsRow::QuickSaveFormats || options == OptionsRow::Language);
}

std::optional<std::size_t> FirstShownRow(const std::vector<MenuItem>& items) {
    return NextShownRow(items, std::nullopt);
}

std::optional<std::size_t> LastShownRow(const std::vector<MenuItem>& items) {
    return PreviousShownRow(items, std::nullopt);
}

std::optional<std::size_t> NextShownRow(const std::vector<MenuItem>& items,
                                        std::optional<std::size_t> from) {
    const std::size_t n = items.size();
    const std::size_t start = from && *from < n ? *from + 1 : 0;
    for (std::size_t step = 0; step < n; ++step) {
        const std::size_t row = (start + step) % n;
        if (!items[row].hidden)
            return row;
    }
    return std::nullopt;
}

std::optional<std::size_t> PreviousShownRow(const std::vector<MenuItem>& items,
                                            std::optional<std::size_t> from) {
    const std::size_t n = items.size();
    const std::size_t start = from && *from < n ? *from + n - 1 : n - 1;
    for (std::size_t step = 0; step < n; ++step) {
        const std::size_t row = (start + n - step) % n;
        if (!items[row].hidden)
            return row;
    }
    return std::nullopt;
}

MenuKeyAction MenuKeyActionFor(const std::vector<MenuItem>& items, std::int16_t menu, bool submenu,
                               std::optional<std::size_t> highlighted, MenuKey key) {
    using Kind = MenuKeyAction::Kind;
    const auto highlight = [](std::optional<std::size_t> row) {
        return row ? MenuKeyAction{Kind::Highlight, *row} : MenuKeyAction{};
    };
    // A hidden or vanished row counts as no highlight.
    if (highlighted && (*highlighted >= items.size() || items[*highlighted].hidden))
        highlighted.reset();
    switch (key) {
    case MenuKey::Down:
        return highlight(NextShownRow(items, highlighted));
    case MenuKey::Up:
        return highlight(PreviousShownRow(items, highlighted));
    case MenuKey::Home:
        return highlight(FirstShownRow(items));
    case MenuKey::End:
        return highlight(LastShownRow(items));
    case MenuKey::Right:
        if (highlighted && RowOpensSubmenu(menu, *highlighted))
            return {Kind::OpenSubmenu, *highlighted};
        return {};
    case MenuKey::Enter:
        if (highlighted && RowOpensSubmenu(menu, *highlighted))
            return {Kind::OpenSubmenu, *highlighted};
        return highlighted ? MenuKeyAction{Kind::Run, *highlighted} : MenuKeyAction{};
    case MenuKey::Space:
        return highlighted ? MenuKeyAction{Kind::Run, *highlighted} : MenuKeyAction{};
    case MenuKey::Left:
        return submenu ? MenuKeyAction{Kind::CloseSubmenu} : MenuKeyAction{};
    case MenuKey::Escape:
        return {submenu ? Kind::CloseSubmenu : Kind::CloseMenus};
    case MenuKey::Other:
        break;
    }
    return {};
}

} // namespace qorvic::menus
