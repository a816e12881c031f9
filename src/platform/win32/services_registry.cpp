// Registry and profile (INI) writes.
#include <windows.h>

#include "platform/exception.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

using win32::Widen;

HKEY RootHandle(RootKey root) { return root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

win32::RegistryKeyHandle CreateKey(RootKey root, const std::string& path) {
    win32::RegistryKeyHandle key;
    if (RegCreateKeyExW(RootHandle(root), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        key.Reset();
    return key;
}

// REG_SZ with the terminating zero counted, in bytes of UTF-16.
bool SetString(HKEY key, const std::string& name, const std::string& value) {
    const std::wstring data = Widen(value);
    return RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

std::optional<RegistryKey> RegistryKey::Create(RootKey root, const std::string& path) {
    win32::RegistryKeyHandle key = CreateKey(root, path);
    if (!key) return std::nullopt;
    return RegistryKey(key.Release());
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

RegistryKey::~RegistryKey() { win32::RegistryKeyHandle closing(static_cast<HKEY>(handle_)); }

void RegistryKey::WriteString(const std::string& name, const std::string& value) {
    if (!SetString(static_cast<HKEY>(handle_), name, value)) throw Exception("Failed to set data for '" + name + "'");
}

void WriteSectionString(RootKey root, const std::string& section, const std::string& name, const std::string& value) {
    if (!CreateKey(root, section)) throw Exception("Failed to create key " + section);
    win32::RegistryKeyHandle key;
    if (RegOpenKeyExW(RootHandle(root), Widen(section).c_str(), 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return;
    if (!SetString(key.Get(), name, value)) throw Exception("Failed to set data for '" + name + "'");
}

void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
    const std::wstring path = Widen(file);
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(), path.c_str()))
        throw Exception("Unable to write to " + file);
    // The flush reports nothing useful: the write above already said whether it worked.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

}  // namespace platform
