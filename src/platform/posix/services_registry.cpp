// The in-memory registry and INI store.
#include <memory>

#include "platform/exception.h"
#include "platform/posix/standin_state.h"

namespace platform {
namespace {

using standin::detail::Current;
using standin::detail::FoldCase;

// What a RegistryKey's opaque handle points to.
struct OpenKey {
    RootKey Root;
    std::string Path;
};

bool RootRefused(RootKey root) {
    const auto& refused = Current().Refused;
    return root == RootKey::LocalMachine ? refused.LocalMachineKeys : refused.CurrentUserKeys;
}

// Creates the key and its parents, as RegCreateKeyEx does; false where Windows refuses.
bool CreateKey(RootKey root, std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (RootRefused(root) || path.empty() || path.front() == '\\' || path.find("\\\\") != std::string::npos)
        return false;
    auto& registry = Current().Registry;
    for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        const std::string level = path.substr(0, end);
        registry.try_emplace({root, FoldCase(level)}, standin::detail::RegistryKeyData{level, {}});
        if (end == std::string::npos) return true;
    }
}

void SetString(RootKey root, const std::string& path, const std::string& name, const std::string& value) {
    if (Current().Refused.ValueWrites) throw Exception("Failed to set data for '" + name + "'");
    std::string key = path;
    while (!key.empty() && key.back() == '\\') key.pop_back();
    auto& values = Current()
                       .Registry.try_emplace({root, FoldCase(key)}, standin::detail::RegistryKeyData{key, {}})
                       .first->second.Values;
    const auto [entry, added] = values.try_emplace(FoldCase(name), name, value);
    if (!added) entry->second.second = value;
}

}  // namespace

std::optional<RegistryKey> RegistryKey::Create(RootKey root, const std::string& path) {
    if (!CreateKey(root, path)) return std::nullopt;
    return RegistryKey(std::make_unique<OpenKey>(OpenKey{root, path}).release());
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

RegistryKey::~RegistryKey() { std::unique_ptr<OpenKey> closing(static_cast<OpenKey*>(handle_)); }

void RegistryKey::WriteString(const std::string& name, const std::string& value) {
    const auto& key = *static_cast<OpenKey*>(handle_);
    SetString(key.Root, key.Path, name, value);
}

void WriteSectionString(RootKey root, const std::string& section, const std::string& name, const std::string& value) {
    if (!CreateKey(root, section)) throw Exception("Failed to create key " + section);
    SetString(root, section, name, value);
}

void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
    const std::string path = standin::detail::ProfileFilePath(file);
    const auto host = standin::detail::Host(path);
    std::error_code error;
    if (Current().Refused.ProfileWrites || !host || !std::filesystem::is_directory(host->parent_path(), error))
        throw Exception("Unable to write to " + file);
    // An existing entry keeps the spelling it was first written with, as in the file.
    auto& entry = Current()
                      .Profiles
                      .try_emplace(standin::detail::ProfileStoreKey(file, section, key),
                                   standin::ProfileEntry{path, section, key, {}})
                      .first->second;
    entry.Value = value;
}

}  // namespace platform
