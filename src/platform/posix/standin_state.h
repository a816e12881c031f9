#pragma once
// What the stand-in holds; shared by the posix service files and the test interface.
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/sandbox_path.h"
#include "platform/posix/standin.h"

namespace platform::standin::detail {

struct RegistryKeyData {
    std::string Path;                                                   // as first written
    std::map<std::string, std::pair<std::string, std::string>> Values;  // folded name -> (name, value)
};

struct State {
    std::filesystem::path Sandbox;
    std::map<std::pair<RootKey, std::string>, RegistryKeyData> Registry;  // by folded key path
    std::map<std::string, ProfileEntry> Profiles;                         // by folded file, section, key
    std::vector<SavedLink> SavedLinks;
    std::deque<MessageBoxAnswer> Answers;
    std::vector<ShownMessageBox> Boxes;
    std::vector<ShellExecuteCall> Executions;
    int Language = 9;
    char Decimal = '.';
    std::string Temp = "C:\\Temp\\";
    std::string Programs = "C:\\Users\\Standin\\Start Menu\\Programs";
    std::string Desktop = "C:\\Users\\Standin\\Desktop";
    Refusals Refused;
    std::vector<std::filesystem::path> Held;    // where the held files live on disk
    std::vector<std::string> RemovedAtRestart;  // Windows paths, in the order asked
    int ComUsers = 0;
    std::string LastFailure;

    State();
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

State& Current();

// The place on disk for a Windows path, or nothing for a path Windows would refuse.
std::optional<std::filesystem::path> Host(const std::string& windowsPath);
void RememberFailure(std::string text);
// The INI file a name refers to: a bare file name lives in the Windows directory.
std::string ProfileFilePath(const std::string& file);
std::string ProfileStoreKey(const std::string& file, const std::string& section, const std::string& key);
inline constexpr const char* AccessDenied = "Access is denied.";

}  // namespace platform::standin::detail
