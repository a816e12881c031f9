// The probe over the stand-in's own records.
#include "services_probe.h"

#include <algorithm>
#include <vector>

#include "platform/posix/standin.h"

namespace probe {

namespace standin = platform::standin;

void ResetServices() { standin::Reset(); }
std::string HostPath(const std::string& windowsPath) { return standin::HostPath(windowsPath); }
std::string WindowsDirectory() { return "C:\\Windows"; }

std::optional<std::string> RegistryString(platform::RootKey root, const std::string& key, const std::string& name) {
    return standin::ReadRegistry(root, key, name);
}

void DeleteRegistryTree(platform::RootKey, const std::string&) {}  // gone with the next reset

std::optional<std::string> IniString(const std::string& file, const std::string& section, const std::string& key) {
    return standin::ReadProfile(file, section, key);
}

bool RemovalAtRestartPending(const std::string& windowsPath) {
    const std::vector<std::string> pending = standin::FilesRemovedAtRestart();
    return std::find(pending.begin(), pending.end(), windowsPath) != pending.end();
}

std::optional<LinkFields> ReadLink(const std::string& linkPath) {
    const auto link = standin::ReadLink(linkPath);
    if (!link) return std::nullopt;
    return LinkFields{link->Target, link->Arguments, link->WorkingDirectory};
}

void MakeHiddenFolder(const std::string& parent) {
    platform::MakeDirectory(parent + (parent.ends_with('\\') ? "" : "\\") + ".hidden");
}

std::string SystemText(SystemError error) {
    switch (error) {
        case SystemError::FileNotFound:
            return "The system cannot find the file specified.";
        case SystemError::PathNotFound:
            return "The system cannot find the path specified.";
        case SystemError::AlreadyExists:
            return "Cannot create a file when that file already exists.";
    }
    return {};
}

}  // namespace probe
