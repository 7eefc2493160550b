// Qorvic's entry point: the program takes no command line; everything starts in Form1.
#include <windows.h>

#include "mainwindow/application_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    return qorvic::RunApplication(showCommand);
}
