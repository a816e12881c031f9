// What the services do, checked the same way against the stand-in (native runner) and
// against Windows (Wine runner), so that the stand-in the native tests rely on is known
// to behave as the system does.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "files.h"
#include "platform/services.h"
#include "raised.h"
#include "services_probe.h"

namespace {

using namespace platform;
using probe::SystemError;
using probe::SystemText;

const std::string kTestKey = "Software\\QuorvaneTest";

bool EndsWith(const std::string& text, const std::string& tail) { return text.ends_with(tail); }

// A fresh folder under the temporary directory for each test, and no test key left over.
class ServicesContract : public ::testing::Test {
protected:
    void SetUp() override {
        probe::ResetServices();
        dir_ = TempPath() + "quorvane-contract-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(probe::HostPath(dir_));
        ASSERT_TRUE(MakeDirectory(dir_)) << dir_;
        dir_ += "\\";
    }
    void TearDown() override {
        std::filesystem::remove_all(probe::HostPath(dir_));
        for (RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser}) probe::DeleteRegistryTree(root, kTestKey);
    }

    void Write(const std::string& windowsPath, const std::string& content) const {
        WriteFile(probe::HostPath(windowsPath), content);
    }
    std::optional<std::string> Read(const std::string& windowsPath) const {
        return ReadFile(probe::HostPath(windowsPath));
    }

    ComScope com_;
    std::string dir_;  // ends in a backslash
};

TEST_F(ServicesContract, SpecialFoldersAndTempPathAreExistingDirectories) {
    const std::string programs = SpecialFolderPath(SpecialFolder::Programs);
    EXPECT_TRUE(EndsWith(programs, "\\Start Menu\\Programs")) << programs;
    EXPECT_TRUE(DirectoryExists(programs)) << programs;
    const std::string desktop = SpecialFolderPath(SpecialFolder::DesktopDirectory);
    EXPECT_TRUE(EndsWith(desktop, "\\Desktop")) << desktop;
    EXPECT_TRUE(DirectoryExists(desktop)) << desktop;

    const std::string temp = TempPath();
    EXPECT_TRUE(EndsWith(temp, "\\")) << temp;
    EXPECT_TRUE(DirectoryExists(temp)) << temp;
}

TEST_F(ServicesContract, DirectoriesAreCreatedOneLevelAtATimeAndTestedForKindIgnoringCase) {
    EXPECT_FALSE(MakeDirectory(dir_ + "A\\B"));
    EXPECT_EQ(SystemErrorText(), SystemText(SystemError::PathNotFound));
    EXPECT_TRUE(MakeDirectory(dir_ + "A\\"));
    EXPECT_TRUE(MakeDirectory(dir_ + "A\\B"));
    EXPECT_TRUE(std::filesystem::is_directory(probe::HostPath(dir_ + "A\\B")));
    EXPECT_FALSE(MakeDirectory(dir_ + "A"));
    EXPECT_EQ(SystemErrorText(), SystemText(SystemError::AlreadyExists));
    EXPECT_FALSE(MakeDirectory(dir_ + "a"));  // already there, whatever the case
    EXPECT_FALSE(MakeDirectory(dir_ + "A?"));

    Write(dir_ + "A\\quorvane.exe", "x");
    const struct {
        std::string path;
        bool directory, file;
    } cases[] = {
        {dir_ + "A", true, false},
        {dir_ + "A\\B\\", true, false},
        {dir_ + "a\\b\\", true, false},
        {dir_ + "A\\quorvane.exe", false, true},
        {dir_ + "a\\QUORVANE.EXE", false, true},
        {dir_ + "A\\missing.exe", false, false},
        {dir_ + "missing\\", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryExists(c.path), c.directory) << c.path;
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    }
}

