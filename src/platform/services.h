#pragma once
// The Windows services the wizard calls: registry, INI, shell links, special folders,
// files, shell execution, message boxes, locale, COM and the shell namespace behind the
// folder tree. win32/ makes the real calls; posix/ is an inspectable stand-in.
// Texts and paths are UTF-8; win32/ hands them to the system's UTF-16 calls.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace platform {
// Names avoid the system's A/W macros (CreateDirectory, MessageBox, ShellExecute, WriteProfileString).

enum class RootKey { LocalMachine, CurrentUser };

// A registry key opened (created when missing) with full access; closed on destruction.
class RegistryKey {
public:
    // Empty when the key can be neither opened nor created.
    static std::optional<RegistryKey> Create(RootKey root, const std::string& path);
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // REG_SZ with its terminating zero; raises "Failed to set data for '%s'" (value name).
    void WriteString(const std::string& name, const std::string& value);

private:
    explicit RegistryKey(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};

// Creates the section key (raises "Failed to create key %s"), reopens it and writes the
// value; a key that cannot be reopened is skipped silently.
void WriteSectionString(RootKey root, const std::string& section, const std::string& name, const std::string& value);

// A bare file name lives in the Windows directory; raises "Unable to write to %s".
void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);

// Creates a shell link object, sets arguments, target and working directory, and saves
// it to linkPath. A link object that cannot be created raises the system's message for
// the code, "OLE error %.8X" or "Interface not supported". Returns whether the save
// succeeded; SystemErrorText then tells why not.
bool CreateShellLink(const std::string& target, const std::string& arguments, const std::string& workingDirectory,
                     const std::string& linkPath);

enum class SpecialFolder { Programs = 2, DesktopDirectory = 16 };
std::string SpecialFolderPath(SpecialFolder folder);  // empty on failure
std::string TempPath();                               // ends in a backslash; at most 260 characters, else empty

bool CopyFileOverwrite(const std::string& source, const std::string& target);
// Renames a file within its volume, replacing an existing target.
bool MoveFileOverwrite(const std::string& source, const std::string& target);
bool RemoveFile(const std::string& path);
// Has Windows remove the file when it next starts: for one still in use (a program that is
// running) that cannot go now. Needs the rights of an administrator.
bool RemoveFileAtRestart(const std::string& path);
// fopen for a Windows path (the stand-in maps it into its sandbox; other paths pass as
// they are); null when it cannot be opened.
std::FILE* OpenFile(const std::string& path, const char* mode);
// Room on disk for a file written with OpenFile's "wb" to grow to `size` bytes, taken ahead
// of its writes; its size stays as written. False where the system does not offer it.
bool ReserveFileSpace(std::FILE* file, std::int64_t size);
// Gives back the room reserved beyond the file's end.
bool ReleaseFileSpace(std::FILE* file);
bool MakeDirectory(const std::string& path);  // one level
bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);  // a file, not a directory
// The system's text for the last failure of CopyFileOverwrite, MoveFileOverwrite,
// RemoveFile, RemoveFileAtRestart, MakeDirectory or the save of CreateShellLink, e.g.
// "Access is denied."; callers name the file themselves.
std::string SystemErrorText();

// MainWindow is the program's visible top-level window without an owner.
enum class ShellOwner { None, MainWindow, Desktop };
enum class ShowCommand { Normal = 1, Maximized = 3 };
struct ShellExecuteCall {
    ShellOwner owner = ShellOwner::None;
    std::optional<std::string> verb, file, parameters, directory;  // nullopt is NULL
    ShowCommand show = ShowCommand::Normal;
    bool operator==(const ShellExecuteCall&) const = default;
};
void ExecuteShell(const ShellExecuteCall& call);

// Modal message box owned by the main window; every other window of the program is
// disabled while it is up, and each window's enabled state, the active window and the
// focus are put back afterwards.
// The values are the system's style flags and button identifiers.
enum class MessageBoxKind : unsigned { Error = 16, YesNoQuestion = 36, YesNoExclamation = 52 };
enum class MessageBoxAnswer : int { Ok = 1, Yes = 6, No = 7 };
MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind);

int PrimaryLanguage();     // of the thread locale: 12 French, 9 English, 9 for 0
char DecimalSeparator();   // of the user's locale settings
std::string ModuleName();  // file name of the running program

// COM on the calling thread for the life of the object, uninitialised only when the
// initialisation succeeded.
class ComScope {
public:
    ComScope();
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Initialized() const { return initialized_; }

private:
    bool initialized_ = false;
};

// The shell namespace, as the folder tree sees it.
struct ShellFolder {
    std::string DisplayName;  // the name shown inside its parent folder
    std::string Path;         // the file-system parsing path, no trailing backslash but a drive root's
    bool HasSubfolders = false;
    bool Shared = false;
};
std::optional<ShellFolder> ShellResolve(const std::string& path);
// Folders only, hidden ones left out, in the shell's order; empty when it refuses to list.
std::vector<ShellFolder> ShellSubfolders(const std::string& path);
// Renames the folder through the shell; the new entry, or nothing when the shell refuses.
std::optional<ShellFolder> ShellRename(const std::string& path, const std::string& newName);

}  // namespace platform
