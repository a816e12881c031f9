#pragma once
// Windows paths and names as the stand-in sees them.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::standin::detail {

// Upper and lower case made equal (UTF-8), for Windows' case-insensitive names.
std::string FoldCase(std::string_view text);
bool SameName(std::string_view a, std::string_view b);

struct WindowsPath {
    char Drive;                           // lower case
    std::vector<std::string> Components;  // no empty, "." or ".." entries
    std::string Text() const;             // "C:\A\B", or "C:\" for the root
};
// Empty for anything but a drive-absolute path with valid names (well-formed UTF-8, no
// control or reserved character).
std::optional<WindowsPath> ParseWindowsPath(const std::string& text);
bool ValidName(std::string_view name);

// The place on disk under the sandbox, following existing names case-insensitively.
std::filesystem::path HostLocation(const std::filesystem::path& sandbox, const WindowsPath& path);

}  // namespace platform::standin::detail
