// Qorvic's entry point: the program takes no command line; everything starts in FrameWindow.
#include <windows.h>

#include "frame/application_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    return qorvic::RunApplication(showCommand);
}
