// The stand-in's state, its sandbox and the test interface of standin.h.
#include <stdlib.h>

#include <algorithm>
#include <memory>

#include "platform/posix/standin_state.h"

namespace platform::standin {
namespace detail {
namespace {

std::filesystem::path MakeSandbox() {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "quorvane-standin-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("stand-in: cannot create a sandbox folder");
    return pattern;
}

// The one instance, replaced whole by Reset().
std::unique_ptr<State>& Instance() {
    static std::unique_ptr<State> state;
    return state;
}

}  // namespace

State::State() : Sandbox(MakeSandbox()) {
    for (const char* folder : {"C:\\Program Files", "C:\\Windows", "C:\\Temp", Programs.c_str(), Desktop.c_str()})
        std::filesystem::create_directories(HostLocation(Sandbox, *ParseWindowsPath(folder)));
}

State::~State() {
    std::error_code ignored;
    std::filesystem::remove_all(Sandbox, ignored);
}

State& Current() {
    if (!Instance()) Instance() = std::make_unique<State>();
    return *Instance();
}

std::optional<std::filesystem::path> Host(const std::string& windowsPath) {
    const auto parsed = ParseWindowsPath(windowsPath);
    if (!parsed) return std::nullopt;
    return HostLocation(Current().Sandbox, *parsed);
}

void RememberFailure(std::string text) { Current().LastFailure = std::move(text); }

std::string ProfileFilePath(const std::string& file) {
    if (file.find_first_of("\\/:") == std::string::npos) return "C:\\Windows\\" + file;
    const auto parsed = ParseWindowsPath(file);
    return parsed ? parsed->Text() : file;
}

std::string ProfileStoreKey(const std::string& file, const std::string& section, const std::string& key) {
    return FoldCase(ProfileFilePath(file)) + '\n' + FoldCase(section) + '\n' + FoldCase(key);
}

}  // namespace detail

void Reset() {
    detail::Instance().reset();
    detail::Current();
}

void HoldFile(const std::string& windowsPath) {
    if (const auto host = detail::Host(windowsPath)) detail::Current().Held.push_back(*host);
}

std::string SandboxRoot() { return detail::Current().Sandbox.string(); }

std::string HostPath(const std::string& windowsPath) {
    const auto host = detail::Host(windowsPath);
    return host ? host->string() : std::string();
}

std::vector<RegistryValue> RegistryValues() {
    std::vector<RegistryValue> values;
    for (const auto& [where, key] : detail::Current().Registry)
        for (const auto& [folded, value] : key.Values)
            values.push_back({where.first, key.Path, value.first, value.second});
    return values;
}

std::optional<std::string> ReadRegistry(RootKey root, const std::string& key, const std::string& name) {
    const auto& registry = detail::Current().Registry;
    const auto found = registry.find({root, detail::FoldCase(key)});
    if (found == registry.end()) return std::nullopt;
    const auto value = found->second.Values.find(detail::FoldCase(name));
    if (value == found->second.Values.end()) return std::nullopt;
    return value->second.second;
}

bool RegistryKeyExists(RootKey root, const std::string& key) {
    return detail::Current().Registry.count({root, detail::FoldCase(key)}) != 0;
}

std::vector<ProfileEntry> ProfileEntries() {
    std::vector<ProfileEntry> entries;
    for (const auto& [folded, entry] : detail::Current().Profiles) entries.push_back(entry);
    return entries;
}

std::optional<std::string> ReadProfile(const std::string& file, const std::string& section, const std::string& key) {
    const auto& profiles = detail::Current().Profiles;
    const auto found = profiles.find(detail::ProfileStoreKey(file, section, key));
    if (found == profiles.end()) return std::nullopt;
    return found->second.Value;
}

std::optional<SavedLink> ReadLink(const std::string& linkPath) {
    const auto parsed = detail::ParseWindowsPath(linkPath);
    if (!parsed) return std::nullopt;
    const auto& links = detail::Current().SavedLinks;
    const auto found = std::find_if(links.begin(), links.end(),
                                    [&](const SavedLink& link) { return detail::SameName(link.Path, parsed->Text()); });
    if (found == links.end()) return std::nullopt;
    return *found;
}

std::vector<SavedLink> Links() { return detail::Current().SavedLinks; }

void ScriptMessageBoxAnswers(std::initializer_list<MessageBoxAnswer> answers) {
    auto& queue = detail::Current().Answers;
    queue.insert(queue.end(), answers.begin(), answers.end());
}

std::size_t PendingMessageBoxAnswers() { return detail::Current().Answers.size(); }

const std::vector<ShownMessageBox>& MessageBoxes() { return detail::Current().Boxes; }

const std::vector<ShellExecuteCall>& ShellExecutions() { return detail::Current().Executions; }

void SetPrimaryLanguage(int language) { detail::Current().Language = language; }
void SetDecimalSeparator(char separator) { detail::Current().Decimal = separator; }
void SetTempPath(const std::string& windowsPath) { detail::Current().Temp = windowsPath; }

void SetSpecialFolder(SpecialFolder folder, const std::string& windowsPath) {
    (folder == SpecialFolder::Programs ? detail::Current().Programs : detail::Current().Desktop) = windowsPath;
}

Refusals& Refuse() { return detail::Current().Refused; }

std::vector<std::string> FilesRemovedAtRestart() { return detail::Current().RemovedAtRestart; }

int ComUsers() { return detail::Current().ComUsers; }

}  // namespace platform::standin
