// Special folders, the temporary directory, copies, directories and existence tests.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/system_text.h"
#include "platform/win32/wide_text.h"

namespace platform {

using win32::Widen;

std::string SpecialFolderPath(SpecialFolder folder) {
    win32::ItemList list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, static_cast<int>(folder), list.Put())) || !list) return {};
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(list.Get(), path)) return {};
    return win32::Narrow(path);
}

std::string TempPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, path);
    // A longer path is not written to the buffer at all; the length then counts what it would need.
    if (length == 0 || length > MAX_PATH) return {};
    return win32::Narrow(std::wstring_view(path, length));
}

bool CopyFileOverwrite(const std::string& source, const std::string& target) {
    if (CopyFileW(Widen(source).c_str(), Widen(target).c_str(), FALSE)) return true;
    win32::RememberLastError();
    return false;
}

bool MoveFileOverwrite(const std::string& source, const std::string& target) {
    if (MoveFileExW(Widen(source).c_str(), Widen(target).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    win32::RememberLastError();
    return false;
}

bool RemoveFile(const std::string& path) {
    if (DeleteFileW(Widen(path).c_str())) return true;
    win32::RememberLastError();
    return false;
}

bool RemoveFileAtRestart(const std::string& path) {
    if (MoveFileExW(Widen(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return true;
    win32::RememberLastError();
    return false;
}

bool MakeDirectory(const std::string& path) {
    if (CreateDirectoryW(Widen(path).c_str(), nullptr)) return true;
    win32::RememberLastError();
    return false;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

HANDLE SystemHandle(std::FILE* file) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))); }

}  // namespace

bool ReserveFileSpace(std::FILE* file, std::int64_t size) {
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = size;
    return SetFileInformationByHandle(SystemHandle(file), FileAllocationInfo, &allocation, sizeof allocation) != 0;
}

// An allocation cut to the file's end frees what lies beyond it.
bool ReleaseFileSpace(std::FILE* file) {
    LARGE_INTEGER size{};
    return GetFileSizeEx(SystemHandle(file), &size) != 0 && ReserveFileSpace(file, size.QuadPart);
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAW found;
    win32::FindHandle find(FindFirstFileW(Widen(path).c_str(), &found));
    return find && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// fopen would read the path in the system's code page.
std::FILE* OpenFile(const std::string& path, const char* mode) {
    const std::wstring widePath = Widen(path);
    if (std::string_view(mode) != "wb") return _wfopen(widePath.c_str(), Widen(mode).c_str());
    // Wine replaces a file by opening it and then cutting it to zero length, even a file it
    // has just made, and Linux writes a file that was cut back to disk as it is closed: a
    // download's last block would wait tens of milliseconds for it. A new file is made as
    // new; only an existing one is replaced.
    const auto create = [&](DWORD disposition) {
        return win32::FileHandle(CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    win32::FileHandle file = create(CREATE_NEW);
    if (!file && GetLastError() == ERROR_FILE_EXISTS) file = create(CREATE_ALWAYS);
    if (!file) return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(file.Get()), _O_WRONLY | _O_BINARY);
    if (descriptor == -1) return nullptr;
    file.Release();  // the descriptor owns it now
    std::FILE* stream = _fdopen(descriptor, "wb");
    if (!stream) _close(descriptor);
    return stream;
}

}  // namespace platform
