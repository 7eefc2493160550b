// The update prompt on real windows, alone and as the update check opens it
// from the main window against a local server.
#include "frame_support_win.h"
#include "http_test_server_win.h"
#include "update/update_prompt_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

constexpr wchar_t kVersionPage[] = L"http://127.0.0.1:9/_mgxroot/page_10737.html";

class MainStandIn : public Window {
public:
    MainStandIn() {
        CreateWin({.className = L"QorvicTestPromptOwner",
                   .title = L"main stand-in",
                   .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                   .x = 200,
                   .y = 150,
                   .width = 320,
                   .height = 240});
    }
};

// A control's place in its parent.
Box PlaceInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct OpenedPage {
    HWND owner;
    std::wstring url;
    std::wstring folder;
};

// A prompt beside a stand-in main window, with the beep and the shell recorded.
struct PromptFixture {
    MainStandIn main;
    UpdatePrompt prompt;
    std::vector<std::pair<DWORD, DWORD>> beeps;
    std::vector<OpenedPage> opened;

    PromptFixture() {
        prompt.beep = [this](DWORD hz, DWORD ms) { beeps.emplace_back(hz, ms); };
        prompt.openPage = [this](HWND owner, const std::wstring& url, const std::wstring& folder) {
            opened.push_back({owner, url, folder});
        };
        EXPECT_TRUE(prompt.Load(main.hwnd(), 15, 15, kVersionPage));
        prompt.messageLabel.SetCaption(L"A new version is available: Qorvic 1.11");
        Pump();
    }
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path);
    return full.substr(0, full.find_last_of(L'\\'));
}

} // namespace

TEST(UpdatePrompt, OpensTopmostBesideTheMainWindowWithItsControls) {
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

    EXPECT_EQ(PlaceInParent(f.prompt.yesButton.hwnd()), (Box{140, 130, 70, 30}));
    EXPECT_EQ(PlaceInParent(f.prompt.noButton.hwnd()), (Box{220, 130, 70, 30}));
    EXPECT_EQ(PlaceInParent(f.prompt.messageLabel.hwnd()), (Box{32, 24, 241, 81}));
    EXPECT_EQ(f.prompt.yesButton.Caption(), L"Yes");
    EXPECT_EQ(f.prompt.noButton.Caption(), L"No");
    EXPECT_EQ(f.prompt.messageLabel.GetFont().name, L"Arial");
    EXPECT_EQ(f.prompt.messageLabel.GetFont().size, 12.0f);
    EXPECT_EQ(f.prompt.noButton.GetFont().size, 9.75f);
}

