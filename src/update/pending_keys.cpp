#include "update/pending_keys.h"

namespace qorvic {

std::wstring PendingKeys::Entry(std::wstring_view key) {
    std::wstring entry(1, L'\0');
    entry.append(key);
    entry.push_back(L'\0');
    return entry;
}

bool PendingKeys::IsValidKey(std::wstring_view key) {
    return key.find(L'\0') == std::wstring_view::npos;
}

bool PendingKeys::Contains(std::wstring_view key) const {
    return IsValidKey(key) && list_.find(Entry(key)) != std::wstring::npos;
}

bool PendingKeys::AddKey(std::wstring_view key) {
    if (!IsValidKey(key) || Contains(key))
        return false;
    list_.append(key);
    list_.push_back(L'\0');
    return true;
}

void PendingKeys::RemoveKey(std::wstring_view key) {
    if (!IsValidKey(key))
        return;
    const std::wstring entry = Entry(key);
    // Entries share their NULs, so one removal can reveal another; repeat until none is left.
    for (std::size_t at = list_.find(entry); at != std::wstring::npos; at = list_.find(entry))
        list_.replace(at, entry.size(), 1, L'\0');
}

} // namespace qorvic
