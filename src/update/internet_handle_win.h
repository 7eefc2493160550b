// Owner of a WinINet handle. It lives apart from base/handles_win.h because
// <wininet.h> cannot share a file with <winhttp.h>, and most files need neither.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <type_traits>

namespace qorvic {

struct InternetHandleDeleter {
    void operator()(HINTERNET handle) const { ::InternetCloseHandle(handle); }
};
// A session, connection or request handle, closed on scope exit.
using InternetHandle = std::unique_ptr<std::remove_pointer_t<HINTERNET>, InternetHandleDeleter>;

} // namespace qorvic
