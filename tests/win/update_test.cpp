// The update check on real windows against a local server: PageDownloader
// brings whole pages to the interface thread and ends every failure in
// onReadFailed; the prompt beside its main window; and the whole check from
// the frame. Which versions count as newer is the native tests' part.
#include "frame_support_win.h"
#include "http_test_server_win.h"
#include "update/page_downloader_win.h"
#include "update/update_prompt_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace qorvic;
using namespace qorvic::test;

namespace {

// A downloader on a hidden window that writes down every event it raises.
struct Recorder {
    TestWindow host;
    PageDownloader downloader;
    std::string bytes;
    std::vector<std::wstring> events; // "ready:<key>" or "none:<key>"
    std::vector<std::string> bytesAtEvent;
    bool onOtherThread = false;

    Recorder() {
        EXPECT_TRUE(downloader.Create(host.hwnd(), bytes));
        const DWORD thread = ::GetCurrentThreadId();
        const auto note = [this, thread](const std::wstring& what, bool ready) {
            events.push_back(what);
            bytesAtEvent.push_back(ready ? bytes : std::string());
            onOtherThread |= ::GetCurrentThreadId() != thread;
        };
        downloader.onPageReady = [note](const std::wstring& key) { note(L"ready:" + key, true); };
        downloader.onReadFailed = [note](const std::wstring& key) { note(L"none:" + key, false); };
    }
    void Read(const std::wstring& url, const std::wstring& key = L"1") {
        downloader.DownloadFile(url, PageDownloader::kCacheForceUpdate, key);
    }
    bool WaitForEvents(std::size_t n) {
        return PumpUntil([&] { return events.size() >= n; });
    }
};

std::string Pattern(std::size_t size) {
    std::string page = "<html>Qorvic ver 1.11</html>";
    for (std::size_t i = 0; page.size() < size; ++i)
        page.push_back(static_cast<char>('a' + i % 26));
    page.resize(size);
    return page;
}

constexpr wchar_t kVersionPage[] = L"http://127.0.0.1:9/_mgxroot/page_10737.html";

} // namespace

