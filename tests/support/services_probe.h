#pragma once
// What the services tests need of each side beside the services themselves: a fresh
// state, where a Windows path lives on disk, and what the services stored, read back.
// posix/ reads the stand-in's stores; win32/ asks the system.
#include <optional>
#include <ostream>
#include <string>

#include "platform/services.h"

namespace probe {

void ResetServices();  // the stand-in starts afresh; Windows keeps its state
std::string HostPath(const std::string& windowsPath);
std::string WindowsDirectory();  // no trailing backslash

// A REG_SZ value with its terminating zero, without the zero; nothing for any other.
std::optional<std::string> RegistryString(platform::RootKey root, const std::string& key, const std::string& name);
void DeleteRegistryTree(platform::RootKey root, const std::string& key);
std::optional<std::string> IniString(const std::string& file, const std::string& section, const std::string& key);
// Whether the file is noted for removal when the system next starts.
bool RemovalAtRestartPending(const std::string& windowsPath);

struct LinkFields {
    std::string Target, Arguments, WorkingDirectory;
    bool operator==(const LinkFields&) const = default;
};
// For a failure's report.
inline void PrintTo(const LinkFields& link, std::ostream* out) {
    *out << "{'" << link.Target << "', '" << link.Arguments << "', '" << link.WorkingDirectory << "'}";
}
std::optional<LinkFields> ReadLink(const std::string& linkPath);

// A folder the shell namespace leaves out, made in the folder given.
void MakeHiddenFolder(const std::string& parent);

enum class SystemError { FileNotFound, PathNotFound, AlreadyExists };
std::string SystemText(SystemError error);  // as SystemErrorText gives it

}  // namespace probe
