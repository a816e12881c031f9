// Placement and registration on the stand-in: the directory, the copies, the links, the
// registry, and what closing the window writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <vector>

#include "app/application.h"
#include "wizard_fixture.h"

namespace {

using platform::RootKey;

const std::string kProductKey = "Software\\Quorvane\\Quorvane\\entreprise";
const std::string kUninstallRoot = "SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kPrograms = "C:\\Users\\Standin\\Start Menu\\Programs\\";
const std::string kDesktop = "C:\\Users\\Standin\\Desktop\\";

using PlacementTest = WizardFixture;

TEST_F(PlacementTest, TypedWithoutBackslashCreatesEveryLevelAndKeepsTheTextAsTyped) {
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\A\\B");

    ASSERT_TRUE(form->PrepareInstallDir());
    EXPECT_TRUE(platform::DirectoryExists("C:\\A\\"));
    EXPECT_TRUE(platform::DirectoryExists("C:\\A\\B\\"));
    EXPECT_EQ(form->InstallDir, "C:\\A\\B");

    form->InstallFiles();
    EXPECT_TRUE(form->Completed);
    EXPECT_EQ(standin::ReadRegistry(RootKey::LocalMachine, kProductKey, "emplacement"), "C:\\A\\B");
    for (const char* name : kProductFiles)
        EXPECT_EQ(ReadFile(std::string("C:\\A\\B\\") + name), std::string("new ") + name) << name;
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

// An older copy is replaced without a question; one still running cannot be removed now
// and goes when Windows next starts.
class OlderCopyTest : public WizardFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(OlderCopyTest, IsOverwrittenWithoutQuestion) {
    const bool running = GetParam();
    ASSERT_TRUE(platform::MakeDirectory("C:\\Apps\\"));
    for (const char* name : kProductFiles) WriteFile(std::string("C:\\Apps\\") + name, "old");
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\Apps\\");
    standin::Refuse().Removals = running;

    ASSERT_TRUE(form->PrepareInstallDir());
    form->InstallFiles();

    std::vector<std::string> left;
    for (const char* name : kProductFiles) {
        EXPECT_EQ(ReadFile(std::string("C:\\Apps\\") + name), std::string("new ") + name) << name;
        if (running) left.push_back(std::string("C:\\Apps\\") + name + ".previous");
    }
    std::vector<std::string> scheduled = standin::FilesRemovedAtRestart();
    std::sort(scheduled.begin(), scheduled.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(scheduled, left);
    EXPECT_EQ(FilesIn("C:\\Apps\\").size(), 4u + left.size()) << "a temporary file is left";
    EXPECT_TRUE(standin::MessageBoxes().empty());
    EXPECT_TRUE(form->Completed);
}

INSTANTIATE_TEST_SUITE_P(Older, OlderCopyTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "StillRunning" : "NotRunning"; });

TEST_F(PlacementTest, DirectoryThatCannotBeMadeStopsEverythingAndReturnsToPage3) {
    standin::Refuse().DirectoryCreation = true;
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Ok, platform::MessageBoxAnswer::Ok});
    OnDirectoryPage("C:\\Nowhere\\Deep");

    form->BtnNextClick(&form->BtnNext);

    const standin::ShownMessageBox expected{"Impossible de créer le répertoire. Vérifier la syntaxe.",
                                            "Opération annulée", platform::MessageBoxKind::Error,
                                            platform::MessageBoxAnswer::Ok};
    EXPECT_EQ(standin::MessageBoxes(), (std::vector{expected, expected}));
    EXPECT_TRUE(form->PnlStep3.Visible());
    EXPECT_FALSE(form->PnlStep4.Visible());
    EXPECT_TRUE(form->btnBack.Enabled());
    EXPECT_TRUE(form->BtnNext.Enabled());
    EXPECT_TRUE(form->BtnClose.Enabled());
    EXPECT_EQ(form->Http, nullptr);
    EXPECT_TRUE(standin::RegistryValues().empty());
    EXPECT_TRUE(standin::Links().empty());
    EXPECT_FALSE(platform::DirectoryExists("C:\\Nowhere\\"));
}

TEST_F(PlacementTest, EmptyDirectoryIsNeverATarget) {
    PutDownloadedFiles();
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Ok});
    form->TxtDir.SetText("");
    EXPECT_FALSE(form->EnsureDirectory());
    EXPECT_EQ(standin::MessageBoxes().size(), 1u);

    EXPECT_TRUE(RaisedMessage([&] { form->InstallFiles(); }));
    EXPECT_FALSE(form->Completed);
    EXPECT_TRUE(standin::RegistryValues().empty());
    EXPECT_TRUE(standin::Links().empty());
    EXPECT_FALSE(ReadFile("C:\\quorvane.exe"));
}