TEST_F(ServicesContract, CopyOverwritesAnExistingTargetAndReportsTheSystemsReason) {
    Write(dir_ + "source.exe", "new");
    Write(dir_ + "target.exe", "older and longer");
    EXPECT_TRUE(CopyFileOverwrite(dir_ + "\\source.exe", dir_ + "target.exe"));  // doubled backslash accepted
    EXPECT_EQ(Read(dir_ + "target.exe"), "new");
    EXPECT_EQ(Read(dir_ + "source.exe"), "new");

    EXPECT_FALSE(CopyFileOverwrite(dir_ + "missing.exe", dir_ + "copy.exe"));
    EXPECT_EQ(SystemErrorText(), SystemText(SystemError::FileNotFound));
    EXPECT_FALSE(FileExists(dir_ + "copy.exe"));
    EXPECT_FALSE(CopyFileOverwrite(dir_ + "source.exe", dir_ + "nowhere\\source.exe"));
    EXPECT_EQ(SystemErrorText(), SystemText(SystemError::PathNotFound));
}

TEST_F(ServicesContract, ShellLinksHoldTargetArgumentsAndWorkingDirectory) {
    Write(dir_ + "quorvane.exe", "x");
    Write(dir_ + "miseajour.exe", "x");
    const struct {
        std::string linkPath;
        probe::LinkFields fields;
    } cases[] = {
        {dir_ + "Quorvane.Lnk", {dir_ + "quorvane.exe", "", dir_}},
        {dir_ + "\\miseajour.Lnk", {dir_ + "miseajour.exe", "-silent \"x y\"", dir_}},  // folder + "\" + name
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CreateShellLink(c.fields.Target, c.fields.Arguments, c.fields.WorkingDirectory, c.linkPath))
            << SystemErrorText();
        EXPECT_EQ(probe::ReadLink(c.linkPath), c.fields) << c.linkPath;
        EXPECT_TRUE(FileExists(c.linkPath)) << c.linkPath;
    }
    // Saving again over an existing link, named in another case, replaces it.
    ASSERT_TRUE(CreateShellLink(dir_ + "miseajour.exe", "-x", dir_, dir_ + "quorvane.lnk"));
    EXPECT_EQ(probe::ReadLink(dir_ + "QUORVANE.LNK"), (probe::LinkFields{dir_ + "miseajour.exe", "-x", dir_}));
}

TEST_F(ServicesContract, LinkSavedIntoAMissingFolderFailsWithTheSystemsReason) {
    EXPECT_FALSE(CreateShellLink(dir_ + "quorvane.exe", "", dir_, dir_ + "missing\\Quorvane.Lnk"));
    EXPECT_EQ(SystemErrorText(), SystemText(SystemError::PathNotFound));
    EXPECT_FALSE(FileExists(dir_ + "missing\\Quorvane.Lnk"));
}

TEST_F(ServicesContract, ShellNamespaceListsVisibleFoldersByNameIgnoringCase) {
    for (const char* folder : {"beta", "Alpha", "Alpha\\Inner", "gamma"}) ASSERT_TRUE(MakeDirectory(dir_ + folder));
    probe::MakeHiddenFolder(dir_);
    Write(dir_ + "afile.txt", "");

    const auto root = ShellResolve(dir_);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Path + "\\", dir_);  // no trailing backslash
    EXPECT_TRUE(EndsWith(dir_, root->DisplayName + "\\")) << root->DisplayName;
    EXPECT_TRUE(root->HasSubfolders);

    const auto children = ShellSubfolders(dir_.substr(0, dir_.size() - 1));
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0].DisplayName, "Alpha");
    EXPECT_EQ(children[0].Path, dir_ + "Alpha");
    EXPECT_TRUE(children[0].HasSubfolders);
    EXPECT_FALSE(children[0].Shared);
    EXPECT_EQ(children[1].DisplayName, "beta");
    EXPECT_EQ(children[2].DisplayName, "gamma");

    EXPECT_FALSE(ShellResolve(dir_ + "missing"));
    EXPECT_FALSE(ShellResolve(dir_ + "afile.txt"));  // a file is no folder
    EXPECT_TRUE(ShellSubfolders(dir_ + "missing").empty());
}

