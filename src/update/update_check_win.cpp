// FrameWindow's side of the update check: the start at the end of start-up, and the
// comparison when the home page has arrived.
#include "frame/frame_window_win.h"

#include "update/update_prompt_layout.h"
#include "update/version_page.h"

#include <wininet.h>

namespace qorvic {

std::wstring FrameWindow::HomePageUrl() const {
    return options_.homePageUrl.value_or(L"" QORVIC_HOME_URL);
}

std::wstring FrameWindow::VersionPageUrl() const {
    return options_.versionPageUrl.value_or(L"" QORVIC_VERSION_PAGE_URL);
}

void FrameWindow::StartUpdateCheck() {
    const std::wstring url = HomePageUrl();
    if (url.empty())
        return;
    // A stale copy in the system's cache must not answer for the page.
    ::DeleteUrlCacheEntryW(url.c_str());
    pageDownloader.onPageReady = [this](const std::wstring& key) { OnPageDownloaded(key); };
    pageDownloader.Create(hwnd(), state_.UpdatePageBytes);
    pageDownloader.DownloadFile(url, PageDownloader::kCacheForceUpdate, L"1");
}

// Only the version after the marker is taken from the page; a newer one opens the prompt.
void FrameWindow::OnPageDownloaded(const std::wstring& /*key*/) {
    const std::optional<PageVersion> offered = ReadPageVersion(state_.UpdatePageBytes);
    if (unloading_ || !offered || !IsNewerVersion(offered->version) || updatePrompt)
        return;
    updatePrompt = std::make_unique<UpdatePrompt>();
    if (!updatePrompt->Load(hwnd(), state_.TwipsPerPixelX, state_.TwipsPerPixelY, VersionPageUrl()))
        return;
    updatePrompt->messageLabel.SetCaption(UpdateMessage(state_.texts.TxtNewVersion, offered->text));
}

} // namespace qorvic
