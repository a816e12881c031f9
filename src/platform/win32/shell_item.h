#pragma once
// A folder of the shell namespace found by its path: the folder that holds it and the
// item relative to that folder, as the shell's per-item calls want them.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/handle.h"

namespace platform::win32 {

struct ShellItem {
    ItemList item;  // what child points into
    ComPtr<IShellFolder> parent;
    LPCITEMIDLIST child = nullptr;
};

// No parent when the shell does not know the path.
ShellItem LocateShellItem(const std::string& path);

}  // namespace platform::win32
