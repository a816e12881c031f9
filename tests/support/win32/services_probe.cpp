// The probe over the system's own interfaces.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "services_probe.h"

#include "platform/win32/handle.h"
#include "platform/win32/system_text.h"
#include "platform/win32/wide_text.h"

namespace probe {

namespace {
using platform::win32::Narrow;
using platform::win32::Widen;

HKEY RootOf(platform::RootKey root) {
    return root == platform::RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
}  // namespace

void ResetServices() {}
std::string HostPath(const std::string& windowsPath) { return windowsPath; }

std::string WindowsDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return Narrow(buffer);
}

std::optional<std::string> RegistryString(platform::RootKey root, const std::string& key, const std::string& name) {
    platform::win32::RegistryKeyHandle handle;
    if (RegOpenKeyExW(RootOf(root), Widen(key).c_str(), 0, KEY_READ, handle.Put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    wchar_t value[1024];
    DWORD size = sizeof value;
    // The size is in bytes and counts the terminating zero.
    if (RegQueryValueExW(handle.Get(), Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0 ||
        value[size / sizeof(wchar_t) - 1] != L'\0')
        return std::nullopt;
    return Narrow(std::wstring_view(value, size / sizeof(wchar_t) - 1));
}

void DeleteRegistryTree(platform::RootKey root, const std::string& key) {
    RegDeleteTreeW(RootOf(root), Widen(key).c_str());
}

// The system's list holds pairs of NT paths, each file and where it goes; nowhere, for a
// removal.
bool RemovalAtRestartPending(const std::string& windowsPath) {
    platform::win32::RegistryKeyHandle handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                      handle.Put()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(handle.Get(), L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    std::wstring list(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(handle.Get(), L"PendingFileRenameOperations", nullptr, &type,
                         reinterpret_cast<BYTE*>(list.data()), &size) != ERROR_SUCCESS)
        return false;
    const std::wstring wanted = L"\\??\\" + Widen(windowsPath);
    for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
        const std::wstring file(list.c_str() + at);
        at += file.size() + 1;
        const std::wstring destination(list.c_str() + at);  // at most at the string's own end
        at += destination.size() + 1;
        if (destination.empty() && CompareStringOrdinal(file.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

std::optional<std::string> IniString(const std::string& file, const std::string& section, const std::string& key) {
    const wchar_t* const missing = L"\x01(missing)";
    wchar_t value[1024];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), missing, value, 1024, Widen(file).c_str());
    if (std::wstring_view(value) == missing) return std::nullopt;
    return Narrow(value);
}

std::optional<LinkFields> ReadLink(const std::string& linkPath) {
    platform::win32::ComPtr<IShellLinkW> link;
    platform::win32::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return std::nullopt;
    if (FAILED(file->Load(Widen(linkPath).c_str(), STGM_READ))) return std::nullopt;
    wchar_t target[MAX_PATH + 1] = {}, arguments[MAX_PATH + 1] = {}, directory[MAX_PATH + 1] = {};
    link->GetPath(target, MAX_PATH + 1, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, MAX_PATH + 1);
    link->GetWorkingDirectory(directory, MAX_PATH + 1);
    return LinkFields{Narrow(target), Narrow(arguments), Narrow(directory)};
}

void MakeHiddenFolder(const std::string& parent) {
    const std::string path = parent + (parent.ends_with('\\') ? "" : "\\") + "Hidden";
    CreateDirectoryW(Widen(path).c_str(), nullptr);
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

std::string SystemText(SystemError error) {
    return platform::win32::SystemMessage(error == SystemError::FileNotFound   ? ERROR_FILE_NOT_FOUND
                                          : error == SystemError::PathNotFound ? ERROR_PATH_NOT_FOUND
                                                                               : ERROR_ALREADY_EXISTS);
}

}  // namespace probe
