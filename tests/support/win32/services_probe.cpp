// The probe over the system's own interfaces.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "services_probe.h"

#include "platform/win32/handle.h"
#include "platform/win32/system_text.h"

namespace probe {

namespace {
HKEY RootOf(platform::RootKey root) {
    return root == platform::RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
}  // namespace

void ResetServices() {}
std::string HostPath(const std::string& windowsPath) { return windowsPath; }

std::string WindowsDirectory() {
    char buffer[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(buffer, sizeof buffer);
    return buffer;
}

std::optional<std::string> RegistryString(platform::RootKey root, const std::string& key, const std::string& name) {
    platform::win32::RegistryKeyHandle handle;
    if (RegOpenKeyExA(RootOf(root), key.c_str(), 0, KEY_READ, handle.Put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    char value[1024];
    DWORD size = sizeof value;
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size == 0 || value[size - 1] != '\0')
        return std::nullopt;
    return std::string(value, size - 1);
}

void DeleteRegistryTree(platform::RootKey root, const std::string& key) { RegDeleteTreeA(RootOf(root), key.c_str()); }

std::optional<std::string> IniString(const std::string& file, const std::string& section, const std::string& key) {
    const char* const missing = "\x01(missing)";
    char value[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), missing, value, sizeof value, file.c_str());
    if (std::string(value) == missing) return std::nullopt;
    return std::string(value);
}

std::optional<LinkFields> ReadLink(const std::string& linkPath) {
    platform::win32::ComPtr<IShellLinkA> link;
    platform::win32::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return std::nullopt;
    const std::wstring wide(linkPath.begin(), linkPath.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return std::nullopt;
    char target[MAX_PATH + 1] = {}, arguments[MAX_PATH + 1] = {}, directory[MAX_PATH + 1] = {};
    link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, sizeof arguments);
    link->GetWorkingDirectory(directory, sizeof directory);
    return LinkFields{target, arguments, directory};
}

void MakeHiddenFolder(const std::string& parent) {
    const std::string path = parent + (parent.ends_with('\\') ? "" : "\\") + "Hidden";
    CreateDirectoryA(path.c_str(), nullptr);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

std::string SystemText(SystemError error) {
    return platform::win32::SystemMessage(error == SystemError::FileNotFound   ? ERROR_FILE_NOT_FOUND
                                          : error == SystemError::PathNotFound ? ERROR_PATH_NOT_FOUND
                                                                               : ERROR_ALREADY_EXISTS);
}

}  // namespace probe
