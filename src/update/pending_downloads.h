// The names (keys) of the downloads in progress, each listed once, in the
// order they were started.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorvic {

class PendingDownloads {
public:
    // Adds `key`; false, changing nothing, when it is already pending.
    bool AddKey(std::wstring_view key);
    // Removes `key`; nothing happens when it is not pending.
    void RemoveKey(std::wstring_view key);
    bool Contains(std::wstring_view key) const;
    // A key with a NUL in it is never pending: the downloader fails its read at once.
    static bool IsValidKey(std::wstring_view key);

    const std::vector<std::wstring>& Keys() const { return keys_; }

private:
    std::vector<std::wstring> keys_;
};

} // namespace qorvic
