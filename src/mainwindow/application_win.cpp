#include "mainwindow/application_win.h"

#include <windows.h>

namespace qorvic {

int RunApplication(int showCommand) {
    (void)showCommand;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace qorvic
