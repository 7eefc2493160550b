// The update check: the home page is read in the background once per run, and
// when it offers a newer version the prompt opens (at most once).
#pragma once

#include "update/page_downloader_win.h"
#include "update/update_prompt_win.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace qorvic {

class UpdateCheck {
public:
    // Starts reading `homePageUrl` (nothing happens for an empty one) for the
    // window `owner`. When a newer version is offered, the prompt opens beside
    // `owner` with `newVersionText()` before the offered version, and its "Yes"
    // opens `versionPageUrl`.
    void Start(HWND owner, const std::wstring& homePageUrl, const std::wstring& versionPageUrl,
               std::function<std::wstring()> newVersionText);
    // The program is ending: a page that arrives now opens nothing.
    void Stop() { stopped_ = true; }

    PageDownloader pageDownloader;
    std::unique_ptr<UpdatePrompt> prompt;
    const std::string& PageBytes() const { return pageBytes_; }

private:
    void OnPageDownloaded();

    HWND owner_ = nullptr;
    std::wstring versionPageUrl_;
    std::function<std::wstring()> newVersionText_;
    std::string pageBytes_; // the home page as last fetched, raw bytes
    bool stopped_ = false;
};

} // namespace qorvic