TEST_F(ServicesContract, ShellRenameMovesTheFolderOnDiskUnlessTheNameIsTaken) {
    for (const char* folder : {"Old", "Other"}) ASSERT_TRUE(MakeDirectory(dir_ + folder));
    EXPECT_FALSE(ShellRename(dir_ + "Old", "OTHER"));
    EXPECT_FALSE(ShellRename(dir_ + "Old", "bad/name"));
    EXPECT_FALSE(ShellRename(dir_ + "Missing", "Any"));
    EXPECT_TRUE(DirectoryExists(dir_ + "Old"));

    const auto renamed = ShellRename(dir_ + "Old", "New");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->Path, dir_ + "New");
    EXPECT_EQ(renamed->DisplayName, "New");
    EXPECT_FALSE(DirectoryExists(dir_ + "Old"));
    EXPECT_TRUE(DirectoryExists(dir_ + "New"));
    EXPECT_TRUE(ShellRename(dir_ + "New", "new"));  // a change of case alone is a rename
}

TEST_F(ServicesContract, RegistryStoresStringsUnderKeysAndNamesThatIgnoreCaseWithRootsApart) {
    auto key = RegistryKey::Create(RootKey::LocalMachine, kTestKey + "\\Quorvane\\entreprise");
    ASSERT_TRUE(key);
    key->WriteString("Language", "francais");
    key->WriteString("emplacement", "C:\\Répertoire à moi");
    key->WriteString("Empty", "");
    WriteSectionString(RootKey::LocalMachine, "SOFTWARE\\quorvanetest\\Quorvane\\Entreprise", "LANGUAGE", "anglais");
    WriteSectionString(RootKey::CurrentUser, kTestKey + "\\Quorvane\\entreprise", "Language", "other root");

    const struct {
        RootKey root;
        std::string key, name;
        std::optional<std::string> stored;
    } cases[] = {
        {RootKey::LocalMachine, kTestKey + "\\Quorvane\\entreprise", "Language", "anglais"},
        {RootKey::LocalMachine, "software\\QUORVANETEST\\quorvane\\ENTREPRISE", "language", "anglais"},
        {RootKey::LocalMachine, kTestKey + "\\Quorvane\\entreprise", "emplacement", "C:\\Répertoire à moi"},
        {RootKey::LocalMachine, kTestKey + "\\Quorvane\\entreprise", "Empty", ""},
        {RootKey::CurrentUser, kTestKey + "\\Quorvane\\entreprise", "Language", "other root"},
        {RootKey::LocalMachine, kTestKey + "\\Quorvane", "Language", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(probe::RegistryString(c.root, c.key, c.name), c.stored) << c.key << c.name;
}

// Written and read through the seam's own file calls, which take the same UTF-8 paths.
void WriteThrough(const std::string& path, const std::string& content) {
    std::FILE* file = OpenFile(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

std::optional<std::string> ReadThrough(const std::string& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return std::nullopt;
    std::string content;
    char buffer[256];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, read);
    std::fclose(file);
    return content;
}

TEST_F(ServicesContract, RemovalAtRestartLeavesTheFileUntilThenAndIsNoted) {
    Write(dir_ + "quorvane.exe.previous", "old");
    ASSERT_TRUE(RemoveFileAtRestart(dir_ + "quorvane.exe.previous")) << SystemErrorText();
    EXPECT_EQ(Read(dir_ + "quorvane.exe.previous"), "old");
    EXPECT_TRUE(probe::RemovalAtRestartPending(dir_ + "quorvane.exe.previous"));
    EXPECT_FALSE(probe::RemovalAtRestartPending(dir_ + "quorvane.exe"));
}

TEST_F(ServicesContract, FilesOpenedForWritingAreMadeOrReplacedWhole) {
    WriteThrough(dir_ + "quorvane.exe", "older and longer");
    EXPECT_EQ(Read(dir_ + "quorvane.exe"), "older and longer");
    WriteThrough(dir_ + "quorvane.exe", "new");
    EXPECT_EQ(Read(dir_ + "quorvane.exe"), "new");
    EXPECT_EQ(OpenFile(dir_ + "nowhere\\quorvane.exe", "wb"), nullptr);
}

// A folder whose name no single code page holds: every operation finds it, and what it
// stores reads back the same (Windows in UTF-16, the stand-in in UTF-8).
TEST_F(ServicesContract, NamesBeyondAnyCodePageArriveWhole) {
    const std::string name = "Łódź ☃ Квн";
    const std::string folder = dir_ + name + "\\";
    ASSERT_TRUE(MakeDirectory(folder));
    EXPECT_TRUE(DirectoryExists(dir_ + "łÓdŹ ☃ кВН"));  // in any case
    WriteThrough(folder + "quorvane.exe", "product");
    EXPECT_TRUE(FileExists(folder + "quorvane.exe"));
    ASSERT_TRUE(CopyFileOverwrite(folder + "quorvane.exe", folder + "copie é.exe"));
    EXPECT_EQ(ReadThrough(folder + "copie é.exe"), "product");
    ASSERT_TRUE(MoveFileOverwrite(folder + "copie é.exe", folder + "déplacé.exe"));
    EXPECT_FALSE(FileExists(folder + "copie é.exe"));
    ASSERT_TRUE(RemoveFile(folder + "déplacé.exe"));
    EXPECT_FALSE(FileExists(folder + "déplacé.exe"));

    ASSERT_TRUE(CreateShellLink(folder + "quorvane.exe", "-langue français", folder, folder + "Квн ☃.Lnk"))
        << SystemErrorText();
    const auto link = probe::ReadLink(folder + "Квн ☃.Lnk");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Arguments, "-langue français");
    EXPECT_EQ(link->WorkingDirectory, folder);
    // Wine's link object keeps the target in the system's code page (best fit): only what
    // any code page holds is the same everywhere.
    EXPECT_TRUE(EndsWith(link->Target, "\\quorvane.exe")) << link->Target;

    const auto resolved = ShellResolve(dir_ + name);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->DisplayName, name);
    EXPECT_EQ(resolved->Path, dir_ + name);

    auto key = RegistryKey::Create(RootKey::LocalMachine, kTestKey + "\\Квн");
    ASSERT_TRUE(key);
    key->WriteString("emplacement ☃", folder);
    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, kTestKey + "\\квн", "EMPLACEMENT ☃"), folder);
    // A Windows text is any 16-bit units, as a folder's name may be: a lone surrogate stays.
    const std::string lone = folder + "\xED\xA0\x80";
    key->WriteString("seul", lone);
    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, kTestKey + "\\Квн", "seul"), lone);
    // The system keeps a new INI file in its code page: only the file's name is beyond it.
    WriteIniString(folder + "Quorvane_e.ini", "Settings", "langue", "francais");
    EXPECT_EQ(probe::IniString(folder + "Quorvane_e.ini", "Settings", "langue"), "francais");
}

