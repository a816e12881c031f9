// What only Windows can show: the temporary directory from the environment, COM missing
// on a thread, a shell execution that really runs, and the thread locale. The rest of the
// services is in the services contract (tests/support).
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "files.h"
#include "platform/services.h"
#include "platform/win32/system_text.h"
#include "raised.h"

namespace {

using namespace platform;

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

TEST_F(Files, TempPathAddsTheBackslashAndNeverOverrunsItsBuffer) {
    char saved[MAX_PATH + 1] = {};
    const bool hadTmp = GetEnvironmentVariableA("TMP", saved, sizeof saved) > 0;
    SetEnvironmentVariableA("TMP", "C:\\QuorvaneTmp");
    EXPECT_EQ(TempPath(), "C:\\QuorvaneTmp\\");
    SetEnvironmentVariableA("TMP", ("C:\\" + std::string(300, 't')).c_str());
    EXPECT_EQ(TempPath(), "");  // the system would need more than 260 characters
    SetEnvironmentVariableA("TMP", hadTmp ? saved : nullptr);
}

TEST_F(Files, LinkObjectThatCannotBeCreatedRaisesTheSystemsMessage) {
    // A thread that never initialised COM cannot create the object.
    std::optional<std::string> raised;
    std::thread([&] {
        raised = RaisedMessage([&] { CreateShellLink(dir_ + "quorvane.exe", "", dir_, dir_ + "Quorvane.Lnk"); });
    }).join();
    const std::string system = win32::SystemMessage(static_cast<DWORD>(CO_E_NOTINITIALIZED));
    EXPECT_EQ(raised, system.empty() ? "OLE error 800401F0" : system);
}

TEST(SystemText, AComResultWithoutASystemMessageShowsItsCodeInUpperCase) {
    ASSERT_TRUE(win32::SystemMessage(0x8004FEDCu).empty());
    EXPECT_EQ(win32::OleErrorText(static_cast<HRESULT>(0x8004FEDCu)), "OLE error 8004FEDC");
}

TEST_F(Files, ShellOpenFindsTheBareFileNameInTheGivenDirectory) {
    WriteFile(dir_ + "run.bat", "@echo %CD%> ran.txt\r\n");
    ExecuteShell({ShellOwner::None, "open", "run.bat", std::nullopt, dir_, ShowCommand::Normal});
    std::string ran;  // read until its line has ended: the command may be caught writing
    for (int attempt = 0; attempt < 200 && !ran.ends_with("\r\n"); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ran = ReadFile(dir_ + "ran.txt").value_or("");
    }
    EXPECT_EQ(ran, dir_.substr(0, dir_.size() - 1) + "\r\n");
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
