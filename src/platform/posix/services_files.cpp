// Special folders, the temporary directory, files and directories under the sandbox, and
// shell links kept in memory (each also saved as a small file where Windows puts it).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <system_error>

#include "platform/exception.h"
#include "platform/posix/standin_state.h"

namespace platform {
namespace {

using standin::detail::Current;
using standin::detail::Host;
using standin::detail::RememberFailure;

constexpr const char* FileNotFound = "The system cannot find the file specified.";
constexpr const char* PathNotFound = "The system cannot find the path specified.";
constexpr const char* BadSyntax = "The filename, directory name, or volume label syntax is incorrect.";

// The system's wording for the failures a caller can meet here.
std::string WindowsWording(const std::error_code& error) {
    switch (error.value()) {
        case ENOENT:
            return PathNotFound;
        case EEXIST:
            return "Cannot create a file when that file already exists.";
        case EACCES:
        case EPERM:
        case EISDIR:
            return standin::detail::AccessDenied;
        case ENOTDIR:
            return "The directory name is invalid.";
        default:
            return error.message();
    }
}

bool Fail(std::string text) {
    RememberFailure(std::move(text));
    return false;
}

bool Held(const std::filesystem::path& host) {
    const auto& held = Current().Held;
    return std::find(held.begin(), held.end(), host) != held.end();
}

constexpr const char* InUse = "The process cannot access the file because it is being used by another process.";

// Why a source file cannot be taken: missing, or in a folder that is missing.
bool FailMissing(const std::filesystem::path& host) {
    std::error_code error;
    return Fail(std::filesystem::is_directory(host.parent_path(), error) ? FileNotFound : PathNotFound);
}

// Where an existing file lives on disk; nothing, with the reason remembered, otherwise.
std::optional<std::filesystem::path> ExistingFile(const std::string& path) {
    const auto host = Host(path);
    if (!host) return Fail(BadSyntax), std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*host, error)) return FailMissing(*host), std::nullopt;
    return host;
}

struct Transfer {
    std::filesystem::path From, To;
};

// Where a copy or a move reads and writes; nothing, with the reason remembered, when the
// system would refuse to start it.
std::optional<Transfer> StartTransfer(const std::string& source, const std::string& target) {
    const auto from = Host(source), to = Host(target);
    if (!from || !to) return Fail(BadSyntax), std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*from, error)) return FailMissing(*from), std::nullopt;
    if (std::filesystem::is_directory(*to, error)) return Fail(standin::detail::AccessDenied), std::nullopt;
    if (Held(*from) || Held(*to)) return Fail(InUse), std::nullopt;
    return Transfer{*from, *to};
}

}  // namespace

bool CreateShellLink(const std::string& target, const std::string& arguments, const std::string& workingDirectory,
                     const std::string& linkPath) {
    if (Current().Refused.LinkObjects) throw Exception("Interface not supported");
    if (Current().Refused.LinkSaves) return Fail(standin::detail::AccessDenied);
    const auto parsed = standin::detail::ParseWindowsPath(linkPath);
    if (!parsed || parsed->Components.empty()) return Fail(BadSyntax);
    const auto host = standin::detail::HostLocation(Current().Sandbox, *parsed);
    std::error_code error;
    if (!std::filesystem::is_directory(host.parent_path(), error)) return Fail(PathNotFound);
    if (std::filesystem::is_directory(host, error)) return Fail(standin::detail::AccessDenied);
    std::ofstream file(host, std::ios::binary | std::ios::trunc);
    if (!(file << "[stand-in link]\n" << target << '\n')) return Fail(standin::detail::AccessDenied);

    const standin::SavedLink link{parsed->Text(), target, arguments, workingDirectory};
    auto& links = Current().SavedLinks;
    const auto same = std::find_if(links.begin(), links.end(), [&](const standin::SavedLink& saved) {
        return standin::detail::SameName(saved.Path, link.Path);
    });
    if (same == links.end())
        links.push_back(link);
    else  // the file keeps the name it was first saved under
        *same = {same->Path, target, arguments, workingDirectory};
    return true;
}

std::string SpecialFolderPath(SpecialFolder folder) {
    return folder == SpecialFolder::Programs ? Current().Programs : Current().Desktop;
}

std::string TempPath() { return Current().Temp; }

bool CopyFileOverwrite(const std::string& source, const std::string& target) {
    if (Current().Refused.Copies) return Fail(standin::detail::AccessDenied);
    const auto transfer = StartTransfer(source, target);
    if (!transfer) return false;
    int& copiesLeft = Current().Refused.CopiesBeforeDiskFull;
    if (copiesLeft == 0) return Fail("There is not enough space on the disk.");
    std::error_code error;
    if (!std::filesystem::copy_file(transfer->From, transfer->To, std::filesystem::copy_options::overwrite_existing,
                                    error))
        return Fail(WindowsWording(error));
    if (copiesLeft > 0) --copiesLeft;
    return true;
}

bool MoveFileOverwrite(const std::string& source, const std::string& target) {
    const auto transfer = StartTransfer(source, target);
    if (!transfer) return false;
    std::error_code error;
    std::filesystem::rename(transfer->From, transfer->To, error);
    return error ? Fail(WindowsWording(error)) : true;
}

bool RemoveFile(const std::string& path) {
    const auto host = ExistingFile(path);
    if (!host) return false;
    if (Held(*host)) return Fail(InUse);
    if (Current().Refused.Removals) return Fail(standin::detail::AccessDenied);
    std::error_code error;
    std::filesystem::remove(*host, error);
    return error ? Fail(WindowsWording(error)) : true;
}

bool RemoveFileAtRestart(const std::string& path) {
    if (!ExistingFile(path)) return false;
    Current().RemovedAtRestart.push_back(path);
    return true;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    // Paths of the host's own (the transport tests' files) are taken as they are.
    const bool windowsPath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    if (!windowsPath) return std::fopen(path.c_str(), mode);
    const auto host = Host(path);
    return host ? std::fopen(host->c_str(), mode) : nullptr;
}

bool ReserveFileSpace(std::FILE* file, std::int64_t size) {
    return fallocate(fileno(file), FALLOC_FL_KEEP_SIZE, 0, size) == 0;
}

bool ReleaseFileSpace(std::FILE* file) {
    struct stat status {};
    return fstat(fileno(file), &status) == 0 && ftruncate(fileno(file), status.st_size) == 0;
}

bool MakeDirectory(const std::string& path) {
    if (Current().Refused.DirectoryCreation) return Fail(standin::detail::AccessDenied);
    const auto host = Host(path);
    if (!host) return Fail(BadSyntax);
    std::error_code error;
    if (std::filesystem::exists(*host, error)) return Fail("Cannot create a file when that file already exists.");
    if (!std::filesystem::create_directory(*host, error)) return Fail(WindowsWording(error));
    return true;
}

bool DirectoryExists(const std::string& path) {
    const auto host = Host(path);
    std::error_code error;
    return host && std::filesystem::is_directory(*host, error);
}

bool FileExists(const std::string& path) {
    const auto host = Host(path);
    std::error_code error;
    return host && std::filesystem::is_regular_file(*host, error);
}

std::string SystemErrorText() { return Current().LastFailure; }

}  // namespace platform
