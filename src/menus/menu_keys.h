// The menus from the keyboard, without a screen: which row a key moves the
// highlight to and what else it does. Hidden rows are never landed on;
// separators lie between rows and are skipped by construction.
#pragma once

#include "menus/menu_model.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qorvic::menus {

// Whether row `row` of menu `menu` opens a submenu (the quick-save formats and
// the languages of the first level); hovering it and Right both open it.
bool RowOpensSubmenu(std::int16_t menu, std::size_t row);

// The first and last shown rows; nullopt when every row is hidden.
std::optional<std::size_t> FirstShownRow(const std::vector<MenuItem>& items);
std::optional<std::size_t> LastShownRow(const std::vector<MenuItem>& items);
// The shown row after (before) `from`, wrapping round; from nothing, the first
// (last) shown row.
std::optional<std::size_t> NextShownRow(const std::vector<MenuItem>& items,
                                        std::optional<std::size_t> from);
std::optional<std::size_t> PreviousShownRow(const std::vector<MenuItem>& items,
                                            std::optional<std::size_t> from);

enum class MenuKey { Up, Down, Home, End, Right, Left, Enter, Space, Escape, Other };

struct MenuKeyAction {
    enum class Kind {
        None,         // the key means nothing here
        Highlight,    // move the highlight to `row`
        OpenSubmenu,  // open the submenu of `row`, its first row highlighted
        CloseSubmenu, // close this submenu; its parent's row stays highlighted
        CloseMenus,   // close every menu
        Run,          // run `row` as a button release over it would
    };
    Kind kind = Kind::None;
    std::size_t row = 0;
    bool operator==(const MenuKeyAction& o) const { return kind == o.kind && row == o.row; }
};

// What `key` does in menu `menu` (a submenu when `submenu`) with `highlighted`.
MenuKeyAction MenuKeyActionFor(const std::vector<MenuItem>& items, std::int16_t menu, bool submenu,
                               std::optional<std::size_t> highlighted, MenuKey key);

} // namespace qorvic::menus
