// PageDownloader: reads whole web resources into memory in the background and
// reports each outcome as an event on the user-interface thread. It is a hidden
// child of the window it serves, so it goes away with that window; a read still
// running then ends unnoticed and never touches the windows.
#pragma once

#include "base/window_win.h"
#include "update/pending_downloads.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace qorvic {

class PageDownloader : public Window {
public:
    // Read options, as numbered by the platform's asynchronous read.
    static constexpr std::uint32_t kCacheDefault = 0;
    static constexpr std::uint32_t kCacheForceUpdate = 16; // fetch anew; the cached copy is dropped
    static constexpr std::uint32_t kCacheResynchronize = 512;

    // A page larger than this is not the page we look for; the read counts as failed.
    static constexpr std::size_t kDefaultMaxBytes = 1024 * 1024;
    // A read that has not ended after this long counts as failed.
    static constexpr DWORD kDefaultTimeoutMs = 20000;

    PageDownloader();
    ~PageDownloader() override;

    // Places the control on `parent`; completed reads leave their bytes in `pageBytes`.
    bool Create(HWND parent, std::string& pageBytes);

    // Starts reading `url` (http or https) under the name `key`. A read still
    // running under that key is cancelled first and never reports. When the read
    // cannot start, onReadFailed(key) is raised before this returns.
    void DownloadFile(const std::wstring& url, std::uint32_t cacheMode = kCacheDefault,
                      const std::wstring& key = L"");

    // The read named key has delivered; its bytes are in the page buffer.
    std::function<void(const std::wstring& key)> onPageReady;
    // The read named key failed to start or to deliver (error, HTTP status other
    // than 2xx, too large, too slow).
    std::function<void(const std::wstring& key)> onReadFailed;

    const PendingDownloads& Pending() const { return pending_; }

    void SetTimeout(DWORD milliseconds) { timeoutMs_ = milliseconds; }
    void SetMaxBytes(std::size_t bytes) { maxBytes_ = bytes; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Read;
    struct Running {
        std::shared_ptr<Read> read;
        UINT_PTR serial;
    };

    bool AddKey(const std::wstring& key) { return pending_.AddKey(key); }
    void RemoveKey(const std::wstring& key) { pending_.RemoveKey(key); }
    void Cancel(const std::wstring& key);
    bool Start(const std::wstring& url, std::uint32_t cacheMode, const std::wstring& key);
    void Completed(UINT_PTR serial);
    void TimedOut(UINT_PTR serial);
    void Fail(const std::wstring& key);
    std::map<std::wstring, Running>::iterator FindBySerial(UINT_PTR serial);

    PendingDownloads pending_;
    std::map<std::wstring, Running> running_;
    std::string* pageBytes_ = nullptr;
    DWORD timeoutMs_ = kDefaultTimeoutMs;
    std::size_t maxBytes_ = kDefaultMaxBytes;
};

} // namespace qorvic
