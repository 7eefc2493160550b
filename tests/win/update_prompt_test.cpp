// The update prompt on real windows, alone and as the update check opens it
// from the main window against a local server.
#include "test_support_win.h"

#include "http_test_server_win.h"
#include "mainwindow/form1_win.h"
#include "update/frm_update_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace qorvic;
using qorvic::test::Always;
using qorvic::test::HttpReply;
using qorvic::test::HttpTestServer;
namespace fs = std::filesystem;

namespace {

constexpr DWORD kPatienceMs = 30000; // the machine may be slow; never a timing assertion
constexpr wchar_t kVersionPage[] = L"http://127.0.0.1:9/_mgxroot/page_10737.html";

template <typename Predicate> bool PumpUntil(Predicate done, DWORD ms = kPatienceMs) {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    while (!done()) {
        if (::GetTickCount64() > deadline)
            return false;
        test::Pump();
        ::Sleep(5);
    }
    return true;
}

class MainStandIn : public Window {
public:
    MainStandIn() {
        CreateWin(L"QorvicTestPromptOwner", L"main stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                  200, 150, 320, 240, nullptr);
    }
};

void Click(const UniButton& button) {
    ::SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

RECT ChildBox(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct OpenedPage {
    HWND owner;
    std::wstring url;
    std::wstring folder;
};

// A prompt beside a stand-in main window, with the beep and the shell recorded.
struct PromptFixture {
    MainStandIn main;
    FrmUpdate prompt;
    std::vector<std::pair<DWORD, DWORD>> beeps;
    std::vector<OpenedPage> opened;

    PromptFixture() {
        prompt.beep = [this](DWORD hz, DWORD ms) { beeps.emplace_back(hz, ms); };
        prompt.openPage = [this](HWND owner, const std::wstring& url, const std::wstring& folder) {
            opened.push_back({owner, url, folder});
        };
        EXPECT_TRUE(prompt.Load(main.hwnd(), 15, 15, kVersionPage));
        prompt.Label1.SetCaption(L"A new version is available: Qorvic 1.11");
        test::Pump();
    }
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path);
    return full.substr(0, full.find_last_of(L'\\'));
}

} // namespace

TEST(FrmUpdate, OpensTopmostBesideTheMainWindowWithItsControls) {
    PromptFixture f;
    HWND prompt = f.prompt.hwnd();
    ASSERT_TRUE(prompt);
    EXPECT_FALSE(::IsWindowEnabled(f.main.hwnd())) << "the main window waits for the answer";
    EXPECT_TRUE(::IsWindowVisible(prompt));

    wchar_t caption[64] = {};
    ::GetWindowTextW(prompt, caption, 64);
    EXPECT_STREQ(caption, L"Brimlow");
    const LONG_PTR style = ::GetWindowLongPtrW(prompt, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed, no min/max";
    EXPECT_TRUE(::GetWindowLongPtrW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);

    RECT client{}, outer{}, mainOuter{};
    ::GetClientRect(prompt, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 172);
    ::GetWindowRect(prompt, &outer);
    ::GetWindowRect(f.main.hwnd(), &mainOuter);
    EXPECT_EQ(outer.left - mainOuter.left, 33) << "500 twips at 15 twips per pixel";
    EXPECT_EQ(outer.top - mainOuter.top, 33);

    EXPECT_EQ(f.beeps, (std::vector<std::pair<DWORD, DWORD>>{{700, 100}}));

    const RECT yes = ChildBox(f.prompt.cmdYes.hwnd());
    const RECT no = ChildBox(f.prompt.cmdNo.hwnd());
    const RECT label = ChildBox(f.prompt.Label1.hwnd());
    EXPECT_EQ(yes.left, 140);
    EXPECT_EQ(yes.top, 130);
    EXPECT_EQ(yes.right - yes.left, 70);
    EXPECT_EQ(yes.bottom - yes.top, 30);
    EXPECT_EQ(no.left, 220);
    EXPECT_EQ(no.top, 130);
    EXPECT_EQ(no.right - no.left, 70);
    EXPECT_EQ(label.left, 32);
    EXPECT_EQ(label.top, 24);
    EXPECT_EQ(label.right - label.left, 241);
    EXPECT_EQ(label.bottom - label.top, 81);
    EXPECT_EQ(f.prompt.cmdYes.Caption(), L"Yes");
    EXPECT_EQ(f.prompt.cmdNo.Caption(), L"No");
    EXPECT_EQ(f.prompt.Label1.GetFont().name, L"Arial");
    EXPECT_EQ(f.prompt.Label1.GetFont().size, 12.0f);
    EXPECT_EQ(f.prompt.cmdNo.GetFont().size, 9.75f);
}

TEST(FrmUpdate, DrawsImage1OnTheGreyBackground) {
    PromptFixture f;
    MemoryDc memory(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 304, -172, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Bitmap canvas(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(canvas);
    {
        SelectedObject selected(memory.get(), canvas.get());
        f.prompt.PaintContent(memory.get());
        ::GdiFlush();
    }
    const auto at = [&](int x, int y) {
        const std::uint32_t v = static_cast<const std::uint32_t*>(bits)[y * 304 + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    EXPECT_EQ(at(200, 100), RGB(192, 192, 192));
    EXPECT_EQ(at(40, 5), RGB(192, 192, 192)) << "the picture keeps to its 32 x 32";
    EXPECT_EQ(at(6, 16), RGB(0, 84, 166)) << "the disc";
    EXPECT_EQ(at(16, 18), RGB(255, 255, 255)) << "the arrow";
}

TEST(FrmUpdate, NoClosesThePromptAndEnablesTheMainWindow) {
    PromptFixture f;
    Click(f.prompt.cmdNo);
    EXPECT_FALSE(f.prompt.IsOpen());
    EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
    EXPECT_TRUE(f.opened.empty());
}

TEST(FrmUpdate, ClosingThePromptAnyWayEnablesTheMainWindow) {
    {
        PromptFixture f;
        ::SendMessageW(f.prompt.hwnd(), WM_CLOSE, 0, 0); // the close box, Alt+F4
        EXPECT_FALSE(f.prompt.IsOpen());
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
    }
    {
        PromptFixture f;
        ::DestroyWindow(f.prompt.hwnd()); // as the main window's shutdown unloads it
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
    }
    {
        MainStandIn main;
        auto prompt = std::make_unique<FrmUpdate>();
        prompt->beep = nullptr;
        ASSERT_TRUE(prompt->Load(main.hwnd(), 15, 15, kVersionPage));
        EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
        prompt.reset(); // torn down with the object that owns it
        EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    }
}

TEST(FrmUpdate, YesOpensTheVersionPageAndCloses) {
    PromptFixture f;
    HWND prompt = f.prompt.hwnd();
    Click(f.prompt.cmdYes);
    ASSERT_EQ(f.opened.size(), 1u);
    EXPECT_EQ(f.opened[0].owner, prompt);
    EXPECT_EQ(f.opened[0].url, kVersionPage);
    EXPECT_TRUE(::CompareStringOrdinal(f.opened[0].folder.c_str(), -1, ProgramFolder().c_str(), -1,
                                       TRUE) == CSTR_EQUAL)
        << "the program's own folder";
    EXPECT_FALSE(f.prompt.IsOpen());
    EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
}

// The whole check from the main window: start-up fetches the page, a newer
// version opens the prompt, anything else ends silently.
class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        appData_ = test::FreshFolder(L"update");
        const fs::path languages = fs::path(appData_) / "Qorvic" / "Languages";
        fs::create_directories(languages);
        const fs::path shipped =
            fs::path(test::WidePath(__FILE__)).parent_path().parent_path().parent_path() / "lang";
        // The load reaches the prompt's lead-in only with all eight languages listed.
        for (const fs::directory_entry& file : fs::directory_iterator(shipped))
            if (file.path().extension() == ".Language")
                fs::copy_file(file.path(), languages / file.path().filename());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(appData_, ec);
    }

    std::unique_ptr<Form1> Start(const std::wstring& homePage, DWORD timeoutMs = 0) {
        Form1::Options options;
        options.appDataFolder = appData_;
        options.homePageUrl = homePage;
        options.versionPageUrl = kVersionPage;
        auto form = std::make_unique<Form1>(options);
        form->onEnd = [] {};
        form->showMessage = [this](const std::wstring& text) { messages_.push_back(text); };
        form->ucUpdates.noUpdates = [this](const std::wstring& key) { noUpdates_.push_back(key); };
        if (timeoutMs)
            form->ucUpdates.SetTimeout(timeoutMs);
        EXPECT_TRUE(form->Load(SW_SHOWNOACTIVATE));
        return form;
    }

    // Waits for the check to end one way or the other.
    static bool CheckEnded(Form1& form) {
        return PumpUntil([&] { return !form.ucUpdates.Pending().Contains(L"1"); });
    }
    static bool PromptOpen(const Form1& form) { return form.frmUpdate && form.frmUpdate->IsOpen(); }

    std::wstring appData_;
    std::vector<std::wstring> messages_;
    std::vector<std::wstring> noUpdates_;
};

TEST_F(UpdateCheckTest, ANewerVersionOpensThePromptWithTheMessage) {
    HttpTestServer server(Always({200, "<p>Download Qorvic ver 1.11 now</p>"}));
    auto form = Start(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return PromptOpen(*form); })) << "no prompt";
    const std::wstring leadIn = form->State().texts.TxtNewVersion;
    EXPECT_EQ(leadIn, L"A new version is available: ") << "from the English language file";
    EXPECT_EQ(form->frmUpdate->Label1.Caption(), leadIn + L"Qorvic 1.11");
    EXPECT_FALSE(::IsWindowEnabled(form->hwnd()));
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_EQ(server.LastRequest().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.LastRequest();
    EXPECT_TRUE(noUpdates_.empty());

    Click(form->frmUpdate->cmdNo);
    EXPECT_FALSE(PromptOpen(*form));
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    form->Form_Unload();
}

TEST_F(UpdateCheckTest, ClosingThePromptEnablesTheMainWindow) {
    HttpTestServer server(Always({200, "Qorvic ver 2.0"}));
    auto form = Start(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return PromptOpen(*form); }));
    EXPECT_EQ(form->frmUpdate->Label1.Caption(), L"A new version is available: Qorvic 2.0");
    EXPECT_FALSE(::IsWindowEnabled(form->hwnd()));
    ::SendMessageW(form->frmUpdate->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(PromptOpen(*form));
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    form->Form_Unload();
}

TEST_F(UpdateCheckTest, YesOpensTheConfiguredVersionPage) {
    HttpTestServer server(Always({200, "Qorvic ver 1.11"}));
    auto form = Start(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return PromptOpen(*form); }));
    std::vector<std::wstring> opened;
    form->frmUpdate->openPage = [&](HWND, const std::wstring& url, const std::wstring&) {
        opened.push_back(url);
    };
    Click(form->frmUpdate->cmdYes);
    EXPECT_EQ(opened, std::vector<std::wstring>{kVersionPage});
    EXPECT_FALSE(PromptOpen(*form));
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    form->Form_Unload();
}

TEST_F(UpdateCheckTest, AnEqualOrOlderVersionOpensNothing) {
    for (const char* page :
         {"Qorvic ver 1.10", "Qorvic ver 1.2 ", "Qorvic ver 1.09", "Qorvic ver 1.1",
          "Qorvic ver 0.99", "no marker here 9.99", "Qorvic ver abcd"}) {
        SCOPED_TRACE(page);
        HttpTestServer server(Always({200, page}));
        auto form = Start(server.Url());
        ASSERT_TRUE(CheckEnded(*form));
        test::Pump();
        EXPECT_EQ(form->State().UpdatePageBytes, page) << "the page did arrive";
        EXPECT_FALSE(form->frmUpdate) << "no prompt";
        EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
        EXPECT_TRUE(noUpdates_.empty());
        form->Form_Unload();
    }
}

TEST_F(UpdateCheckTest, FailedChecksEndSilentlyInNoUpdates) {
    HttpReply error{500, "Qorvic ver 9.99"};
    HttpReply oversized{200, "Qorvic ver 9.99" + std::string(UcUpdates::kDefaultMaxBytes, ' ')};
    HttpReply slow{200, "Qorvic ver 9.99"};
    slow.hold = true;
    struct Case {
        const char* what;
        std::unique_ptr<HttpTestServer> server;
    };
    std::vector<Case> cases;
    cases.push_back({"server down", nullptr});
    cases.push_back({"HTTP 500", std::make_unique<HttpTestServer>(Always(error))});
    cases.push_back({"oversized page", std::make_unique<HttpTestServer>(Always(oversized))});
    cases.push_back({"slow server", std::make_unique<HttpTestServer>(Always(slow))});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        noUpdates_.clear();
        auto form = Start(c.server ? c.server->Url() : HttpTestServer::DeadUrl(), 1500);
        ASSERT_TRUE(CheckEnded(*form));
        test::Pump();
        EXPECT_EQ(noUpdates_, std::vector<std::wstring>{L"1"});
        EXPECT_FALSE(form->frmUpdate);
        EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
        EXPECT_TRUE(messages_.empty()) << "nothing is shown";
        form->Form_Unload();
        if (c.server)
            c.server->Release();
    }
}

