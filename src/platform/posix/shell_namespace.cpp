// The shell namespace over the sandbox: folders are the sandbox's directories, hidden
// ones (names starting with ".") left out, sorted by name case-insensitively.
#include <algorithm>
#include <system_error>

#include "platform/posix/standin_state.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using standin::detail::FoldCase;

bool Hidden(const fs::path& entry) { return entry.filename().string().front() == '.'; }

std::vector<fs::path> VisibleSubdirectories(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    fs::directory_iterator entry(folder, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code kind;
        if (entry->is_directory(kind) && !Hidden(entry->path())) found.push_back(entry->path());
    }
    return found;
}

// The shell's view of a folder that exists on disk; path is its Windows path as named on disk.
ShellFolder Describe(const fs::path& host, const std::string& path) {
    const bool root = path.size() == 3;  // "C:\"
    return ShellFolder{root ? path.substr(0, 2) : host.filename().string(), path, !VisibleSubdirectories(host).empty(),
                       false};
}

// The folder's Windows path spelt as on disk, with its place on disk; nothing when absent.
std::optional<std::pair<std::string, fs::path>> Locate(const std::string& path) {
    auto parsed = standin::detail::ParseWindowsPath(path);
    if (!parsed) return std::nullopt;
    const fs::path host = standin::detail::HostLocation(standin::detail::Current().Sandbox, *parsed);
    std::error_code error;
    if (!fs::is_directory(host, error)) return std::nullopt;
    fs::path level = host;
    for (auto name = parsed->Components.rbegin(); name != parsed->Components.rend(); ++name) {
        *name = level.filename().string();
        level = level.parent_path();
    }
    return std::pair{parsed->Text(), host};
}

}  // namespace

std::optional<ShellFolder> ShellResolve(const std::string& path) {
    const auto located = Locate(path);
    if (!located) return std::nullopt;
    return Describe(located->second, located->first);
}

std::vector<ShellFolder> ShellSubfolders(const std::string& path) {
    const auto located = Locate(path);
    if (!located) return {};
    std::vector<fs::path> children = VisibleSubdirectories(located->second);
    std::sort(children.begin(), children.end(), [](const fs::path& a, const fs::path& b) {
        return FoldCase(a.filename().string()) < FoldCase(b.filename().string());
    });
    const std::string prefix = located->first.size() == 3 ? located->first : located->first + "\\";
    std::vector<ShellFolder> folders;
    for (const fs::path& child : children) folders.push_back(Describe(child, prefix + child.filename().string()));
    return folders;
}

std::optional<ShellFolder> ShellRename(const std::string& path, const std::string& newName) {
    const auto located = Locate(path);
    if (!located || located->first.size() == 3 || !standin::detail::ValidName(newName) || newName == "." ||
        newName == "..")
        return std::nullopt;
    const fs::path renamed = located->second.parent_path() / newName;
    std::error_code error;
    // Another entry of that name, whatever its case, is in the way; the folder itself is not.
    fs::directory_iterator entry(renamed.parent_path(), error), end;
    for (; !error && entry != end; entry.increment(error))
        if (entry->path() != located->second && standin::detail::SameName(entry->path().filename().string(), newName))
            return std::nullopt;
    fs::rename(located->second, renamed, error);
    if (error) return std::nullopt;
    const std::string parent = located->first.substr(0, located->first.find_last_of('\\'));
    return ShellResolve(parent + "\\" + newName);
}

}  // namespace platform
