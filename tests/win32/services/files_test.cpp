// Special folders, the temporary directory, copies, directories, shell links, shell
// execution, the shell namespace and the thread locale, made for real and read back.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/exception.h"
#include "platform/services.h"
#include "platform/win32/handle.h"

namespace {

using namespace platform;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string SystemText(DWORD code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= ' ') --length;
    return std::string(text, length);
}

// A fresh folder under the temporary directory for each test, removed afterwards.
class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = TempPath() + "quorvane-services-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir_);
        ASSERT_TRUE(MakeDirectory(dir_));
        dir_ += "\\";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    ComScope com_;
    std::string dir_;  // ends in a backslash
};

TEST_F(Files, SpecialFoldersAndTempPathAreExistingDirectories) {
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

TEST_F(Files, TempPathAddsTheBackslashAndNeverOverrunsItsBuffer) {
    char saved[MAX_PATH + 1] = {};
    const bool hadTmp = GetEnvironmentVariableA("TMP", saved, sizeof saved) > 0;
    SetEnvironmentVariableA("TMP", "C:\\QuorvaneTmp");
    EXPECT_EQ(TempPath(), "C:\\QuorvaneTmp\\");
    SetEnvironmentVariableA("TMP", ("C:\\" + std::string(300, 't')).c_str());
    EXPECT_EQ(TempPath(), "");  // the system would need more than 260 characters
    SetEnvironmentVariableA("TMP", hadTmp ? saved : nullptr);
}

TEST_F(Files, DirectoriesAreCreatedOneLevelAtATimeAndTestedForKind) {
    EXPECT_FALSE(MakeDirectory(dir_ + "A\\B"));
    EXPECT_EQ(SystemErrorText(), SystemText(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(MakeDirectory(dir_ + "A\\"));
    EXPECT_TRUE(MakeDirectory(dir_ + "A\\B"));
    EXPECT_FALSE(MakeDirectory(dir_ + "A"));
    EXPECT_EQ(SystemErrorText(), SystemText(ERROR_ALREADY_EXISTS));

    WriteFile(dir_ + "A\\quorvane.exe", "x");
    const struct {
        std::string path;
        bool directory, file;
    } cases[] = {
        {dir_ + "A", true, false},
        {dir_ + "A\\B\\", true, false},
        {dir_ + "A\\quorvane.exe", false, true},
        {dir_ + "A\\missing.exe", false, false},
        {dir_ + "missing\\", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryExists(c.path), c.directory) << c.path;
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    }
}

TEST_F(Files, CopyOverwritesAnExistingTargetAndReportsTheSystemsReason) {
    WriteFile(dir_ + "source.exe", "new");
    WriteFile(dir_ + "target.exe", "older and longer");
    EXPECT_TRUE(CopyFileOverwrite(dir_ + "\\source.exe", dir_ + "target.exe"));  // doubled backslash accepted
    EXPECT_EQ(ReadFile(dir_ + "target.exe"), "new");
    EXPECT_EQ(ReadFile(dir_ + "source.exe"), "new");

    EXPECT_FALSE(CopyFileOverwrite(dir_ + "missing.exe", dir_ + "copy.exe"));
    EXPECT_EQ(SystemErrorText(), SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(FileExists(dir_ + "copy.exe"));
}

struct LinkFields {
    std::string target, arguments, directory;
    bool operator==(const LinkFields&) const = default;
};

LinkFields ReadLink(const std::string& path) {
    win32::ComPtr<IShellLinkA> link;
    win32::ComPtr<IPersistFile> file;
    LinkFields fields;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return fields;
    std::wstring wide(path.begin(), path.end());
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return {"(not loaded)", "", ""};
    char text[MAX_PATH + 1] = {};
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    fields.target = text;
    link->GetArguments(text, sizeof text);
    fields.arguments = text;
    link->GetWorkingDirectory(text, sizeof text);
    fields.directory = text;
    return fields;
}

TEST_F(Files, ShellLinksHoldTargetArgumentsAndWorkingDirectory) {
    WriteFile(dir_ + "quorvane.exe", "x");
    WriteFile(dir_ + "miseajour.exe", "x");
    const struct {
        std::string linkPath;
        LinkFields fields;
    } cases[] = {
        {dir_ + "Quorvane.Lnk", {dir_ + "quorvane.exe", "", dir_}},
        {dir_ + "\\miseajour.Lnk", {dir_ + "miseajour.exe", "-silent \"x y\"", dir_}},  // folder + "\" + name
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CreateShellLink(c.fields.target, c.fields.arguments, c.fields.directory, c.linkPath))
            << SystemErrorText();
        EXPECT_EQ(ReadLink(c.linkPath), c.fields) << c.linkPath;
    }
    // Saving again over an existing link replaces it.
    ASSERT_TRUE(CreateShellLink(dir_ + "miseajour.exe", "", dir_, dir_ + "Quorvane.Lnk"));
    EXPECT_EQ(ReadLink(dir_ + "Quorvane.Lnk"), (LinkFields{dir_ + "miseajour.exe", "", dir_}));
}

TEST_F(Files, LinkSaveFailureIsReportedWithTheSystemsReason) {
    EXPECT_FALSE(CreateShellLink(dir_ + "quorvane.exe", "", dir_, dir_ + "missing\\Quorvane.Lnk"));
    EXPECT_FALSE(SystemErrorText().empty());
    EXPECT_FALSE(FileExists(dir_ + "missing\\Quorvane.Lnk"));
}

TEST_F(Files, LinkObjectThatCannotBeCreatedRaisesTheSystemsMessage) {
    // A thread that never initialised COM cannot create the object.
    std::string raised = "(nothing raised)";
    std::thread([&] {
        try {
            CreateShellLink(dir_ + "quorvane.exe", "", dir_, dir_ + "Quorvane.Lnk");
        } catch (const Exception& error) {
            raised = error.Message;
        }
    }).join();
    const std::string system = SystemText(static_cast<DWORD>(CO_E_NOTINITIALIZED));
    EXPECT_EQ(raised, system.empty() ? "OLE error 800401f0" : system);
}

TEST_F(Files, ShellOpenFindsTheBareFileNameInTheGivenDirectory) {
    WriteFile(dir_ + "run.bat", "@echo %CD%> ran.txt\r\n");
    ExecuteShell({ShellOwner::None, "open", "run.bat", std::nullopt, dir_, ShowCommand::Normal});
    std::string ran;
    for (int attempt = 0; attempt < 200 && ran.empty(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ran = ReadFile(dir_ + "ran.txt");
    }
    EXPECT_EQ(ran, dir_.substr(0, dir_.size() - 1) + "\r\n");
}

TEST_F(Files, ShellNamespaceListsVisibleFoldersAndRenames) {
    for (const char* folder : {"beta", "Alpha", "Alpha\\Inner", "Hidden"}) ASSERT_TRUE(MakeDirectory(dir_ + folder));
    SetFileAttributesA((dir_ + "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFile(dir_ + "afile.txt", "");

    const auto root = ShellResolve(dir_);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Path + "\\", dir_);
    EXPECT_TRUE(EndsWith(dir_, root->DisplayName + "\\")) << root->DisplayName;

    const auto children = ShellSubfolders(dir_.substr(0, dir_.size() - 1));
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].DisplayName, "Alpha");
    EXPECT_EQ(children[0].Path, dir_ + "Alpha");
    EXPECT_TRUE(children[0].HasSubfolders);
    EXPECT_EQ(children[1].DisplayName, "beta");
    EXPECT_FALSE(children[0].Shared);

    EXPECT_FALSE(ShellResolve(dir_ + "missing"));
    EXPECT_FALSE(ShellResolve(dir_ + "afile.txt"));  // a file is no folder
    EXPECT_TRUE(ShellSubfolders(dir_ + "missing").empty());

    const auto renamed = ShellRename(dir_ + "beta", "Gamma");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->Path, dir_ + "Gamma");
    EXPECT_EQ(renamed->DisplayName, "Gamma");
    EXPECT_TRUE(DirectoryExists(dir_ + "Gamma"));
    EXPECT_FALSE(DirectoryExists(dir_ + "beta"));
    EXPECT_FALSE(ShellRename(dir_ + "Gamma", "Alpha"));  // taken
    EXPECT_TRUE(DirectoryExists(dir_ + "Gamma"));
}

TEST(Locale, PrimaryLanguageIsTheLowTenBitsOfTheThreadLocale) {
    const LCID saved = GetThreadLocale();
    const struct {
        LANGID language;
        int primary;
    } cases[] = {
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), 12},
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), 12},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 9},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 7},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetThreadLocale(MAKELCID(c.language, SORT_DEFAULT)));
        EXPECT_EQ(PrimaryLanguage(), c.primary) << c.language;
    }
    SetThreadLocale(saved);
}

}  // namespace
