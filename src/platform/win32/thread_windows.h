#pragma once
// The program's top-level windows: those of the calling (the one user-interface) thread.
#include <windows.h>

#include <vector>

namespace platform::win32 {

std::vector<HWND> ThreadTopLevelWindows();
// The visible top-level window without an owner: the wizard's main window, or none.
HWND MainWindow();

}  // namespace platform::win32
