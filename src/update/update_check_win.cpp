#include "update/update_check_win.h"

#include "base/dpi.h"
#include "base/window_win.h"
#include "update/update_prompt_layout.h"
#include "update/version_page.h"

namespace qorvic {

void UpdateCheck::Start(HWND owner, const std::wstring& homePageUrl,
                        const std::wstring& versionPageUrl,
                        std::function<std::wstring()> newVersionText) {
    if (homePageUrl.empty())
        return;
    owner_ = owner;
    versionPageUrl_ = versionPageUrl;
    newVersionText_ = std::move(newVersionText);
    pageDownloader.onPageReady = [this](const std::wstring&) { OnPageDownloaded(); };
    pageDownloader.Create(owner, pageBytes_);
    // Forced: a stale copy in the system's cache must not answer for the page.
    pageDownloader.DownloadFile(homePageUrl, PageDownloader::kCacheForceUpdate, L"1");
}

// Only the version after the marker is taken from the page; a newer one opens the prompt.
void UpdateCheck::OnPageDownloaded() {
    const std::optional<PageVersion> offered = ReadPageVersion(pageBytes_);
    if (stopped_ || !offered || !IsNewerVersion(offered->version) || prompt)
        return;
    prompt = std::make_unique<UpdatePrompt>();
    const std::int16_t twips = TwipsPerPixelForDpi(Window::DpiOf(owner_));
    if (!prompt->Load(owner_, twips, twips, versionPageUrl_))
        return;
    prompt->messageLabel.SetCaption(
        UpdateMessage(newVersionText_ ? newVersionText_() : std::wstring(), offered->text));
}

} // namespace qorvic