TEST_F(ServicesContract, RegistryFailuresRaiseTheirTexts) {
    EXPECT_FALSE(RegistryKey::Create(RootKey::LocalMachine, "\\" + kTestKey + "\\BadPath"));
    ExpectRaised([] { WriteSectionString(RootKey::LocalMachine, "\\Bad\\Key", "DisplayName", "x"); },
                 "Failed to create key \\Bad\\Key");
}

TEST_F(ServicesContract, ProfileBareFileNameLivesInTheWindowsDirectoryAndValuesAreReplaced) {
    const std::string file = probe::WindowsDirectory() + "\\QuorvaneTest_e.ini";
    std::filesystem::remove(probe::HostPath(file));
    WriteIniString("QuorvaneTest_e.ini", "Settings", "langue", "francais");
    WriteIniString(probe::WindowsDirectory() + "\\quorvanetest_E.INI", "settings", "LANGUE", "anglais");
    EXPECT_EQ(probe::IniString(file, "Settings", "langue"), "anglais");
    EXPECT_EQ(probe::IniString("QuorvaneTest_e.ini", "SETTINGS", "Langue"), "anglais");
    std::filesystem::remove(probe::HostPath(file));

    ExpectRaised([] { WriteIniString("C:\\no\\such\\folder\\x.ini", "Settings", "langue", "x"); },
                 "Unable to write to C:\\no\\such\\folder\\x.ini");
}

}  // namespace