TEST(PageDownloader, APageUpToTheLimitArrivesAndEveryFailureEndsInNoUpdates) {
    const std::size_t limit = PageDownloader::kDefaultMaxBytes;
    const std::string marker = "Qorvic ver 9.99";
    const struct {
        const char* what;
        std::optional<HttpReply> reply; // none: nothing listening
        bool ready;
    } cases[] = {
        {"exactly the limit, in many reads", HttpReply{200, Pattern(limit)}, true},
        {"server error with a marker in its page", HttpReply{500, marker}, false},
        {"page not found", HttpReply{404, marker}, false},
        {"one byte over the limit", HttpReply{200, Pattern(limit + 1)}, false},
        {"far over the limit", HttpReply{200, Pattern(3 * limit)}, false},
        {"nothing listening", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<HttpTestServer> server;
        if (c.reply)
            server.emplace(Always(*c.reply));
        Recorder r;
        r.Read(server ? server->Url() : HttpTestServer::DeadUrl());
        EXPECT_TRUE(r.downloader.Pending().Contains(L"1")) << "listed while the read runs";
        ASSERT_TRUE(r.WaitForEvents(1));
        EXPECT_EQ(r.events, std::vector<std::wstring>{c.ready ? L"ready:1" : L"none:1"});
        EXPECT_TRUE(r.bytesAtEvent[0] == (c.ready ? c.reply->body : ""))
            << "the whole page or none";
        EXPECT_FALSE(r.onOtherThread);
        EXPECT_TRUE(r.downloader.Pending().Keys().empty()) << "the key is gone after the event";
        if (server) {
            EXPECT_EQ(server->Requests(), 1);
        }
    }
}

TEST(PageDownloader, ASlowServerEndsInNoUpdatesAfterTheTimeout) {
    HttpReply silent{200, "Qorvic ver 9.99"};
    silent.hold = true; // never answers until released
    // Longer than the time-out and its grace, yet no single wait is long.
    HttpReply trickling{200, std::string("Qorvic ver 9.99") + std::string(45, ' ')};
    trickling.trickle = true; // a byte every 100 ms
    for (const HttpReply& reply : {silent, trickling}) {
        SCOPED_TRACE(reply.hold ? "silent" : "trickling");
        HttpTestServer server(Always(reply));
        Recorder r;
        r.downloader.SetTimeout(1500);
        r.Read(server.Url());
        ASSERT_TRUE(r.WaitForEvents(1));
        EXPECT_EQ(r.events, std::vector<std::wstring>{L"none:1"});
        server.Release();
        // The worker's late report, if any, must not raise a second event.
        PumpUntil([&] { return server.Finished() == 1; });
        Pump();
        EXPECT_EQ(r.events.size(), 1u);
    }
}

TEST(PageDownloader, ASecondReadUnderAPendingKeyReplacesTheFirstOthersRunBeside) {
    HttpTestServer server([](int number, const std::string& line) {
        HttpReply reply{200, line.find("/other") != std::string::npos ? "other page"
                             : number == 1                            ? "first Qorvic ver 9.99"
                                                                      : "second Qorvic ver 1.11"};
        reply.hold = number == 1;
        return reply;
    });
    Recorder r;
    r.Read(server.Url(L"/a"));
    ASSERT_TRUE(PumpUntil([&] { return server.Requests() == 1; }));
    r.Read(server.Url(L"/b"));
    r.Read(server.Url(L"/other"), L"2");
    EXPECT_EQ(r.downloader.Pending().Keys().size(), 2u) << "each key listed once";
    ASSERT_TRUE(r.WaitForEvents(2));
    EXPECT_EQ(r.bytesAtEvent.size(), 2u);
    for (std::size_t i = 0; i < r.events.size(); ++i)
        EXPECT_EQ(r.bytesAtEvent[i],
                  r.events[i] == L"ready:1" ? "second Qorvic ver 1.11" : "other page");

    // Now the first read gets its answer; it was cancelled and stays silent.
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return server.Finished() == 3; }));
    PumpUntil([&] { return r.events.size() > 2; }, 1000);
    EXPECT_EQ(r.events.size(), 2u);
}

TEST(PageDownloader, AForcedReadAsksPastEveryCache) {
    HttpTestServer server([](int number, const std::string&) {
        HttpReply reply{200, "page " + std::to_string(number)};
        reply.extraHeaders = "Cache-Control: public, max-age=3600\r\n";
        return reply;
    });
    Recorder r;
    for (int i = 1; i <= 2; ++i) {
        r.Read(server.Url());
        ASSERT_TRUE(r.WaitForEvents(static_cast<std::size_t>(i)));
        EXPECT_EQ(r.bytesAtEvent.back(), "page " + std::to_string(i)) << "not a cached copy";
        EXPECT_NE(server.LastRequest().find("\r\nPragma: no-cache\r\n"), std::string::npos)
            << server.LastRequest();
    }
}

TEST(PageDownloader, WhatCannotStartFailsAtOnceAndADestroyedControlIsLeftAlone) {
    Recorder r;
    r.Read(L"ftp://127.0.0.1/page", L"1"); // only web addresses are read
    r.Read(L"file:///C:/windows/win.ini", L"2");
    r.Read(L"", L"3");
    r.Read(L"http://127.0.0.1/", std::wstring(L"a\0b", 3));
    EXPECT_EQ(r.events.size(), 4u);
    EXPECT_TRUE(r.downloader.Pending().Keys().empty());
    PageDownloader unplaced; // never put on a window: nothing can report back
    std::vector<std::wstring> none;
    unplaced.onReadFailed = [&](const std::wstring& key) { none.push_back(key); };
    unplaced.DownloadFile(L"http://127.0.0.1/", PageDownloader::kCacheForceUpdate, L"1");
    EXPECT_EQ(none, std::vector<std::wstring>{L"1"});

    HttpReply held{200, "Qorvic ver 9.99"};
    held.hold = true;
    HttpTestServer server(Always(held));
    int events = 0;
    {
        Recorder gone;
        gone.downloader.onPageReady = [&](const std::wstring&) { ++events; };
        gone.downloader.onReadFailed = [&](const std::wstring&) { ++events; };
        gone.Read(server.Url());
        ASSERT_TRUE(PumpUntil([&] { return server.Requests() == 1; }));
    }
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return server.Finished() == 1; }));
    Pump();
    EXPECT_EQ(events, 0);
}

