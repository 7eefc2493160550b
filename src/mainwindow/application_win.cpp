#include "mainwindow/application_win.h"

#include "mainwindow/form1_win.h"

#include <windows.h>

namespace qorvic {

int RunApplication(int showCommand) {
    Form1 form;
    if (!form.Load(showCommand))
        return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace qorvic
