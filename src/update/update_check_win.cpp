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
    ucUpdates.updatesReady = [this](const std::wstring& key) { ucUpdates_updatesReady(key); };
    ucUpdates.Create(hwnd(), state_.UpdatePageBytes);
    ucUpdates.DownloadFile(url, UcUpdates::kCacheForceUpdate, L"1");
}

// Only the version after the marker is taken from the page; a newer one opens the prompt.
void FrameWindow::ucUpdates_updatesReady(const std::wstring& /*key*/) {
    const std::optional<PageVersion> offered = ReadPageVersion(state_.UpdatePageBytes);
    if (unloading_ || !offered || !IsNewerVersion(offered->version) || frmUpdate)
        return;
    frmUpdate = std::make_unique<FrmUpdate>();
    if (!frmUpdate->Load(hwnd(), state_.TwipsPerPixelX, state_.TwipsPerPixelY, VersionPageUrl()))
        return;
    frmUpdate->Label1.SetCaption(UpdateMessage(state_.texts.TxtNewVersion, offered->text));
}

} // namespace qorvic
