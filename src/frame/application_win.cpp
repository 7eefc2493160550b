#include "frame/application_win.h"

#include "frame/frame_window_win.h"

#include <windows.h>

#include <utility>

namespace qorvic {

int RunApplication(int showCommand, FrameWindow::Options options) {
    FrameWindow frame(std::move(options));
    if (!frame.Load(showCommand))
        return 1;
    return RunMessageLoop();
}

int RunMessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace qorvic