// A shell folder the session lacks: its links are skipped, the others made, and nothing
// lands at the drive's root or in the current directory.
struct MissingFolderCase {
    const char* Name;
    std::string TfInstall::*Folder;
    std::vector<standin::SavedLink> Made;
};

void PrintTo(const MissingFolderCase& missing, std::ostream* out) { *out << missing.Name; }

const std::string kGroup = kPrograms + "Quorvane\\Entreprise\\";

class MissingFolderTest : public WizardFixture, public ::testing::WithParamInterface<MissingFolderCase> {};

TEST_P(MissingFolderTest, SkipsOnlyItsLinks) {
    PutDownloadedFiles();
    (*form).*GetParam().Folder = "";
    form->TxtDir.SetText("C:\\Apps\\");
    ASSERT_TRUE(form->PrepareInstallDir());

    form->InstallFiles();

    EXPECT_EQ(standin::Links(), GetParam().Made);
    EXPECT_TRUE(form->Completed);
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MissingFolderTest,
    ::testing::Values(MissingFolderCase{"Desktop",
                                        &TfInstall::DesktopDir,
                                        {{kGroup + "Quorvane.Lnk", "C:\\Apps\\quorvane.exe", "", "C:\\Apps\\"},
                                         {kGroup + "miseajour.Lnk", "C:\\Apps\\miseajour.exe", "", "C:\\Apps\\"},
                                         {kGroup + "uninstall.Lnk", "C:\\Apps\\uninstall.exe", "", "C:\\Apps\\"}}},
                      MissingFolderCase{
                          "Programs",
                          &TfInstall::ProgramsDir,
                          {{kDesktop + "Quorvane Entreprise.Lnk", "C:\\Apps\\quorvane.exe", "", "C:\\Apps\\"}}}),
    [](const auto& test) { return std::string(test.param.Name); });

// A copy or a link save that fails: the error box names the file and the system's
// reason, and the installation stops there.
struct PlacementFailureCase {
    const char* Name;
    bool platform::standin::Refusals::*Refusal;
    const char* Text;
};

void PrintTo(const PlacementFailureCase& failure, std::ostream* out) { *out << failure.Name; }

class PlacementFailureTest : public WizardFixture, public ::testing::WithParamInterface<PlacementFailureCase> {};

TEST_P(PlacementFailureTest, IsShownAndLeavesTheInstallationIncomplete) {
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\Apps");
    ASSERT_TRUE(form->PrepareInstallDir());
    standin::Refuse().*GetParam().Refusal = true;
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Ok});

    // As the message loop's guard does with an error escaping a handler.
    try {
        form->InstallFiles();
    } catch (...) {
        Application.HandleException(std::current_exception());
    }

    EXPECT_EQ(standin::MessageBoxes(), (std::vector<standin::ShownMessageBox>{{GetParam().Text, Application.Title,
                                                                               platform::MessageBoxKind::Error,
                                                                               platform::MessageBoxAnswer::Ok}}));
    EXPECT_FALSE(form->Completed);
    EXPECT_FALSE(standin::RegistryKeyExists(RootKey::LocalMachine, kUninstallRoot + "Quorvane Version Entreprise"));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PlacementFailureTest,
    ::testing::Values(
        PlacementFailureCase{"Copy", &standin::Refusals::Copies,
                             "Cannot copy C:\\Temp\\quorvane.exe to C:\\Apps\\quorvane.exe: Access is denied."},
        PlacementFailureCase{"LinkSave", &standin::Refusals::LinkSaves,
                             "Cannot save the shortcut C:\\Users\\Standin\\Start Menu\\Programs\\Quorvane\\"
                             "Entreprise\\\\Quorvane.Lnk: Access is denied."}),
    [](const auto& test) { return std::string(test.param.Name); });

// A failure at any of the four files, while they are staged (a full disk) or while they
// are put in place (an older file held open by another program), leaves the directory
// exactly as it was, and stops the installation.
struct RollBackCase {
    std::string Name;
    std::vector<std::string> Older;  // the older copy's files
    std::string Held;                // held open by another program
    int CopiesBeforeDiskFull = -1;
    std::string Error;
};

void PrintTo(const RollBackCase& rollBack, std::ostream* out) { *out << rollBack.Name; }

const std::vector<std::string> kPlacementOrder = {"quorvane.exe", "miseajour.exe", "quorvane.ini", "uninstall.exe"};

