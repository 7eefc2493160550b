// PageDownloader against a local server: whole pages arrive on the interface thread,
// every kind of failure ends in onReadFailed, and a read under a pending key
// replaces the one before it.
#include "test_support_win.h"

#include "http_test_server_win.h"
#include "update/page_downloader_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace qorvic;
using qorvic::test::Always;
using qorvic::test::HttpReply;
using qorvic::test::HttpTestServer;

namespace {

using qorvic::test::PumpUntil;

// A hidden top-level window for the control to sit on.
class Host : public Window {
public:
    Host() {
        CreateWin({.className = L"QorvicTestUpdateHost",
                   .title = L"update host",
                   .style = WS_POPUP,
                   .width = 10,
                   .height = 10});
    }
};

// A control on a host window that writes down every event it raises.
struct Recorder {
    Host host;
    PageDownloader downloader;
    std::string bytes;
    std::vector<std::wstring> events; // "ready:<key>" or "none:<key>"
    std::vector<std::string> bytesAtEvent;
    bool onOtherThread = false;

    Recorder() {
        EXPECT_TRUE(downloader.Create(host.hwnd(), bytes));
        const DWORD thread = ::GetCurrentThreadId();
        downloader.onPageReady = [this, thread](const std::wstring& key) {
            events.push_back(L"ready:" + key);
            bytesAtEvent.push_back(bytes);
            onOtherThread |= ::GetCurrentThreadId() != thread;
        };
        downloader.onReadFailed = [this, thread](const std::wstring& key) {
            events.push_back(L"none:" + key);
            bytesAtEvent.emplace_back();
            onOtherThread |= ::GetCurrentThreadId() != thread;
        };
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

} // namespace

TEST(PageDownloader, DeliversTheWholePageOnTheInterfaceThread) {
    const std::string page = Pattern(300 * 1024); // many reads of the worker's chunk
    HttpTestServer server(Always({200, page}));
    Recorder r;
    r.downloader.DownloadFile(server.Url(), PageDownloader::kCacheForceUpdate, L"1");
    EXPECT_TRUE(r.downloader.Pending().Contains(L"1")) << "listed while the read runs";
    ASSERT_TRUE(r.WaitForEvents(1));
    EXPECT_EQ(r.events, std::vector<std::wstring>{L"ready:1"});
    EXPECT_TRUE(r.bytesAtEvent[0] == page) << "got " << r.bytesAtEvent[0].size() << " bytes";
    EXPECT_FALSE(r.onOtherThread);
    EXPECT_TRUE(r.downloader.Pending().Keys().empty()) << "the key is gone after the event";
}

TEST(PageDownloader, APageUpToTheLimitArrivesAndEveryFailureEndsInNoUpdates) {
    struct Case {
        const char* what;
        std::optional<HttpReply> reply; // none: nothing listening
        bool ready;
    };
    const std::string marker = "Qorvic ver 9.99";
    const std::vector<Case> cases = {
        {"exactly the limit", HttpReply{200, Pattern(PageDownloader::kDefaultMaxBytes)}, true},
        {"server error with a marker in its page", HttpReply{500, marker}, false},
        {"page not found", HttpReply{404, marker}, false},
        {"one byte over the limit", HttpReply{200, Pattern(PageDownloader::kDefaultMaxBytes + 1)},
         false},
        {"far over the limit", HttpReply{200, Pattern(3 * PageDownloader::kDefaultMaxBytes)},
         false},
        {"nothing listening", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<HttpTestServer> server;
        if (c.reply)
            server.emplace(Always(*c.reply));
        Recorder r;
        r.downloader.DownloadFile(server ? server->Url() : HttpTestServer::DeadUrl(),
                                  PageDownloader::kCacheForceUpdate, L"1");
        ASSERT_TRUE(r.WaitForEvents(1));
        EXPECT_EQ(r.events, std::vector<std::wstring>{c.ready ? L"ready:1" : L"none:1"});
        EXPECT_EQ(r.bytes.size(), c.ready ? c.reply->body.size() : 0u)
            << "a failed read leaves no bytes";
        EXPECT_FALSE(r.downloader.Pending().Contains(L"1"));
        if (server) {
            EXPECT_EQ(server->Requests(), 1);
        }
    }
}

TEST(PageDownloader, ASlowServerEndsInNoUpdatesAfterTheTimeout) {
    HttpReply silent{200, "Qorvic ver 9.99"};
    silent.hold = true; // never answers until the end of the test
    // Longer than the time-out and its grace, yet no single wait is long.
    HttpReply trickling{200, std::string("Qorvic ver 9.99") + std::string(45, ' ')};
    trickling.trickle = true; // a byte every 100 ms
    for (const HttpReply& reply : {silent, trickling}) {
        SCOPED_TRACE(reply.hold ? "silent" : "trickling");
        HttpTestServer server(Always(reply));
        Recorder r;
        r.downloader.SetTimeout(1500);
        r.downloader.DownloadFile(server.Url(), PageDownloader::kCacheForceUpdate, L"1");
        ASSERT_TRUE(r.WaitForEvents(1));
        EXPECT_EQ(r.events, std::vector<std::wstring>{L"none:1"});
        EXPECT_FALSE(r.downloader.Pending().Contains(L"1"));
        server.Release();
        // The worker's late report, if any, must not raise a second event.
        PumpUntil([&] { return server.Finished() == 1; });
        test::Pump();
        EXPECT_EQ(r.events.size(), 1u);
    }
}

TEST(PageDownloader, ASecondReadUnderAPendingKeyReplacesTheFirst) {
    HttpTestServer server([](int number, const std::string&) {
        HttpReply reply{200, number == 1 ? "first Qorvic ver 9.99" : "second Qorvic ver 1.11"};
        reply.hold = number == 1;
        return reply;
    });
    Recorder r;
    r.downloader.DownloadFile(server.Url(L"/a"), PageDownloader::kCacheForceUpdate, L"1");
    ASSERT_TRUE(PumpUntil([&] { return server.Requests() == 1; }));
    r.downloader.DownloadFile(server.Url(L"/b"), PageDownloader::kCacheForceUpdate, L"1");
    EXPECT_EQ(r.downloader.Pending().Keys(), std::vector<std::wstring>{L"1"}) << "listed once";
    ASSERT_TRUE(r.WaitForEvents(1));
    EXPECT_EQ(r.events, std::vector<std::wstring>{L"ready:1"});
    EXPECT_EQ(r.bytes, "second Qorvic ver 1.11");

    // Now the first read gets its answer; it was cancelled and stays silent.
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return server.Finished() == 2; }));
    PumpUntil([&] { return r.events.size() > 1; }, 1000);
    EXPECT_EQ(r.events.size(), 1u);
    EXPECT_EQ(r.bytes, "second Qorvic ver 1.11");
}

