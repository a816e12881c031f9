// Windows paths under the sandbox: mapping, real directories and copies, the shell namespace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/posix/standin.h"
#include "platform/services.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

class SandboxPaths : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    static std::string Under(const std::string& relative) { return standin::SandboxRoot() + "/" + relative; }
    static void WriteFile(const std::string& windowsPath, const std::string& content) {
        std::ofstream(standin::HostPath(windowsPath), std::ios::binary) << content;
    }
    static std::string ReadFile(const std::string& windowsPath) {
        std::ifstream file(standin::HostPath(windowsPath), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
};

TEST_F(SandboxPaths, MapsDriveAbsolutePathsUnderTheSandboxAndRefusesTheRest) {
    const struct {
        const char* windows;
        std::string host;  // empty: refused
    } cases[] = {
        {"C:\\X\\Y", "c/X/Y"},
        {"c:/X//Y\\", "c/X/Y"},
        {"C:\\X\\..\\..\\..\\Y", "c/Y"},                              // ".." never climbs out of the drive
        {"C:\\program files\\Quorvane", "c/Program Files/Quorvane"},  // existing names in any case
        {"D:\\", "d"},
        {"relative\\path", ""},
        {"C:", ""},
        {"C:relative", ""},
        {"\\\\server\\share", ""},
        {"C:\\a<b", ""},
        {"C:\\a:b", ""},
        {"1:\\x", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(standin::HostPath(c.windows), c.host.empty() ? "" : Under(c.host)) << c.windows;
}

TEST_F(SandboxPaths, ResetStartsAFreshSandboxAndDeletesTheOldOne) {
    const std::string old = standin::SandboxRoot();
    ASSERT_TRUE(MakeDirectory("C:\\Left"));
    standin::Reset();
    EXPECT_NE(standin::SandboxRoot(), old);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_FALSE(DirectoryExists("C:\\Left"));
    for (const char* folder : {"C:\\Program Files", "C:\\Windows", "C:\\Temp"}) EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(DirectoryExists(SpecialFolderPath(SpecialFolder::Programs)));
    EXPECT_TRUE(DirectoryExists(SpecialFolderPath(SpecialFolder::DesktopDirectory)));
    EXPECT_TRUE(DirectoryExists(TempPath()));
}

TEST_F(SandboxPaths, MakeDirectoryCreatesOneLevelOnly) {
    EXPECT_FALSE(MakeDirectory("C:\\A\\B"));
    EXPECT_EQ(SystemErrorText(), "The system cannot find the path specified.");
    EXPECT_TRUE(MakeDirectory("C:\\A\\"));
    EXPECT_TRUE(MakeDirectory("C:\\A\\B"));
    EXPECT_TRUE(fs::is_directory(Under("c/A/B")));
    EXPECT_FALSE(MakeDirectory("c:\\a"));  // already there, whatever the case
    EXPECT_FALSE(MakeDirectory("C:\\A?"));
}

TEST_F(SandboxPaths, ExistenceTestsTellFilesFromDirectories) {
    ASSERT_TRUE(MakeDirectory("C:\\Dir"));
    WriteFile("C:\\Dir\\quorvane.exe", "x");
    EXPECT_TRUE(DirectoryExists("C:\\DIR\\"));
    EXPECT_FALSE(FileExists("C:\\Dir"));
    EXPECT_TRUE(FileExists("C:\\dir\\QUORVANE.EXE"));
    EXPECT_FALSE(DirectoryExists("C:\\Dir\\quorvane.exe"));
    EXPECT_FALSE(FileExists("C:\\Dir\\missing.exe"));
}

TEST_F(SandboxPaths, CopyOverwritesAnExistingTargetAndSaysWhyItFailed) {
    WriteFile("C:\\Temp\\quorvane.exe", "new");
    WriteFile("C:\\Program Files\\quorvane.exe", "older and longer");
    EXPECT_TRUE(CopyFileOverwrite("C:\\Temp\\\\quorvane.exe", "C:\\Program Files\\quorvane.exe"));
    EXPECT_EQ(ReadFile("C:\\Program Files\\quorvane.exe"), "new");

    EXPECT_FALSE(CopyFileOverwrite("C:\\Temp\\missing.exe", "C:\\Program Files\\missing.exe"));
    EXPECT_EQ(SystemErrorText(), "The system cannot find the file specified.");
    EXPECT_FALSE(CopyFileOverwrite("C:\\Temp\\quorvane.exe", "C:\\Nowhere\\quorvane.exe"));
    EXPECT_EQ(SystemErrorText(), "The system cannot find the path specified.");
}

TEST_F(SandboxPaths, ShellListsVisibleFoldersByNameIgnoringCase) {
    for (const char* folder : {"C:\\Root", "C:\\Root\\beta", "C:\\Root\\Alpha", "C:\\Root\\.hidden",
                               "C:\\Root\\Alpha\\Inner", "C:\\Root\\gamma"})
        ASSERT_TRUE(MakeDirectory(folder)) << folder;
    WriteFile("C:\\Root\\afile", "");

    const auto root = ShellResolve("c:\\root\\");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->DisplayName, "Root");
    EXPECT_EQ(root->Path, "C:\\Root");  // spelt as on disk, no trailing backslash
    EXPECT_TRUE(root->HasSubfolders);

    const auto children = ShellSubfolders("C:\\Root");
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0].Path, "C:\\Root\\Alpha");
    EXPECT_TRUE(children[0].HasSubfolders);
    EXPECT_EQ(children[1].DisplayName, "beta");
    EXPECT_FALSE(children[1].HasSubfolders);
    EXPECT_EQ(children[2].DisplayName, "gamma");

    EXPECT_FALSE(ShellResolve("C:\\Root\\afile"));
    EXPECT_TRUE(ShellSubfolders("C:\\Missing").empty());
}

TEST_F(SandboxPaths, ShellRenameMovesTheFolderOnDiskUnlessTheNameIsTaken) {
    for (const char* folder : {"C:\\Root", "C:\\Root\\Old", "C:\\Root\\Other"}) ASSERT_TRUE(MakeDirectory(folder));
    EXPECT_FALSE(ShellRename("C:\\Root\\Old", "OTHER"));
    EXPECT_FALSE(ShellRename("C:\\Root\\Old", "bad/name"));
    EXPECT_FALSE(ShellRename("C:\\Root\\Missing", "Any"));
    EXPECT_TRUE(DirectoryExists("C:\\Root\\Old"));

    const auto renamed = ShellRename("C:\\Root\\Old", "New");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->Path, "C:\\Root\\New");
    EXPECT_EQ(renamed->DisplayName, "New");
    EXPECT_FALSE(DirectoryExists("C:\\Root\\Old"));
    EXPECT_TRUE(DirectoryExists("C:\\Root\\New"));
    EXPECT_TRUE(ShellRename("C:\\Root\\New", "new"));  // a change of case alone is a rename
}

}  // namespace