TEST_F(UpdateCheckTest, AnAnswerThatIsNotHttpOpensNothing) {
    static constexpr char kBinary[] = "\x89PNG\r\n\x1a\n\0\0\xff\xfe garbage 9.99 ";
    HttpReply garbage;
    garbage.raw = std::string(kBinary, sizeof kBinary - 1) + std::string(5000, '\x7f');
    HttpTestServer server(Always(garbage));
    auto form = Start(server.Url(), 1500);
    ASSERT_TRUE(CheckEnded(*form));
    test::Pump();
    EXPECT_FALSE(form->frmUpdate);
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    EXPECT_TRUE(messages_.empty());
    form->Form_Unload();
}

TEST_F(UpdateCheckTest, ClosingTheMainWindowUnloadsThePromptAndDropsALateAnswer) {
    HttpTestServer server(Always({200, "Qorvic ver 1.11"}));
    auto form = Start(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return PromptOpen(*form); }));
    HWND prompt = form->frmUpdate->hwnd();
    form->Form_Unload();
    EXPECT_FALSE(::IsWindow(prompt));

    HttpReply held{200, "Qorvic ver 1.11"};
    held.hold = true;
    HttpTestServer slow(Always(held));
    auto closing = Start(slow.Url());
    ASSERT_TRUE(PumpUntil([&] { return slow.Requests() == 1; }));
    closing->Form_Unload(); // the read is still waiting for its answer
    slow.Release();
    ASSERT_TRUE(PumpUntil([&] { return slow.Finished() == 1; }));
    PumpUntil([&] { return closing->frmUpdate != nullptr; }, 1000);
    EXPECT_FALSE(closing->frmUpdate) << "a window that has closed opens no prompt";
}
