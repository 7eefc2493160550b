// The update check on real windows against a local server: PageDownloader
// brings whole pages to the interface thread and ends every failure in
// onReadFailed; the prompt beside its main window; and the whole check from
// the frame. Which versions count as newer is the native tests' part. The
// program reads one page once, under one key, so only that use is tested.
#include "frame_support_win.h"
#include "http_test_server_win.h"
#include "update/page_downloader_win.h"
#include "update/update_prompt_win.h"

#include <gtest/gtest.h>

#include <functional>
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
    void Read(const std::wstring& url) {
        downloader.DownloadFile(url, PageDownloader::kCacheForceUpdate, L"1");
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
    // Silent until released, or a byte every 100 ms for longer than the time-out
    // and its grace, yet no single wait is long.
    HttpReply silent{200, marker}, trickling{200, marker + std::string(45, ' ')};
    silent.hold = true;
    trickling.trickle = true;
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
        {"silent", silent, false},
        {"trickling", trickling, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<HttpTestServer> server;
        if (c.reply)
            server.emplace(Always(*c.reply));
        Recorder r;
        if (c.reply && (c.reply->hold || c.reply->trickle))
            r.downloader.SetTimeout(1500);
        r.Read(server ? server->Url() : HttpTestServer::DeadUrl());
        EXPECT_TRUE(r.downloader.Pending().Contains(L"1")) << "listed while the read runs";
        ASSERT_TRUE(r.WaitForEvents(1));
        EXPECT_EQ(r.events, std::vector<std::wstring>{c.ready ? L"ready:1" : L"none:1"});
        EXPECT_TRUE(r.bytesAtEvent[0] == (c.ready ? c.reply->body : ""))
            << "the whole page or none";
        EXPECT_FALSE(r.onOtherThread);
        EXPECT_TRUE(r.downloader.Pending().Keys().empty()) << "the key is gone after the event";
        if (server) {
            server->Release();
            // The worker's late report, if any, must not raise a second event.
            PumpUntil([&] { return server->Finished() == 1; });
            Pump();
            EXPECT_EQ(server->Requests(), 1);
        }
        EXPECT_EQ(r.events.size(), 1u);
    }
}

