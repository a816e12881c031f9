// Special folders, the temporary directory, copies, directories and existence tests.
#include <windows.h>
#include <shlobj.h>

#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_text.h"

namespace platform {

std::string SpecialFolderPath(SpecialFolder folder) {
    win32::ItemList list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, static_cast<int>(folder), list.Put())) || !list) return {};
    char path[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListA(list.Get(), path)) return {};
    return path;
}

std::string TempPath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, path);
    // A longer path is not written to the buffer at all; the length then counts what it would need.
    if (length == 0 || length > MAX_PATH) return {};
    return std::string(path, length);
}

bool CopyFileOverwrite(const std::string& source, const std::string& target) {
    if (CopyFileA(source.c_str(), target.c_str(), FALSE)) return true;
    win32::RememberLastError();
    return false;
}

bool MoveFileOverwrite(const std::string& source, const std::string& target) {
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    win32::RememberLastError();
    return false;
}

bool RemoveFile(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    win32::RememberLastError();
    return false;
}

bool MakeDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    win32::RememberLastError();
    return false;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    win32::FindHandle find(FindFirstFileA(path.c_str(), &found));
    return find && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

}  // namespace platform