namespace {

// A prompt over a stand-in main window, the beep and the shell recorded.
struct PromptFixture {
    TestWindow main{RGB(255, 255, 255), true, WS_OVERLAPPEDWINDOW};
    std::optional<UpdatePrompt> prompt{std::in_place};
    std::vector<std::pair<DWORD, DWORD>> beeps;
    std::vector<std::wstring> opened;

    PromptFixture() {
        prompt->beep = [this](DWORD hz, DWORD ms) { beeps.emplace_back(hz, ms); };
        prompt->openPage = [this](HWND, const std::wstring& url, const std::wstring&) {
            opened.push_back(url);
        };
        EXPECT_TRUE(prompt->Load(main.hwnd(), 15, 15, kVersionPage));
        prompt->messageLabel.SetCaption(L"A new version is available: Qorvic 1.11");
        Pump();
    }
};

} // namespace

// Its place, texts and icon on the screen: tests/e2e/test_update.sh.
TEST(UpdatePrompt, OpensTopmostAndFixedOverADisabledMainWindowWithABeep) {
    PromptFixture f;
    HWND prompt = f.prompt->hwnd();
    ASSERT_TRUE(::IsWindowVisible(prompt));
    EXPECT_FALSE(::IsWindowEnabled(f.main.hwnd())) << "the main window waits for the answer";
    wchar_t caption[64] = {};
    ::GetWindowTextW(prompt, caption, 64);
    EXPECT_STREQ(caption, L"Brimlow");
    const LONG_PTR style = ::GetWindowLongPtrW(prompt, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed, no min/max";
    EXPECT_TRUE(::GetWindowLongPtrW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(f.beeps, (std::vector<std::pair<DWORD, DWORD>>{{700, 100}}));
}

TEST(UpdatePrompt, NoOrClosingThePromptAnyWayEnablesTheMainWindow) {
    for (int how = 0; how < 4; ++how) { // "No", the close box, destroyed, torn down
        SCOPED_TRACE(how);
        PromptFixture f;
        const HWND main = f.main.hwnd();
        if (how == 0)
            Click(f.prompt->noButton.hwnd());
        else if (how == 1)
            ::SendMessageW(f.prompt->hwnd(), WM_CLOSE, 0, 0);
        else if (how == 2)
            ::DestroyWindow(f.prompt->hwnd()); // as the frame's shutdown unloads it
        else
            f.prompt.reset(); // torn down with the object that owns it
        EXPECT_FALSE(f.prompt && f.prompt->IsOpen());
        EXPECT_TRUE(::IsWindowEnabled(main));
        EXPECT_TRUE(f.opened.empty());
    }
}

// "No" has the focus when the prompt opens: Enter, N and Esc say no; Y, and
// Tab to "Yes" then Enter, say yes.
TEST(UpdatePrompt, TheKeysAnswerWithNoAsTheSafeDefault) {
    const struct {
        std::vector<WPARAM> keys;
        bool yes;
    } cases[] = {{{VK_RETURN}, false},
                 {{'N'}, false},
                 {{VK_ESCAPE}, false},
                 {{'Y'}, true},
                 {{VK_TAB, VK_RETURN}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.back());
        PromptFixture f;
        for (WPARAM key : c.keys) {
            ::SendMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
            ::SendMessageW(::GetFocus(), WM_KEYUP, key, 0xC0000001);
        }
        EXPECT_FALSE(f.prompt->IsOpen());
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
        EXPECT_EQ(f.opened.size(), c.yes ? 1u : 0u);
    }
}

namespace {

// The whole check from the main window: start-up fetches the page.
struct CheckingFrame : TestFrame {
    std::vector<std::wstring> onReadFailed;

    explicit CheckingFrame(const std::wstring& homePage, DWORD timeoutMs = 0) {
        InstallLanguages(AppData()); // the prompt's lead-in is in the language file
        options.homePageUrl = homePage;
        options.updateCheckDelayMs = 0; // under way when Load returns
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
    bool CheckEnded() {
        return PumpUntil(
            [&] { return !form->commands().updateCheck.pageDownloader.Pending().Contains(L"1"); });
    }
    UpdatePrompt* Prompt() const { return form->commands().updateCheck.prompt.get(); }
};

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\'));
}

} // namespace

TEST(UpdateCheck, ANewerVersionOpensThePromptWhoseYesOpensTheConfiguredPage) {
    HttpTestServer server(Always({200, "<p>Download Qorvic ver 1.11 now</p>"}));
    CheckingFrame frame(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return frame.Prompt() && frame.Prompt()->IsOpen(); }));
    EXPECT_EQ(frame.Prompt()->messageLabel.Caption(), L"A new version is available: Qorvic 1.11");
    EXPECT_EQ(server.LastRequest().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.LastRequest();

    std::vector<std::wstring> opened;
    frame.Prompt()->openPage = [&](HWND owner, const std::wstring& url,
                                   const std::wstring& folder) {
        EXPECT_EQ(owner, frame.Prompt()->hwnd());
        EXPECT_EQ(::CompareStringOrdinal(folder.c_str(), -1, ProgramFolder().c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << "the program's own folder";
        opened.push_back(url);
    };
    Click(frame.Prompt()->yesButton.hwnd());
    EXPECT_EQ(opened, std::vector<std::wstring>{kVersionPage});
    EXPECT_FALSE(frame.Prompt() && frame.Prompt()->IsOpen());
    EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
    frame->Shutdown();
}

TEST(UpdateCheck, TheSameVersionOrAFailedCheckOpensNothingAndShowsNothing) {
    HttpReply garbage;
    garbage.raw =
        std::string("\x89PNG\r\n\x1a\n\0\0\xff\xfe garbage 9.99 ", 26) + std::string(5000, '\x7f');
    const struct {
        const char* what;
        std::optional<HttpReply> reply; // none: nothing listening
        bool toldNoUpdates;             // an answer that is not HTTP may read as a page
    } cases[] = {{"the same version", HttpReply{200, "Qorvic ver 1.10"}, false},
                 {"server down", std::nullopt, true},
                 {"not HTTP", garbage, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<HttpTestServer> server;
        if (c.reply)
            server.emplace(Always(*c.reply));
        CheckingFrame frame(server ? server->Url() : HttpTestServer::DeadUrl(), 1500);
        ASSERT_TRUE(frame.CheckEnded());
        Pump();
        EXPECT_EQ(frame.onReadFailed.size(), c.toldNoUpdates ? 1u : 0u);
        EXPECT_EQ(frame.Prompt(), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
        EXPECT_TRUE(frame.messages.empty());
        frame->Shutdown();
    }
}

TEST(UpdateCheck, ClosingTheMainWindowUnloadsThePrompt) {
    HttpTestServer server(Always({200, "Qorvic ver 1.11"}));
    CheckingFrame frame(server.Url());
    ASSERT_TRUE(PumpUntil([&] { return frame.Prompt() && frame.Prompt()->IsOpen(); }));
    const HWND prompt = frame.Prompt()->hwnd();
    frame->Shutdown();
    EXPECT_FALSE(::IsWindow(prompt));
}
