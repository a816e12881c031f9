// Placement and registration: the chosen directory made, the downloaded files copied in,
// the shortcuts made and the installation recorded with Windows.
#include <cstddef>
#include <string>
#include <vector>

#include "i18n/traducteur.h"
#include "platform/exception.h"
#include "platform/services.h"
#include "wizard/catalogue_text.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"
#include "wizard/product_key.h"

namespace {

constexpr int kSlotDirectoryError = 4;
constexpr int kSlotDirectoryErrorCaption = 5;
constexpr int kSlotDesktopLink = 17;
constexpr int kSlotProgramGroup = 20;
constexpr int kSlotEdition = 29;
constexpr int kSlotStatusShortcuts = 33;
constexpr int kSlotStatusUninstall = 34;

const std::string kUninstallSection = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane ";
const std::string kRunSection = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kIniFile = "Quorvane_e.ini";

constexpr const char* kProductFiles[] = {"quorvane.exe", "miseajour.exe", "quorvane.ini", "uninstall.exe"};

// Windows would run C:\Program.exe for an unquoted C:\Program Files\... command line.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Creates every level of a directory ending in a backslash; the levels that exist already
// simply fail to be created. An empty text names no directory at all.
bool MakeDirectoryPath(const std::string& directory) {
    if (directory.empty()) return false;
    if (platform::DirectoryExists(directory)) return true;
    for (std::size_t end = 0; end < directory.size(); ++end)
        if (directory[end] == '\\') platform::MakeDirectory(directory.substr(0, end + 1));
    return platform::DirectoryExists(directory);
}

// One product file on its way in: the new copy staged next to its target, the older one
// moved aside until all four are in place.
struct ProductFile {
    std::string Source, Target, Staged, Previous;
    bool MovedAside = false, MovedIn = false;
};

// Puts the four files in place all together or not at all, so an older installation is
// never left as a mix of old and new files: all are staged first (a full disk fails
// here, before anything is touched), then each older file is moved aside and the new one
// moved in; any failure moves every older file back. Raises naming the file and the
// system's reason.
void PlaceProductFiles(const std::string& source, const std::string& directory) {
    std::vector<ProductFile> files;
    for (const char* name : kProductFiles)
        files.push_back(
            {source + name, directory + name, directory + name + ".installing", directory + name + ".previous"});

    std::string failure;
    for (const ProductFile& file : files) {
        if (platform::CopyFileOverwrite(file.Source, file.Staged)) continue;
        failure = "Cannot copy " + file.Source + " to " + file.Target + ": " + platform::SystemErrorText();
        break;
    }
    for (ProductFile& file : files) {
        if (!failure.empty()) break;
        const bool older = platform::FileExists(file.Target);
        if (older) file.MovedAside = platform::MoveFileOverwrite(file.Target, file.Previous);
        if (!older || file.MovedAside) file.MovedIn = platform::MoveFileOverwrite(file.Staged, file.Target);
        if (!file.MovedIn) failure = "Cannot replace " + file.Target + ": " + platform::SystemErrorText();
    }

    if (failure.empty()) {
        // An older program still running cannot go now: it goes when Windows next starts.
        for (const ProductFile& file : files)
            if (file.MovedAside && !platform::RemoveFile(file.Previous)) platform::RemoveFileAtRestart(file.Previous);
        return;
    }
    std::string notRestored;
    for (const ProductFile& file : files) {
        bool restored = true;
        if (file.MovedAside)
            restored = platform::MoveFileOverwrite(file.Previous, file.Target);
        else if (file.MovedIn)
            restored = platform::RemoveFile(file.Target);
        if (!restored && notRestored.empty())
            notRestored = " " + file.Target + " could not be put back as it was: " + platform::SystemErrorText();
        if (!file.MovedIn && platform::FileExists(file.Staged)) platform::RemoveFile(file.Staged);
    }
    throw Exception(failure + notRestored);
}

}  // namespace

bool TfInstall::PrepareInstallDir() {
    if (!EnsureDirectory() && !EnsureDirectory()) return false;
    InstallDir = TxtDir.Text();
    return true;
}

bool TfInstall::EnsureDirectory() {
    if (MakeDirectoryPath(WithTrailingBackslash(TxtDir.Text()))) return true;
    platform::ShowMessageBox(CatalogueText(kSlotDirectoryError), CatalogueText(kSlotDirectoryErrorCaption),
                             platform::MessageBoxKind::Error);
    return false;
}

