// The program-wide state: only what the product names as program-wide. It lives
// in one object that FrameWindow owns and the other windows reach through FrameWindow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qorvic {

// Texts that come from the current language file; empty until the first load reaches them.
struct LanguageTexts {
    std::vector<std::wstring> LanguageMenu; // the language submenu's rows, one per list entry
    std::wstring TxtHandOff;
    std::wstring TxtCopy;
    std::wstring TxtSaveAs;
    std::wstring TxtFormats; // ends with the separator marker "="
    std::wstring TxtScaling; // ends with "="
    std::wstring TxtColour;  // ends with "="
    std::wstring TxtLanguages;
    std::wstring TxtNewVersion; // ends with one space
    std::wstring TxtEquals;
};

struct AppState {
    std::wstring VersionTag; // "Qorvic  1.10"
    std::wstring DataFolder; // no trailing separator
    std::wstring CurrentLanguage = L"English";
    LanguageTexts texts;
    std::vector<std::wstring> languageList; // lstLanguages: "English" first

    std::wstring MenuFontName;
    float MenuFontSize = 0.0f;
    bool MenuFontBold = false;
    bool MenuFontItalic = false;

    std::int16_t TwipsPerPixelX = 15;
    std::int16_t TwipsPerPixelY = 15;

    std::vector<std::wstring> OptionsItems; // 7 first-level rows
    std::vector<std::wstring> FormatItems;  // 6 format rows

    std::string UpdatePageBytes; // the home page as last fetched, raw bytes
};

inline constexpr wchar_t kVersionTag[] = L"Qorvic  1.10";
inline constexpr std::uint32_t kKeyColour = 0x00FFFF00; // red 0, green 255, blue 255 as 0x00BBGGRR

} // namespace qorvic