TEST(UpdatePrompt, DrawsTheIconOnTheGreyBackground) {
    PromptFixture f;
    const Pixels shown(304, 172, [&](HDC dc) {
        ::SendMessageW(f.prompt.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    const auto at = [&](int x, int y) { return shown.At(x, y); };
    EXPECT_EQ(at(200, 100), RGB(192, 192, 192));
    EXPECT_EQ(at(40, 5), RGB(192, 192, 192)) << "the picture keeps to its 32 x 32";
    EXPECT_EQ(at(6, 16), RGB(0, 84, 166)) << "the disc";
    EXPECT_EQ(at(16, 18), RGB(255, 255, 255)) << "the arrow";
}

TEST(UpdatePrompt, NoOrClosingThePromptAnyWayEnablesTheMainWindow) {
    for (UINT how : {0u, UINT{WM_CLOSE}}) { // "No"; the close box, Alt+F4
        PromptFixture f;
        if (how == WM_CLOSE)
            ::SendMessageW(f.prompt.hwnd(), WM_CLOSE, 0, 0);
        else
            Click(f.prompt.noButton.hwnd());
        EXPECT_FALSE(f.prompt.IsOpen());
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
        EXPECT_TRUE(f.opened.empty());
    }
    {
        PromptFixture f;
        ::DestroyWindow(f.prompt.hwnd()); // as the main window's shutdown unloads it
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
    }
    {
        MainStandIn main;
        auto prompt = std::make_unique<UpdatePrompt>();
        prompt->beep = nullptr;
        ASSERT_TRUE(prompt->Load(main.hwnd(), 15, 15, kVersionPage));
        EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
        prompt.reset(); // torn down with the object that owns it
        EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
    }
}

TEST(UpdatePrompt, YesOpensTheVersionPageAndCloses) {
    PromptFixture f;
    HWND prompt = f.prompt.hwnd();
    Click(f.prompt.yesButton.hwnd());
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
struct CheckingFrame : TestFrame {
    std::vector<std::wstring> onReadFailed;

    explicit CheckingFrame(const std::wstring& homePage, DWORD timeoutMs = 0) {
        // The load reaches the prompt's lead-in only with all eight languages listed.
        InstallLanguages(AppData());
        options.homePageUrl = homePage;
        options.versionPageUrl = kVersionPage;
        beforeLoad = [this, timeoutMs](FrameWindow& f) {
            f.commands().updateCheck.pageDownloader.onReadFailed = [this](const std::wstring& key) {
                onReadFailed.push_back(key);
            };
            if (timeoutMs)
                f.commands().updateCheck.pageDownloader.SetTimeout(timeoutMs);
        };
        EXPECT_TRUE(Start(SW_SHOWNOACTIVATE));
    }
    // Waits for the check to end one way or the other.
    bool CheckEnded() {
        return PumpUntil(
            [&] { return !form->commands().updateCheck.pageDownloader.Pending().Contains(L"1"); });
    }
    bool PromptOpen() const {
        return form->commands().updateCheck.prompt && form->commands().updateCheck.prompt->IsOpen();
    }
};

TEST(UpdateCheck, ANewerVersionOpensThePromptWhoseYesOpensTheConfiguredPage) {
    HttpTestServer server(Always({200, "<p>Download Qorvic ver 1.11 now</p>"}));
    CheckingFrame frame(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return frame.PromptOpen(); })) << "no prompt";
    const std::wstring leadIn = frame->State().languages.texts.TxtNewVersion;
    EXPECT_EQ(leadIn, L"A new version is available: ") << "from the English language file";
    EXPECT_EQ(frame->commands().updateCheck.prompt->messageLabel.Caption(),
              leadIn + L"Qorvic 1.11");
    EXPECT_FALSE(::IsWindowEnabled(frame->hwnd()));
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_EQ(server.LastRequest().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.LastRequest();
    EXPECT_TRUE(frame.onReadFailed.empty());

    std::vector<std::wstring> opened;
    frame->commands().updateCheck.prompt->openPage =
        [&](HWND, const std::wstring& url, const std::wstring&) { opened.push_back(url); };
    Click(frame->commands().updateCheck.prompt->yesButton.hwnd());
    EXPECT_EQ(opened, std::vector<std::wstring>{kVersionPage});
    EXPECT_FALSE(frame.PromptOpen());
    EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
    frame->Shutdown();
}

TEST(UpdateCheck, AnEqualOrOlderVersionOpensNothing) {
    for (const char* page :
         {"Qorvic ver 1.10", "Qorvic ver 1.2 ", "Qorvic ver 1.09", "Qorvic ver 1.1",
          "Qorvic ver 0.99", "no marker here 9.99", "Qorvic ver abcd"}) {
        SCOPED_TRACE(page);
        HttpTestServer server(Always({200, page}));
        CheckingFrame frame(server.Url());
        ASSERT_TRUE(frame.CheckEnded());
        Pump();
        EXPECT_EQ(frame->commands().updateCheck.PageBytes(), page) << "the page did arrive";
        EXPECT_FALSE(frame->commands().updateCheck.prompt) << "no prompt";
        EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
        EXPECT_TRUE(frame.onReadFailed.empty());
        frame->Shutdown();
    }
}

TEST(UpdateCheck, FailedChecksEndSilently) {
    HttpReply oversized{200,
                        "Qorvic ver 9.99" + std::string(PageDownloader::kDefaultMaxBytes, ' ')};
    HttpReply slow{200, "Qorvic ver 9.99"};
    slow.hold = true;
    static constexpr char kBinary[] = "\x89PNG\r\n\x1a\n\0\0\xff\xfe garbage 9.99 ";
    HttpReply garbage;
    garbage.raw = std::string(kBinary, sizeof kBinary - 1) + std::string(5000, '\x7f');
    struct Case {
        const char* what;
        std::optional<HttpReply> reply; // none: nothing listening
        bool toldNoUpdates;             // an answer that is not HTTP may read as a page
    };
    const std::vector<Case> cases = {{"server down", std::nullopt, true},
                                     {"HTTP 500", HttpReply{500, "Qorvic ver 9.99"}, true},
                                     {"oversized page", oversized, true},
                                     {"slow server", slow, true},
                                     {"not HTTP", garbage, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<HttpTestServer> server;
        if (c.reply)
            server.emplace(Always(*c.reply));
        CheckingFrame frame(server ? server->Url() : HttpTestServer::DeadUrl(), 1500);
        ASSERT_TRUE(frame.CheckEnded());
        Pump();
        if (c.toldNoUpdates) {
            EXPECT_EQ(frame.onReadFailed, std::vector<std::wstring>{L"1"});
        }
        EXPECT_FALSE(frame->commands().updateCheck.prompt);
        EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
        EXPECT_TRUE(frame.messages.empty()) << "nothing is shown";
        frame->Shutdown();
        if (server)
            server->Release();
    }
}

TEST(UpdateCheck, ClosingTheMainWindowUnloadsThePromptAndDropsALateAnswer) {
    HttpTestServer server(Always({200, "Qorvic ver 1.11"}));
    {
        CheckingFrame frame(server.Url());
        ASSERT_TRUE(PumpUntil([&] { return frame.PromptOpen(); }));
        HWND prompt = frame->commands().updateCheck.prompt->hwnd();
        frame->Shutdown();
        EXPECT_FALSE(::IsWindow(prompt));
    }
    HttpReply held{200, "Qorvic ver 1.11"};
    held.hold = true;
    HttpTestServer slow(Always(held));
    CheckingFrame closing(slow.Url());
    ASSERT_TRUE(PumpUntil([&] { return slow.Requests() == 1; }));
    closing->Shutdown(); // the read is still waiting for its answer
    slow.Release();
    ASSERT_TRUE(PumpUntil([&] { return slow.Finished() == 1; }));
    PumpUntil([&] { return closing->commands().updateCheck.prompt != nullptr; }, 1000);
    EXPECT_FALSE(closing->commands().updateCheck.prompt)
        << "a window that has closed opens no prompt";
}
