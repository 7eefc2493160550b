#include "menus/menu_keys.h"

#include <gtest/gtest.h>

using namespace qorvic::menus;
using Kind = MenuKeyAction::Kind;

namespace {

std::vector<MenuItem> Items(std::initializer_list<const wchar_t*> texts) {
    std::vector<MenuItem> items;
    for (const wchar_t* text : texts)
        items.push_back(ParseMenuItem(text));
    return items;
}

} // namespace

// Each key in each kind of menu: the first level (separators after rows 4 and
// 5, submenus at rows 3 and 6) and a submenu whose first, second and last rows
// are hidden.
TEST(MenuKeys, EachKeyMovesOrActsAsTheRulesSay) {
    const auto options = Items(
        {L"Send", L"Copy", L"Save as", L"Save to desktop as>", L"Size=", L"Colour=", L"Language>"});
    const auto sparse = Items({L"<BMP", L"<GIF", L"JPG", L"JP2", L"PNG", L"<TIF"});
    const auto none = Items({L"<a", L"<b"});
    const std::optional<std::size_t> no;
    struct Case {
        const std::vector<MenuItem>* items;
        std::int16_t menu;
        bool submenu;
        std::optional<std::size_t> highlighted;
        MenuKey key;
        MenuKeyAction expected;
    } cases[] = {
        {&options, kOptionsMenu, false, 0, MenuKey::Down, {Kind::Highlight, 1}},
        {&options, kOptionsMenu, false, 4, MenuKey::Down, {Kind::Highlight, 5}}, // over a separator
        {&options, kOptionsMenu, false, 6, MenuKey::Down, {Kind::Highlight, 0}}, // wraps
        {&options, kOptionsMenu, false, 0, MenuKey::Up, {Kind::Highlight, 6}},   // wraps
        {&options, kOptionsMenu, false, no, MenuKey::Down, {Kind::Highlight, 0}},
        {&options, kOptionsMenu, false, no, MenuKey::Up, {Kind::Highlight, 6}},
        {&options, kOptionsMenu, false, 2, MenuKey::Home, {Kind::Highlight, 0}},
        {&options, kOptionsMenu, false, 2, MenuKey::End, {Kind::Highlight, 6}},
        {&options, kOptionsMenu, false, 3, MenuKey::Right, {Kind::OpenSubmenu, 3}},
        {&options, kOptionsMenu, false, 6, MenuKey::Enter, {Kind::OpenSubmenu, 6}},
        {&options, kOptionsMenu, false, 2, MenuKey::Right, {}},
        {&options, kOptionsMenu, false, 1, MenuKey::Enter, {Kind::Run, 1}},
        {&options, kOptionsMenu, false, 3, MenuKey::Space, {Kind::Run, 3}}, // as a release would
        {&options, kOptionsMenu, false, no, MenuKey::Enter, {}},
        {&options, kOptionsMenu, false, 1, MenuKey::Left, {}},
        {&options, kOptionsMenu, false, 1, MenuKey::Escape, {Kind::CloseMenus, 0}},
        {&options, kOptionsMenu, false, 1, MenuKey::Other, {}},
        {&sparse, kFormatMenu, true, 4, MenuKey::Down, {Kind::Highlight, 2}}, // hidden skipped
        {&sparse, kFormatMenu, true, 2, MenuKey::Up, {Kind::Highlight, 4}},
        {&sparse, kFormatMenu, true, no, MenuKey::Home, {Kind::Highlight, 2}},
        {&sparse, kFormatMenu, true, no, MenuKey::End, {Kind::Highlight, 4}},
        {&sparse, kFormatMenu, true, 0, MenuKey::Down, {Kind::Highlight, 2}}, // from a hidden row
        {&sparse, kFormatMenu, true, 3, MenuKey::Right, {}},
        {&sparse, kFormatMenu, true, 3, MenuKey::Enter, {Kind::Run, 3}},
        {&sparse, kFormatMenu, true, 3, MenuKey::Left, {Kind::CloseSubmenu, 0}},
        {&sparse, kFormatMenu, true, 3, MenuKey::Escape, {Kind::CloseSubmenu, 0}},
        {&sparse, kLanguageMenu, true, 3, MenuKey::Right, {}}, // submenus have no submenus
        {&none, kFormatMenu, true, no, MenuKey::Down, {}},
        {&none, kFormatMenu, true, no, MenuKey::End, {}},
    };
    for (const Case& c : cases) {
        const MenuKeyAction got =
            MenuKeyActionFor(*c.items, c.menu, c.submenu, c.highlighted, c.key);
        EXPECT_TRUE(got == c.expected)
            << "menu " << c.menu << " row " << (c.highlighted ? int(*c.highlighted) : -1) << " key "
            << int(c.key) << ": got " << int(got.kind) << "/" << got.row;
    }
    // Only the first level's formats and language rows open a submenu.
    for (std::size_t row = 0; row < 8; ++row) {
        EXPECT_EQ(RowOpensSubmenu(kOptionsMenu, row), row == 3 || row == 6) << row;
        EXPECT_FALSE(RowOpensSubmenu(kFormatMenu, row));
    }
}
