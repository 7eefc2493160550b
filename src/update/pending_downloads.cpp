#include "update/pending_downloads.h"

#include <algorithm>

namespace qorvic {

bool PendingDownloads::IsValidKey(std::wstring_view key) {
    return key.find(L'\0') == std::wstring_view::npos;
}

bool PendingDownloads::Contains(std::wstring_view key) const {
    return IsValidKey(key) && std::find(keys_.begin(), keys_.end(), key) != keys_.end();
}

bool PendingDownloads::AddKey(std::wstring_view key) {
    if (!IsValidKey(key) || Contains(key))
        return false;
    keys_.emplace_back(key);
    return true;
}

void PendingDownloads::RemoveKey(std::wstring_view key) {
    std::erase(keys_, key);
}

} // namespace qorvic
