// The Windows entry point: no arguments are read; the vendor host is fixed per executable.
#include <windows.h>

#include "app/installer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunInstaller(QUORVANE_DOWNLOAD_HOST); }
