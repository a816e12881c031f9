#pragma once
// The native build's stand-in for the Windows services (platform/services.h), and what
// tests use to set it up and read back its effects. Nothing here touches a real registry
// or shell: the registry, INI files and shell links live in memory, Windows paths live
// under a sandbox folder on disk ("C:\X\Y" is <sandbox>/c/X/Y) so directories and copies
// are real files, message boxes are answered from a script and recorded, and shell
// executions are recorded. Names compare case-insensitively, as on Windows.
//
// Call Reset() at the start of every test. Until the first Reset() the stand-in is in its
// reset state already.
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform::standin {

// Forgets every store, record, script and refusal, and makes a fresh sandbox (the previous
// one is deleted) holding C:\Program Files, C:\Windows, C:\Temp\ and the two special
// folders C:\Users\Standin\Start Menu\Programs and C:\Users\Standin\Desktop. Primary
// language 9 (English), decimal separator '.', TempPath() "C:\Temp\".
void Reset();

// --- Paths
std::string SandboxRoot();
// Where a Windows path lives on disk. Existing names are matched case-insensitively;
// doubled backslashes, "." and ".." are resolved as Windows does. Empty for a path that
// is not drive-absolute ("X:\...") or holds a character Windows refuses in names.
std::string HostPath(const std::string& windowsPath);

// --- What the services wrote
struct RegistryValue {
    RootKey Root;
    std::string Key, Name, Value;  // key and name spelt as first written
    bool operator==(const RegistryValue&) const = default;
};
std::vector<RegistryValue> RegistryValues();  // every value, by root, key and name
std::optional<std::string> ReadRegistry(RootKey root, const std::string& key, const std::string& name);
bool RegistryKeyExists(RootKey root, const std::string& key);  // also true for the parents of a created key

struct ProfileEntry {
    std::string File;  // full path: a bare file name is placed in C:\Windows
    std::string Section, Key, Value;
    bool operator==(const ProfileEntry&) const = default;
};
std::vector<ProfileEntry> ProfileEntries();
std::optional<std::string> ReadProfile(const std::string& file, const std::string& section, const std::string& key);

struct SavedLink {
    std::string Path;  // as saved, doubled backslashes made single
    std::string Target, Arguments, WorkingDirectory;
    bool operator==(const SavedLink&) const = default;
};
// Every link saved, in the order of their first save. A saved link is also a file on disk.
std::vector<SavedLink> Links();
std::optional<SavedLink> ReadLink(const std::string& linkPath);

// --- Message boxes
// Answers for the next message boxes, in order; appended to what is still queued. A box
// with no queued answer, or whose answer is not one of its buttons (Ok for Error, Yes or
// No for the questions), throws UnscriptedMessageBox and is reported on stderr, since the
// caller's error guard may swallow the throw; it is recorded with no Answer all the same.
void ScriptMessageBoxAnswers(std::initializer_list<MessageBoxAnswer> answers);
std::size_t PendingMessageBoxAnswers();
struct ShownMessageBox {
    std::string Text, Caption;
    MessageBoxKind Kind;
    std::optional<MessageBoxAnswer> Answer;  // empty when the script had none
    bool operator==(const ShownMessageBox&) const = default;
};
const std::vector<ShownMessageBox>& MessageBoxes();
class UnscriptedMessageBox : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// --- Shell executions, in call order
const std::vector<ShellExecuteCall>& ShellExecutions();

// --- Settings the services report
void SetPrimaryLanguage(int language);
void SetDecimalSeparator(char separator);
void SetTempPath(const std::string& windowsPath);                             // returned as set; not created
void SetSpecialFolder(SpecialFolder folder, const std::string& windowsPath);  // empty: not found
// ModuleName() is always "C:\quorvane-setup.exe".

// --- Failures on demand, so callers' failure paths can run. Reset() clears them all.
struct Refusals {
    bool LocalMachineKeys = false;   // HKEY_LOCAL_MACHINE keys can be neither created nor opened
    bool CurrentUserKeys = false;    // the same for HKEY_CURRENT_USER
    bool ValueWrites = false;        // value writes raise "Failed to set data for '%s'"
    bool ProfileWrites = false;      // WriteIniString raises "Unable to write to %s"
    bool LinkObjects = false;        // CreateShellLink raises "Interface not supported"
    bool LinkSaves = false;          // CreateShellLink returns false
    bool Copies = false;             // CopyFileOverwrite returns false
    int CopiesBeforeDiskFull = -1;   // then copies fail as on a full disk; -1: never
    bool DirectoryCreation = false;  // MakeDirectory returns false
    bool Removals = false;           // RemoveFile returns false, as for a program still running
    bool ComInitialization = false;  // ComScope is not Initialized()
};
// Refused operations leave SystemErrorText() at "Access is denied.", a full disk at
// "There is not enough space on the disk.".
Refusals& Refuse();

// As another program holding the file open without sharing: copies from or onto it, its
// renaming and its removal fail with "The process cannot access the file because it is
// being used by another process.".
void HoldFile(const std::string& windowsPath);

// The files RemoveFileAtRestart was asked to remove, in that order.
std::vector<std::string> FilesRemovedAtRestart();

// ComScopes alive whose initialisation succeeded.
int ComUsers();

}  // namespace platform::standin