TEST(PageDownloader, ReadsUnderDifferentKeysRunSideBySide) {
    HttpTestServer server([](int, const std::string& line) {
        return HttpReply{200, line.find("/x") != std::string::npos ? "page x" : "page y"};
    });
    Recorder r;
    r.downloader.DownloadFile(server.Url(L"/x"), PageDownloader::kCacheForceUpdate, L"x");
    r.downloader.DownloadFile(server.Url(L"/y"), PageDownloader::kCacheForceUpdate, L"y");
    EXPECT_TRUE(r.downloader.Pending().Contains(L"x"));
    EXPECT_TRUE(r.downloader.Pending().Contains(L"y"));
    ASSERT_TRUE(r.WaitForEvents(2));
    ASSERT_EQ(r.events.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::wstring key = r.events[i].substr(6);
        EXPECT_EQ(r.events[i].substr(0, 6), L"ready:");
        EXPECT_EQ(r.bytesAtEvent[i], key == L"x" ? "page x" : "page y");
    }
    EXPECT_TRUE(r.downloader.Pending().Keys().empty());
}

TEST(PageDownloader, AForcedReadAsksPastEveryCache) {
    HttpTestServer server([](int number, const std::string&) {
        HttpReply reply{200, "page " + std::to_string(number)};
        // The server would let any cache keep this copy for an hour.
        reply.extraHeaders = "Cache-Control: public, max-age=3600\r\n";
        return reply;
    });
    Recorder r;
    r.downloader.DownloadFile(server.Url(), PageDownloader::kCacheDefault, L"1");
    ASSERT_TRUE(r.WaitForEvents(1));
    EXPECT_EQ(server.LastRequest().find("Pragma: no-cache"), std::string::npos)
        << "an ordinary read may be answered by a cache";
    for (int i = 2; i <= 3; ++i) {
        r.downloader.DownloadFile(server.Url(), PageDownloader::kCacheForceUpdate, L"1");
        ASSERT_TRUE(r.WaitForEvents(static_cast<std::size_t>(i)));
        EXPECT_EQ(server.Requests(), i) << "each forced read reaches the server";
        EXPECT_EQ(r.bytesAtEvent.back(), "page " + std::to_string(i));
        EXPECT_NE(server.LastRequest().find("\r\nPragma: no-cache\r\n"), std::string::npos)
            << "caches on the way are told not to answer:\n"
            << server.LastRequest();
    }
}

TEST(PageDownloader, WhatCannotStartFailsAtOnce) {
    Recorder r;
    r.downloader.DownloadFile(L"ftp://127.0.0.1/page", PageDownloader::kCacheForceUpdate, L"1");
    EXPECT_EQ(r.events, std::vector<std::wstring>{L"none:1"}) << "only web addresses are read";
    r.downloader.DownloadFile(L"file:///C:/windows/win.ini", PageDownloader::kCacheForceUpdate,
                              L"2");
    r.downloader.DownloadFile(L"", PageDownloader::kCacheForceUpdate, L"3");
    const std::wstring badKey(L"a\0b", 3);
    r.downloader.DownloadFile(L"http://127.0.0.1/", PageDownloader::kCacheForceUpdate, badKey);
    EXPECT_EQ(r.events.size(), 4u);
    EXPECT_TRUE(r.downloader.Pending().Keys().empty());

    PageDownloader unplaced; // never put on a window: nothing can report back
    std::vector<std::wstring> none;
    unplaced.onReadFailed = [&](const std::wstring& key) { none.push_back(key); };
    unplaced.DownloadFile(L"http://127.0.0.1/", PageDownloader::kCacheForceUpdate, L"1");
    EXPECT_EQ(none, std::vector<std::wstring>{L"1"});
}

TEST(PageDownloader, AControlDestroyedDuringAReadIsLeftAlone) {
    HttpReply reply{200, "Qorvic ver 9.99"};
    reply.hold = true;
    HttpTestServer server(Always(reply));
    int events = 0;
    {
        Recorder r;
        r.downloader.onPageReady = [&](const std::wstring&) { ++events; };
        r.downloader.onReadFailed = [&](const std::wstring&) { ++events; };
        r.downloader.DownloadFile(server.Url(), PageDownloader::kCacheForceUpdate, L"1");
        ASSERT_TRUE(PumpUntil([&] { return server.Requests() == 1; }));
    }
    server.Release();
    ASSERT_TRUE(PumpUntil([&] { return server.Finished() == 1; }));
    test::Pump();
    EXPECT_EQ(events, 0);
}