std::vector<RollBackCase> RollBackCases() {
    std::vector<RollBackCase> cases;
    for (int at = 0; at < 4; ++at) {
        const std::string& name = kPlacementOrder[static_cast<std::size_t>(at)];
        const std::string id = std::to_string(at + 1);
        cases.push_back({"HeldAtFile" + id, kPlacementOrder, name, -1,
                         "Cannot replace C:\\Apps\\" + name +
                             ": The process cannot access the file because it is being used by another process."});
        const std::string diskFull =
            "Cannot copy C:\\Temp\\" + name + " to C:\\Apps\\" + name + ": There is not enough space on the disk.";
        cases.push_back({"DiskFullAtFile" + id, kPlacementOrder, "", at, diskFull});
        cases.push_back({"FreshDirectoryDiskFullAtFile" + id, {}, "", at, diskFull});
    }
    // The three files placed before it had no older copy: they are removed again.
    cases.push_back({"OnlyTheHeldFileIsOlder",
                     {"uninstall.exe"},
                     "uninstall.exe",
                     -1,
                     "Cannot replace C:\\Apps\\uninstall.exe: The process cannot access the file because it is "
                     "being used by another process."});
    return cases;
}

class PlacementRollBackTest : public WizardFixture, public ::testing::WithParamInterface<RollBackCase> {};

TEST_P(PlacementRollBackTest, LeavesTheOlderCopyWholeAndNoTemporaryFile) {
    const RollBackCase& rollBack = GetParam();
    ASSERT_TRUE(platform::MakeDirectory("C:\\Apps\\"));
    std::map<std::string, std::string> older;
    for (const std::string& name : rollBack.Older) {
        older[name] = "old " + name;
        WriteFile("C:\\Apps\\" + name, older[name]);
    }
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\Apps");
    ASSERT_TRUE(form->PrepareInstallDir());
    if (!rollBack.Held.empty()) standin::HoldFile("C:\\Apps\\" + rollBack.Held);
    standin::Refuse().CopiesBeforeDiskFull = rollBack.CopiesBeforeDiskFull;

    EXPECT_EQ(RaisedMessage([&] { form->InstallFiles(); }), rollBack.Error);

    EXPECT_EQ(FilesIn("C:\\Apps\\"), older);
    EXPECT_FALSE(form->Completed);
    EXPECT_EQ(standin::ReadRegistry(RootKey::LocalMachine, kProductKey, "emplacement"), std::nullopt);
    EXPECT_TRUE(standin::Links().empty());
    EXPECT_FALSE(standin::RegistryKeyExists(RootKey::LocalMachine, kUninstallRoot + "Quorvane Version Entreprise"));
}

INSTANTIATE_TEST_SUITE_P(Failures, PlacementRollBackTest, ::testing::ValuesIn(RollBackCases()),
                         [](const auto& test) { return test.param.Name; });

// Everything one installation leaves behind, per language of the wizard.
struct LanguageCase {
    const char* Code;
    const char* Edition;
    const char* DesktopLink;
    const char* Group;
    const char* FinalStatus;
};

void PrintTo(const LanguageCase& language, std::ostream* out) { *out << language.Code; }

class PlacementLanguageTest : public WizardFixture, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(PlacementLanguageTest, LeavesBehindTheNamesOfTheLanguageInForce) {
    const LanguageCase& language = GetParam();
    UseLanguage(language.Code);
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\Program Files\\Quorvane Test");
    ASSERT_TRUE(form->PrepareInstallDir());

    form->InstallFiles();

    const std::string dir = "C:\\Program Files\\Quorvane Test\\";
    const std::string group = kPrograms + language.Group;
    EXPECT_TRUE(platform::DirectoryExists(group));
    EXPECT_EQ(standin::Links(), (std::vector<standin::SavedLink>{
                                    {group + "Quorvane.Lnk", dir + "quorvane.exe", "", dir},
                                    {group + "miseajour.Lnk", dir + "miseajour.exe", "", dir},
                                    {group + "uninstall.Lnk", dir + "uninstall.exe", "", dir},
                                    {kDesktop + language.DesktopLink, dir + "quorvane.exe", "", dir},
                                }));
    const std::string uninstallKey = kUninstallRoot + "Quorvane " + language.Edition;
    EXPECT_EQ(standin::ReadRegistry(RootKey::LocalMachine, uninstallKey, "DisplayName"),
              std::string("Quorvane ") + language.Edition);
    // Quoted, so Windows cannot run C:\Program.exe instead.
    EXPECT_EQ(standin::ReadRegistry(RootKey::LocalMachine, uninstallKey, "UninstallString"),
              "\"" + dir + "Uninstall.exe\"");
    EXPECT_EQ(standin::ReadRegistry(RootKey::LocalMachine, kProductKey, "emplacement"),
              "C:\\Program Files\\Quorvane Test");
    EXPECT_EQ(form->LblStatus.Caption(), language.FinalStatus);
    EXPECT_TRUE(form->Completed);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, PlacementLanguageTest,
    ::testing::Values(LanguageCase{"francais", "Version Entreprise", "Quorvane Entreprise.Lnk",
                                   "Quorvane\\Entreprise\\", "Statut : Enregistrement du désinstallateur"},
                      LanguageCase{"anglais", "Enterprise version", "Quorvane Enterprise.Lnk", "Quorvane\\Enterprise\\",
                                   "Status : Registration of uninstall"}));

}  // namespace