TEST(PageDownloader, AForcedReadAsksPastEveryCache) {
    HttpTestServer server([](int number) {
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

// As when the frame closes during the check.
TEST(PageDownloader, AControlDestroyedDuringAReadIsLeftAlone) {
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

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\'));
}

// A prompt over a stand-in main window, the beep and the shell recorded.
struct PromptFixture {
    TestWindow main{RGB(255, 255, 255), true, WS_OVERLAPPEDWINDOW};
    std::optional<UpdatePrompt> prompt{std::in_place};
    int beeps = 0;
    std::vector<std::wstring> opened;

    PromptFixture() {
        prompt->beep = [this](DWORD, DWORD) { ++beeps; };
        prompt->openPage = [this](HWND owner, const std::wstring& url, const std::wstring& folder) {
            EXPECT_EQ(owner, prompt->hwnd());
            EXPECT_EQ(::CompareStringOrdinal(folder.c_str(), -1, ProgramFolder().c_str(), -1, TRUE),
                      CSTR_EQUAL)
                << "the program's own folder";
            opened.push_back(url);
        };
        EXPECT_TRUE(prompt->Load(main.hwnd(), 15, 15, kVersionPage));
        Pump();
    }
};

} // namespace

// It opens topmost, fixed and with a beep over a disabled main window, and every
// answer gives the window back. "No" has the focus: Enter, N and Esc say no; Y,
// and Tab to "Yes" then Enter, open the configured page. Its place, texts and
// icon, and "No" clicked: tests/e2e/test_update.sh.
TEST(UpdatePrompt, OpensOverADisabledMainWindowAndEveryAnswerEnablesItAgain) {
    const auto press = [](std::vector<WPARAM> keys) {
        return [keys](PromptFixture&) {
            for (WPARAM key : keys) {
                ::SendMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
                ::SendMessageW(::GetFocus(), WM_KEYUP, key, 0xC0000001);
            }
        };
    };
    const struct {
        const char* what;
        std::function<void(PromptFixture&)> answer;
        bool yes;
    } cases[] = {
        {"Enter", press({VK_RETURN}), false},
        {"N", press({'N'}), false},
        {"Esc", press({VK_ESCAPE}), false},
        {"Y", press({'Y'}), true},
        {"Tab, Enter", press({VK_TAB, VK_RETURN}), true},
        {"the close box",
         [](PromptFixture& f) { ::SendMessageW(f.prompt->hwnd(), WM_CLOSE, 0, 0); }, false},
        // As the frame's shutdown unloads it, and with the object that owns it.
        {"destroyed", [](PromptFixture& f) { ::DestroyWindow(f.prompt->hwnd()); }, false},
        {"torn down", [](PromptFixture& f) { f.prompt.reset(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PromptFixture f;
        const HWND prompt = f.prompt->hwnd();
        ASSERT_TRUE(::IsWindowVisible(prompt));
        EXPECT_FALSE(::IsWindowEnabled(f.main.hwnd()));
        EXPECT_FALSE(::GetWindowLongPtrW(prompt, GWL_STYLE) &
                     (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
        EXPECT_TRUE(::GetWindowLongPtrW(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(f.beeps, 1);
        c.answer(f);
        EXPECT_FALSE(f.prompt && f.prompt->IsOpen());
        EXPECT_TRUE(::IsWindowEnabled(f.main.hwnd()));
        EXPECT_EQ(f.opened,
                  c.yes ? std::vector<std::wstring>{kVersionPage} : std::vector<std::wstring>{});
    }
}

namespace {

// The whole check from the main window: start-up fetches the page.
struct CheckingFrame : TestFrame {
    explicit CheckingFrame(const std::wstring& homePage) {
        InstallLanguages(AppData()); // the prompt's lead-in is in the language file
        options.homePageUrl = homePage;
        options.updateCheckDelayMs = 0; // under way when Load returns
        options.versionPageUrl = kVersionPage;
        EXPECT_TRUE(Start(SW_SHOWNOACTIVATE));
    }
    UpdatePrompt* Prompt() const { return form->commands().updateCheck.prompt.get(); }
};

} // namespace

// Yes opens the configured page; unanswered, the prompt goes with the main
// window. The prompt's texts and the request: tests/e2e/test_update.sh.
TEST(UpdateCheck, ANewerVersionOpensThePromptWhoseYesOpensTheConfiguredPage) {
    HttpTestServer server(Always({200, "<p>Download Qorvic ver 1.11 now</p>"}));
    for (const bool yes : {true, false}) {
        CheckingFrame frame(server.Url());
        ASSERT_TRUE(PumpUntil([&] { return frame.Prompt() && frame.Prompt()->IsOpen(); }));
        EXPECT_FALSE(::IsWindowEnabled(frame->hwnd()));
        const HWND prompt = frame.Prompt()->hwnd();
        std::vector<std::wstring> opened;
        frame.Prompt()->openPage = [&](HWND, const std::wstring& url, const std::wstring&) {
            opened.push_back(url);
        };
        if (yes)
            Click(frame.Prompt()->yesButton.hwnd());
        frame->Shutdown();
        EXPECT_FALSE(::IsWindow(prompt));
        EXPECT_EQ(opened,
                  yes ? std::vector<std::wstring>{kVersionPage} : std::vector<std::wstring>{});
    }
}

// A failed read: PageDownloader's test above.
TEST(UpdateCheck, TheSameVersionOpensNothingAndShowsNothing) {
    HttpTestServer server(Always({200, "Qorvic ver 1.10"}));
    CheckingFrame frame(server.Url());
    ASSERT_TRUE(PumpUntil(
        [&] { return !frame->commands().updateCheck.pageDownloader.Pending().Contains(L"1"); }));
    Pump();
    EXPECT_EQ(frame.Prompt(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(frame->hwnd()));
    EXPECT_TRUE(frame.messages.empty());
    frame->Shutdown();
}
