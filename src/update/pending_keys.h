// The names of the downloads in progress: a leading NUL, then each key followed
// by a NUL, so a key is pending exactly when NUL + key + NUL occurs in the list.
#pragma once

#include <string>
#include <string_view>

namespace qorvic {

class PendingKeys {
public:
    // Adds `key`; false, changing nothing, when it is already pending.
    bool AddKey(std::wstring_view key);
    // Removes `key` wherever it stands; nothing happens when it is not pending.
    void RemoveKey(std::wstring_view key);
    bool Contains(std::wstring_view key) const;
    // A key with a NUL in it would split into other keys' entries, so none is accepted.
    static bool IsValidKey(std::wstring_view key);

    // The list as kept, for checks: L"\0" when empty, L"\0" L"1\0" after adding "1".
    const std::wstring& Text() const { return list_; }

private:
    static std::wstring Entry(std::wstring_view key);
    std::wstring list_ = std::wstring(1, L'\0');
};

} // namespace qorvic
