// The main window in each shipped language: start-up reads the language from
// the settings file and shows the translated strip, a pick from the language
// menu changes the strip at once, and the choice survives a restart.
#include "base/handles_win.h"
#include "mainwindow/form1_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace qorvic;
namespace fs = std::filesystem;

namespace {

const std::vector<std::wstring> kLanguages = {L"English",  L"Dutch",  L"French",  L"German",
                                              L"Japanese", L"Polish", L"Russian", L"Spanish"};

fs::path ShippedLangDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "lang";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring FromUtf8(const std::string& bytes) {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

// Entry `number` (1 to 19) of a language's UTF-8 source, read without the loader.
std::wstring SourceEntry(const std::wstring& language, int number) {
    const std::wstring text = FromUtf8(ReadBytes(ShippedLangDir() / "src" / (language + L".txt")));
    std::size_t start = 0;
    for (int i = 0; i < number; ++i)
        start = text.find(L'\n', start) + 1;
    const std::wstring line = text.substr(start, text.find(L'\n', start) - start);
    return line.substr(line.find(L"= ") + 2);
}

void Pump(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

// The strip as the screen shows it, written as a bitmap for a look by eye.
void SaveStrip(const Form1& form, const std::wstring& file) {
    POINT origin{0, 0};
    ::ClientToScreen(form.hwnd(), &origin);
    const int width = 360, height = form.MenuBarHeight + 4;
    WindowDc screen(nullptr);
    MemoryDc mem(::CreateCompatibleDC(screen.get()));
    Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    {
        SelectedObject selected(mem.get(), bitmap.get());
        ::BitBlt(mem.get(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<char> pixels(static_cast<std::size_t>(width) * height * 4);
    ::GetDIBits(mem.get(), bitmap.get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(fs::path(file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

class Form1LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        appData_ =
            fs::path(temp) / ("qorvic-form1-lang-" + std::to_string(::GetCurrentProcessId()));
        fs::remove_all(appData_);
        fs::create_directories(appData_ / "Qorvic" / "Languages");
        for (const std::wstring& language : kLanguages) {
            const std::wstring name = L"Qorvic_" + language + L".Language";
            fs::copy_file(ShippedLangDir() / name, appData_ / "Qorvic" / "Languages" / name);
        }
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(appData_, ec);
    }
    void SaveLanguage(const std::string& language) {
        std::ofstream(appData_ / "Qorvic" / "Qorvic.cfg", std::ios::binary) << "0\r\n"
                                                                            << language << "\r\n";
    }
    std::unique_ptr<Form1> Start() {
        Form1::Options options;
        options.homePageUrl = L""; // no update check
        options.appDataFolder = appData_.wstring() + L"\\";
        auto form = std::make_unique<Form1>(options);
        form->onEnd = [] {};
        EXPECT_TRUE(form->Load(SW_SHOWNOACTIVATE));
        Pump(200);
        return form;
    }

    fs::path appData_;
};

} // namespace

TEST_F(Form1LanguageTest, StartUpShowsTheSavedLanguageOnTheStrip) {
    for (const std::wstring& language : kLanguages) {
        SCOPED_TRACE(std::string(language.begin(), language.end()));
        SaveLanguage(std::string(language.begin(), language.end()));
        auto form = Start();
        EXPECT_EQ(form->State().CurrentLanguage, language);
        EXPECT_TRUE(form->lblOptions.Caption() == SourceEntry(language, 16));
        EXPECT_TRUE(form->ckScreen.Caption() == SourceEntry(language, 17));
        if (language == L"English" || language == L"German" || language == L"Japanese" ||
            language == L"Russian")
            SaveStrip(*form, L"languages-strip-" + language + L".bmp");
        form->Form_Unload();
    }
}

TEST_F(Form1LanguageTest, PickingALanguageChangesTheStripAtOnceAndSurvivesARestart) {
    SaveLanguage("English");
    auto form = Start();
    EXPECT_EQ(form->lblOptions.Caption(), L"Options");
    const int englishWidth = form->lblOptions.Width();

    // The list: English, Dutch, French, German, Japanese, Polish, Russian, Spanish.
    form->MnuLanguageClick(6, L"Russian");
    EXPECT_EQ(form->State().CurrentLanguage, L"Russian");
    EXPECT_TRUE(form->lblOptions.Caption() == SourceEntry(L"Russian", 16));
    EXPECT_TRUE(form->ckScreen.Caption() == SourceEntry(L"Russian", 17));
    EXPECT_NE(form->lblOptions.Width(), englishWidth) << "the label sizes itself to its new text";
    EXPECT_EQ(form->ckScreen.Left(), form->lblOptions.Width() + 20) << "the strip is laid out anew";
    form->Form_Unload();

    EXPECT_EQ(ReadBytes(appData_ / "Qorvic" / "Qorvic.cfg"), "0\r\nRussian\r\n");
    auto again = Start();
    EXPECT_EQ(again->State().CurrentLanguage, L"Russian");
    EXPECT_TRUE(again->ckScreen.Caption() == SourceEntry(L"Russian", 17));
    again->Form_Unload();
}

TEST_F(Form1LanguageTest, AMissingLanguageFromTheMenuIsToldAndChangesNothing) {
    SaveLanguage("German");
    auto form = Start();
    std::vector<std::wstring> messages;
    form->showMessage = [&](const std::wstring& text) { messages.push_back(text); };
    EXPECT_TRUE(form->lblOptions.Caption() == SourceEntry(L"German", 16));

    fs::remove(appData_ / "Qorvic" / "Languages" / "Qorvic_Polish.Language");
    form->MnuLanguageClick(5, L"Polnisch");
    EXPECT_EQ(form->State().CurrentLanguage, L"Polish");
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Language file not found or corrupt"});
    EXPECT_TRUE(form->lblOptions.Caption() == SourceEntry(L"German", 16));
    EXPECT_TRUE(form->State().texts.LanguageMenu[0] == SourceEntry(L"German", 1));

    form->MnuLanguageClick(2, L"Französisch");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(form->lblOptions.Caption(), L"Options");
    form->Form_Unload();
}

TEST_F(Form1LanguageTest, StartUpWithSevenLanguagesStaysSilentWithTheDesignCaptions) {
    // Without the Dutch file the list is English, English, German, ...: seven
    // entries, so the load stops after the names.
    fs::remove(appData_ / "Qorvic" / "Languages" / "Qorvic_Dutch.Language");
    SaveLanguage("German");
    Form1::Options options;
    options.homePageUrl = L""; // no update check
    options.appDataFolder = appData_.wstring() + L"\\";
    Form1 form(options);
    form.onEnd = [] {};
    std::vector<std::wstring> messages;
    form.showMessage = [&](const std::wstring& text) { messages.push_back(text); };
    ASSERT_TRUE(form.Load(SW_SHOWNOACTIVATE));
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(form.State().languageList.size(), 7u);
    EXPECT_EQ(form.lblOptions.Caption(), L"Options");
    EXPECT_EQ(form.ckScreen.Caption(), L"Capture screen");
    EXPECT_TRUE(form.State().texts.LanguageMenu[6] == SourceEntry(L"German", 7));
    form.Form_Unload();
}
