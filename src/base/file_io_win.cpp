#include "base/file_io_win.h"

#include "base/debug_log_win.h"
#include "base/handles_win.h"

#include <windows.h>

#include <atomic>

namespace qorvic {

std::optional<std::string> ReadFileBytes(const std::wstring& path, std::size_t maxBytes) {
    KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        DebugLogLastError(L"cannot open " + path);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) {
            DebugLogLastError(L"cannot read " + path);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    return bytes;
}

std::wstring ModulePath() {
    // Long paths do not fit MAX_PATH; the call cuts the name and says so only by filling the
    // buffer.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring TemporarySibling(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    for (;;) {
        const std::wstring candidate = folder + L"~qv" + std::to_wstring(::GetCurrentProcessId()) +
                                       L"_" + std::to_wstring(counter++) + L".tmp";
        if (!PathExists(candidate))
            return candidate;
    }
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
    // A read-only file is never replaced. Windows refuses to rename onto one,
    // Wine does not; asking first gives the same result on both.
    const DWORD existing = ::GetFileAttributesW(path.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
        DebugLog(L"not replacing read-only " + path);
        return false;
    }
    const std::wstring temp = TemporarySibling(path);
    {
        KernelHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            DebugLogLastError(L"cannot create " + temp + L" to write " + path);
            return false;
        }
        std::size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            ok = ::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) &&
                 written == chunk;
            done += written;
        }
        ok = ok && ::FlushFileBuffers(file.get());
        if (!ok) {
            DebugLogLastError(L"cannot write " + temp + L" for " + path);
            file.reset();
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DebugLogLastError(L"cannot rename " + temp + L" to " + path);
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty())
        return {};
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

} // namespace qorvic
