// Windows paths under the sandbox: the mapping, the fresh sandbox, the namespace's spelling.
// What Windows does the same way is in the services contract (tests/support).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/standin.h"
#include "platform/services.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

class SandboxPaths : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    static std::string Under(const std::string& relative) { return standin::SandboxRoot() + "/" + relative; }
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
        {"C:\\Łódź ☃\\Квн", "c/Łódź ☃/Квн"},
        {"C:\\Termin\xE9", ""},  // a code page byte is no UTF-8: no such name
        {"C:\\a\xC3", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(standin::HostPath(c.windows), c.host.empty() ? "" : Under(c.host)) << c.windows;
}

// As Windows folds them: Latin, Greek and Cyrillic capitals; other scripts as they are.
TEST_F(SandboxPaths, NamesBeyondAsciiMatchInAnyCase) {
    for (const char* folder : {"C:\\Répertoire ÀÉÎ", "C:\\ŁÓDŹ Ÿ", "C:\\Ελλάδα", "C:\\Квн Ёж", "C:\\日本"})
        ASSERT_TRUE(MakeDirectory(folder)) << folder;
    const struct {
        const char* asked;
        const char* onDisk;  // nullptr: no such folder
    } cases[] = {
        {"C:\\répertoire àéî", "Répertoire ÀÉÎ"},
        {"C:\\łódź ÿ", "ŁÓDŹ Ÿ"},
        {"C:\\ΕΛΛΆΔΑ", "Ελλάδα"},
        {"C:\\квн ёж", "Квн Ёж"},
        {"C:\\日本", "日本"},
        {"C:\\Répertoire ÀÉÏ", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryExists(c.asked), c.onDisk != nullptr) << c.asked;
        if (!c.onDisk) continue;
        const auto resolved = ShellResolve(c.asked);
        ASSERT_TRUE(resolved) << c.asked;
        EXPECT_EQ(resolved->DisplayName, c.onDisk) << c.asked;
    }
    EXPECT_FALSE(MakeDirectory("C:\\квн ёж"));  // already there
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

TEST_F(SandboxPaths, ShellResolvesAnyCaseToTheSpellingOnDiskAndTellsEmptyFolders) {
    for (const char* folder : {"C:\\Root", "C:\\Root\\Alpha", "C:\\Root\\beta", "C:\\Root\\Alpha\\Inner"})
        ASSERT_TRUE(MakeDirectory(folder)) << folder;
    const auto root = ShellResolve("c:\\root\\");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->DisplayName, "Root");
    EXPECT_EQ(root->Path, "C:\\Root");  // spelt as on disk, no trailing backslash
    EXPECT_TRUE(root->HasSubfolders);

    // Wine's shell says that any folder may have subfolders; the stand-in looks.
    const auto children = ShellSubfolders("C:\\Root");
    ASSERT_EQ(children.size(), 2u);
    EXPECT_TRUE(children[0].HasSubfolders);
    EXPECT_FALSE(children[1].HasSubfolders);
}

}  // namespace