void TfInstall::InstallFiles() {
    if (InstallDir.empty()) throw Exception("No installation directory has been chosen");
    if (Cancelled) return;
    const std::string directory = WithTrailingBackslash(InstallDir);
    PlaceProductFiles(WithTrailingBackslash(ZeroTerminated(TempDir)), directory);
    // Recorded once the files are there: a placement that fails leaves the record of an
    // older installation as it was.
    SaveInstallPath();
    InstallDir = directory;

    LblStatus.SetCaption(CatalogueText(kSlotStatusShortcuts));
    // Without its shell folder a link would land in the current directory (the group) or
    // at the drive's root (the desktop link).
    if (!ProgramsDir.empty()) CreateStartMenuShortcuts();
    if (!DesktopDir.empty())
        CreateShortcut(InstallDir + "quorvane.exe", "", InstallDir, CatalogueText(kSlotDesktopLink), DesktopDir);

    LblStatus.SetCaption(CatalogueText(kSlotStatusUninstall));
    RegisterUninstall();

    if (!Cancelled) Completed = true;
}

void TfInstall::SaveInstallPath() {
    auto key = platform::RegistryKey::Create(platform::RootKey::LocalMachine, kProductKey);
    if (key && !Cancelled) key->WriteString("emplacement", InstallDir);
}

void TfInstall::CreateStartMenuShortcuts() {
    const std::string group = ProgramsDir + CatalogueText(kSlotProgramGroup);
    // A group that cannot be made shows up as the failed save of its first link.
    platform::MakeDirectory(ProgramsDir + "Quorvane\\");
    platform::MakeDirectory(group);
    CreateShortcut(InstallDir + "quorvane.exe", "", InstallDir, "Quorvane.Lnk", group);
    CreateShortcut(InstallDir + "miseajour.exe", "", InstallDir, "miseajour.Lnk", group);
    CreateShortcut(InstallDir + "uninstall.exe", "", InstallDir, "uninstall.Lnk", group);
}

void TfInstall::CreateShortcut(const std::string& Target, const std::string& Arguments, const std::string& WorkingDir,
                               const std::string& LinkFileName, const std::string& Folder) {
    const std::string linkPath = Folder + "\\" + LinkFileName;
    if (!platform::CreateShellLink(Target, Arguments, WorkingDir, linkPath))
        throw Exception("Cannot save the shortcut " + linkPath + ": " + platform::SystemErrorText());
}

void TfInstall::RegisterUninstall() {
    const std::string edition = CatalogueText(kSlotEdition);
    const std::string section = kUninstallSection + edition;
    platform::WriteSectionString(platform::RootKey::LocalMachine, section, "DisplayName", "Quorvane " + edition);
    platform::WriteSectionString(platform::RootKey::LocalMachine, section, "UninstallString",
                                 Quoted(InstallDir + "Uninstall.exe"));
}

void TfInstall::RegisterAutoStart() {
    platform::WriteSectionString(platform::RootKey::CurrentUser, kRunSection, "QuorvaneEntreprise",
                                 Quoted(InstallDir + "Quorvane.exe"));
}

void TfInstall::FormClose(TComponent*) {
    if (!Completed) return;
    platform::WriteIniString(kIniFile, "Settings", "langue", Translator->Language());
    if (ChkAutoStart.Checked()) RegisterAutoStart();
    if (chkStartNow.Checked())
        platform::ExecuteShell({.owner = platform::ShellOwner::None,
                                .verb = "open",
                                .file = "quorvane.exe",
                                .parameters = std::nullopt,
                                .directory = InstallDir,
                                .show = platform::ShowCommand::Normal});
}

void TfInstall::Label13Click(TComponent*) {
    platform::ExecuteShell({.owner = platform::ShellOwner::MainWindow,
                            .verb = std::nullopt,
                            .file = kVendorWebSite,
                            .parameters = "",
                            .directory = "",
                            .show = platform::ShowCommand::Maximized});
}

void TfInstall::Label16Click(TComponent*) {
    platform::ExecuteShell({.owner = platform::ShellOwner::Desktop,
                            .verb = std::nullopt,
                            .file = std::string("mailto:") + kSupportMail,
                            .parameters = std::nullopt,
                            .directory = std::nullopt,
                            .show = platform::ShowCommand::Normal});
}
