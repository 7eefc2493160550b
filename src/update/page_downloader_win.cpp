#include "update/page_downloader_win.h"

#include "base/debug_log_win.h"
#include "update/internet_handle_win.h"

#include <atomic>
#include <string_view>
#include <system_error>
#include <thread>

namespace qorvic {

namespace {

constexpr wchar_t kClassName[] = L"QorvicUpdates";
constexpr UINT kReadEnded = WM_APP + 0x51;
// The worker's own time-outs come first; the watchdog only catches a call that ignores them.
constexpr DWORD kWatchdogGraceMs = 2000;

// Serials tell a read's report apart from a cancelled one's, across every
// control of the process, so a late report never reaches the wrong read.
std::atomic<UINT_PTR> nextSerial{1};

bool IsWebAddress(const std::wstring& url) {
    const auto startsWith = [&url](std::wstring_view prefix) {
        return url.size() > prefix.size() &&
               ::CompareStringOrdinal(url.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                      static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
    };
    return startsWith(L"http://") || startsWith(L"https://");
}

DWORD RequestFlags(std::uint32_t cacheMode) {
    DWORD flags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    if (cacheMode & PageDownloader::kCacheForceUpdate)
        flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE;
    if (cacheMode & PageDownloader::kCacheResynchronize)
        flags |= INTERNET_FLAG_RESYNCHRONIZE;
    return flags;
}

} // namespace

// One read: what the worker needs, and what it hands back. The worker and the
// control share it only through the atomics and the posted message.
struct PageDownloader::Read {
    std::wstring url;
    bool forgetCachedCopy = false;
    DWORD flags = 0;
    DWORD timeoutMs = 0;
    std::size_t maxBytes = 0;
    HWND notify = nullptr;
    UINT_PTR serial = 0;

    std::atomic<bool> cancelled{false};
    std::atomic<bool> succeeded{false};
    std::string bytes; // written by the worker before it reports

    // Runs on the worker thread.
    void Run() {
        succeeded.store(Fetch(), std::memory_order_release);
        if (!cancelled.load(std::memory_order_acquire))
            ::PostMessageW(notify, kReadEnded, serial,
                           0); // fails harmlessly once the window is gone
    }

    // Every WinINet call happens here, so the DLL loads on this thread and
    // never delays the interface.
    bool Fetch() {
        const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
        if (forgetCachedCopy)
            ::DeleteUrlCacheEntryW(url.c_str());
        InternetHandle session(
            ::InternetOpenW(L"Qorvic/1.10", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session) {
            DebugLogLastError(L"update check: no internet session");
            return false;
        }
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            DWORD value = timeoutMs;
            ::InternetSetOptionW(session.get(), option, &value, sizeof value);
        }
        InternetHandle request(
            ::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0, flags, 0));
        if (!request) {
            DebugLogLastError(L"update check: cannot open " + url);
            return false;
        }
        if (cancelled.load())
            return false;

        DWORD status = 0;
        DWORD size = sizeof status;
        if (!::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                              &status, &size, nullptr) ||
            status < 200 || status > 299) {
            DebugLog(L"update check: HTTP status " + std::to_wstring(status) + L" for " + url);
            return false;
        }

        char chunk[16 * 1024];
        for (;;) {
            DWORD got = 0;
            if (!::InternetReadFile(request.get(), chunk, sizeof chunk, &got)) {
                DebugLogLastError(L"update check: reading " + url + L" failed");
                return false;
            }
            if (got == 0)
                return true;
            if (got > maxBytes - bytes.size()) { // checked before it grows, so memory stays bounded
                DebugLog(L"update check: " + url + L" is larger than expected");
                return false;
            }
            bytes.append(chunk, got);
            // A server trickling bytes never trips the receive time-out; this does.
            if (cancelled.load())
                return false;
            if (::GetTickCount64() > deadline) {
                DebugLog(L"update check: " + url + L" timed out");
                return false;
            }
        }
    }
};

PageDownloader::PageDownloader() = default;

PageDownloader::~PageDownloader() {
    for (auto& entry : running_)
        entry.second.read->cancelled.store(true);
}

bool PageDownloader::Create(HWND parent, std::string& pageBytes) {
    pageBytes_ = &pageBytes;
    if (hwnd())
        return true;
    return CreateWin({.className = kClassName, .style = WS_CHILD, .parent = parent});
}

void PageDownloader::DownloadFile(const std::wstring& url, std::uint32_t cacheMode,
                                  const std::wstring& key) {
    if (!PendingDownloads::IsValidKey(key)) {
        Fail(key);
        return;
    }
    if (!AddKey(key))
        Cancel(key); // the key stays listed for the new read
    if (!Start(url, cacheMode, key))
        Fail(key);
}

bool PageDownloader::Start(const std::wstring& url, std::uint32_t cacheMode,
                           const std::wstring& key) {
    if (!hwnd() || !pageBytes_ || !IsWebAddress(url))
        return false;
    auto read = std::make_shared<Read>();
    read->url = url;
    read->forgetCachedCopy = (cacheMode & kCacheForceUpdate) != 0;
    read->flags = RequestFlags(cacheMode);
    read->timeoutMs = timeoutMs_;
    read->maxBytes = maxBytes_;
    read->notify = hwnd();
    read->serial = nextSerial.fetch_add(1);
    if (!::SetTimer(hwnd(), read->serial, timeoutMs_ + kWatchdogGraceMs, nullptr))
        return false;
    try {
        // Detached: closing the program must never wait for the network.
        std::thread([read] { read->Run(); }).detach();
    } catch (const std::system_error&) {
        ::KillTimer(hwnd(), read->serial);
        return false;
    }
    running_[key] = Running{read, read->serial};
    return true;
}

void PageDownloader::Cancel(const std::wstring& key) {
    const auto found = running_.find(key);
    if (found == running_.end())
        return;
    found->second.read->cancelled.store(true);
    ::KillTimer(hwnd(), found->second.serial);
    running_.erase(found);
}

void PageDownloader::Fail(const std::wstring& key) {
    RemoveKey(key);
    if (onReadFailed) {
        const auto handler = onReadFailed; // the handler may replace it
        handler(key);
    }
}

std::map<std::wstring, PageDownloader::Running>::iterator
PageDownloader::FindBySerial(UINT_PTR serial) {
    for (auto it = running_.begin(); it != running_.end(); ++it)
        if (it->second.serial == serial)
            return it;
    return running_.end();
}

void PageDownloader::Completed(UINT_PTR serial) {
    const auto found = FindBySerial(serial);
    if (found == running_.end())
        return; // cancelled or timed out meanwhile
    const std::wstring key = found->first;
    const std::shared_ptr<Read> read = found->second.read;
    ::KillTimer(hwnd(), serial);
    running_.erase(found);
    // The key is free before the handler runs, so the handler may start a read under it.
    if (!read->succeeded.load(std::memory_order_acquire)) {
        Fail(key);
        return;
    }
    RemoveKey(key);
    *pageBytes_ = std::move(read->bytes);
    if (onPageReady) {
        const auto handler = onPageReady;
        handler(key);
    }
}

void PageDownloader::TimedOut(UINT_PTR serial) {
    ::KillTimer(hwnd(), serial);
    const auto found = FindBySerial(serial);
    if (found == running_.end())
        return;
    const std::wstring key = found->first;
    found->second.read->cancelled.store(true);
    running_.erase(found);
    Fail(key);
}

LRESULT PageDownloader::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kReadEnded:
        Completed(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_TIMER:
        TimedOut(static_cast<UINT_PTR>(wParam));
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

} // namespace qorvic
