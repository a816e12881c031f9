// Walking the wizard on the stand-in as a user would: the start state by locale, the
// button states after every transition, the language stored each time page 2 is shown,
// the directory box and the overwrite question.
#include <algorithm>
#include <filesystem>
#include <string>

#include "../net/script_server.h"
#include "files.h"

#include "platform/exception.h"
#include "platform/messages.h"
#include "reply.h"
#include "wizard_window.h"

namespace {

const char* const kProductKey = "Software\\Quorvane\\Quorvane\\entreprise";
const std::string kFrenchDefault = "C:\\Program Files\\Quorvane\\Entreprise\\";
const std::string kEnglishDefault = "C:\\Program Files\\Quorvane\\Enterprise\\";

enum Page { Page1 = 1, Page2, Page3, Page4, Page5 };

struct ButtonStates {
    bool Back;
    bool Next;
    const char* NextCaption;
    bool Cancel;
};

class NavigationTest : public WizardWindowTest {
protected:
    int ShownPage() const {
        const TPanel* pages[] = {&window->PnlStep1, &window->PnlStep2, &window->PnlStep3, &window->PnlStep4,
                                 &window->Pnlstep5};
        int shown = 0;
        for (int i = 0; i < 5; ++i) {
            if (!pages[i]->Visible()) continue;
            EXPECT_EQ(shown, 0) << "two pages visible";
            shown = i + 1;
        }
        return shown;
    }

    void ExpectPage(Page page, const ButtonStates& states) const {
        EXPECT_EQ(ShownPage(), page);
        EXPECT_EQ(window->btnBack.Enabled(), states.Back) << "Back on page " << page;
        EXPECT_EQ(window->BtnNext.Enabled(), states.Next) << "Next on page " << page;
        EXPECT_EQ(window->BtnNext.Caption(), states.NextCaption) << "on page " << page;
        EXPECT_EQ(window->BtnClose.Enabled(), states.Cancel) << "Cancel on page " << page;
    }

    static std::optional<std::string> StoredLanguage() {
        return standin::ReadRegistry(platform::RootKey::LocalMachine, kProductKey, "Language");
    }

    static void StoreLanguage(const std::string& value) {
        platform::RegistryKey::Create(platform::RootKey::LocalMachine, kProductKey)->WriteString("Language", value);
    }

    static void PutFile(const std::string& windowsPath) { WriteFile(standin::HostPath(windowsPath), "old"); }

    // The vendor host: a loopback server's port, or one nobody listens on.
    void UseHostPort(std::uint16_t port) { window->DownloadHost = "127.0.0.1:" + std::to_string(port); }

    // Pages 1 and 2 passed with "I agree".
    void ToDirectoryPage() {
        window->BtnNext.Click();
        window->rdoagree.Click();
        window->BtnNext.Click();
        ASSERT_EQ(ShownPage(), Page3);
    }
};

TEST_F(NavigationTest, LocaleChoosesTheLanguageAndTheStartState) {
    const struct {
        int Locale;
        const char* Language;
        bool French;
        const char* Next;
        const char* Title;
        const std::string& Directory;
    } cases[] = {
        {12, "francais", true, "&Suivant", "Installation de Quorvane", kFrenchDefault},
        {9, "anglais", false, "&Next", "Quorvane installation", kEnglishDefault},
        {7, "francais", true, "&Suivant", "Installation de Quorvane", kFrenchDefault},  // German
        {0, "francais", true, "&Suivant", "Installation de Quorvane", kFrenchDefault},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locale);
        TearDown();
        SetUp();
        TfInstall& w = Start(c.Locale);
        EXPECT_EQ(catalogue.Language(), c.Language);
        EXPECT_EQ(w.rdoFrench.Checked(), c.French);
        EXPECT_EQ(w.RdoEnglish.Checked(), !c.French);
        EXPECT_EQ(w.Caption(), c.Title);
        EXPECT_EQ(w.TxtDir.Text(), c.Directory);
        EXPECT_EQ(w.memLicenseEntreFr.Visible(), c.French);
        EXPECT_EQ(w.memLicenceEn.Visible(), !c.French);
        for (TMemo* never : {&w.memLicenseProFr, &w.memLicenseDeBaseFr, &w.memLicenseDeBaseEn})
            EXPECT_FALSE(never->Visible()) << never->Name();
        EXPECT_TRUE(w.rdoDeny.Checked());
        ExpectPage(Page1, {false, true, c.Next, true});
        EXPECT_EQ(w.ActiveControl(), &w.BtnNext);
        EXPECT_EQ(StoredLanguage(), std::nullopt);  // page 2 not shown yet
        EXPECT_TRUE(standin::MessageBoxes().empty());
    }
}

TEST_F(NavigationTest, CreationFillsTheFieldsAndPostsTheBarColour) {
    standin::SetTempPath("C:\\" + std::string(300, 'T') + "\\");
    TfInstall& w = Start(12);
    EXPECT_EQ(w.ProgramsDir, "C:\\Users\\Standin\\Start Menu\\Programs\\");
    EXPECT_EQ(w.DesktopDir, "C:\\Users\\Standin\\Desktop");
    EXPECT_EQ(std::string(w.TempDir.data()), "C:\\" + std::string(257, 'T'));  // 260 kept, then the zero
    EXPECT_FALSE(w.Cancelled);
    EXPECT_FALSE(w.Completed);
    EXPECT_EQ(w.InstallDir, "");
    EXPECT_NE(w.ProgBarDL.BarColor(), 0xFF8000u);  // posted, not yet delivered
    platform::ProcessMessages();
    EXPECT_EQ(w.ProgBarDL.BarColor(), 0xFF8000u);
}

// A character beyond ASCII takes several bytes: 260 characters of them still fit, whole.
TEST_F(NavigationTest, TempDirKeepsAtMost260WholeCharactersOfAnyWidth) {
    const auto repeated = [](const std::string& character, int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += character;
        return text;
    };
    const struct {
        std::string temp, kept;
    } cases[] = {
        {"C:\\Temp ☃\\", "C:\\Temp ☃\\"},
        {"C:\\" + repeated("Ж", 256) + "\\", "C:\\" + repeated("Ж", 256) + "\\"},
        {"C:\\" + repeated("Ж", 300) + "\\", "C:\\" + repeated("Ж", 257)},
        {"C:\\" + repeated("\xF0\x9F\x98\x80", 300), "C:\\" + repeated("\xF0\x9F\x98\x80", 257)},
    };
    for (const auto& c : cases) {
        standin::SetTempPath(c.temp);
        const TfInstall& w = Start(12);
        EXPECT_EQ(std::string(w.TempDir.data()), c.kept) << c.temp;
    }
}

TEST_F(NavigationTest, ProgramsFolderGetsOneBackslashAndAMissingOneStaysEmpty) {
    standin::SetSpecialFolder(platform::SpecialFolder::Programs, "C:\\Menu\\");
    standin::SetSpecialFolder(platform::SpecialFolder::DesktopDirectory, "");
    TfInstall& w = Start(12);
    EXPECT_EQ(w.ProgramsDir, "C:\\Menu\\");
    EXPECT_EQ(w.DesktopDir, "");
    TearDown();
    SetUp();
    standin::SetSpecialFolder(platform::SpecialFolder::Programs, "");
    EXPECT_EQ(Start(12).ProgramsDir, "");
}

TEST_F(NavigationTest, ButtonStatesAlongTheWayForwardAndBack) {
    TfInstall& w = Start(12);
    ExpectPage(Page1, {false, true, "&Suivant", true});

    w.BtnNext.Click();
    ExpectPage(Page2, {true, false, "&Suivant", true});
    EXPECT_TRUE(w.rdoDeny.Checked());
    w.BtnNext.Click();  // disabled: nothing
    EXPECT_EQ(ShownPage(), Page2);
    w.rdoagree.Click();
    ExpectPage(Page2, {true, true, "&Suivant", true});

    w.BtnNext.Click();
    ExpectPage(Page3, {true, true, "&Installer", true});

    w.btnBack.Click();
    ExpectPage(Page2, {true, false, "&Suivant", true});
    EXPECT_TRUE(w.rdoDeny.Checked());

    w.btnBack.Click();
    ExpectPage(Page1, {false, true, "&Suivant", true});
    w.btnBack.Click();  // disabled on page 1
    EXPECT_EQ(ShownPage(), Page1);
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST_F(NavigationTest, LanguageStoredEachTimePageTwoIsShown) {
    TfInstall& w = Start(12);
    w.BtnNext.Click();
    EXPECT_EQ(StoredLanguage(), "francais");

    w.btnBack.Click();
    w.RdoEnglish.Click();
    EXPECT_EQ(StoredLanguage(), "francais");  // only page 2 stores it
    w.BtnNext.Click();
    EXPECT_EQ(StoredLanguage(), "anglais");
    ExpectPage(Page2, {true, false, "&Next", true});

    w.rdoagree.Click();
    w.BtnNext.Click();
    StoreLanguage("something else");
    w.btnBack.Click();
    EXPECT_EQ(StoredLanguage(), "anglais");
}

TEST_F(NavigationTest, LanguageNotStoredWithoutTheRightToCreateTheKey) {
    TfInstall& w = Start(9);
    standin::Refuse().LocalMachineKeys = true;
    w.BtnNext.Click();
    EXPECT_EQ(ShownPage(), Page2);
    EXPECT_FALSE(standin::RegistryKeyExists(platform::RootKey::LocalMachine, kProductKey));
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST_F(NavigationTest, LanguageSwitchResetsTheDirectoryBoxAndTheNextCaption) {
    TfInstall& w = Start(12);
    ToDirectoryPage();
    w.TxtDir.TextEdited("D:\\Mine");
    w.btnBack.Click();
    w.btnBack.Click();
    ASSERT_EQ(ShownPage(), Page1);
    EXPECT_EQ(w.TxtDir.Text(), "D:\\Mine");

    w.RdoEnglish.Click();
    EXPECT_EQ(w.TxtDir.Text(), kEnglishDefault);
    EXPECT_EQ(w.BtnNext.Caption(), "&Next");
    EXPECT_TRUE(w.memLicenceEn.Visible());
    EXPECT_FALSE(w.memLicenseEntreFr.Visible());

    w.RdoEnglish.Click();  // already checked: nothing, not even the box reset
    w.TxtDir.SetText("E:\\Other");
    w.RdoEnglish.Click();
    EXPECT_EQ(w.TxtDir.Text(), "E:\\Other");

    w.rdoFrench.Click();
    EXPECT_EQ(w.TxtDir.Text(), kFrenchDefault);
    EXPECT_EQ(w.BtnNext.Caption(), "&Suivant");
}

TEST_F(NavigationTest, TreeSelectionReplacesTheTypedDirectory) {
    platform::MakeDirectory("C:\\Program Files\\Acme");
    TfInstall& w = Start(12);
    ToDirectoryPage();
    w.TxtDir.TextEdited("C:\\typed by hand");
    TShellTreeView::Node* root = w.Directory.RootNode();
    ASSERT_NE(root, nullptr);
    ASSERT_FALSE(root->Children.empty());
    TShellTreeView::Node* acme = nullptr;
    for (auto& child : root->Children)
        if (child->Folder.DisplayName == "Acme") acme = child.get();
    ASSERT_NE(acme, nullptr);
    w.Directory.Select(acme);
    EXPECT_EQ(w.TxtDir.Text(), "C:\\Program Files\\Acme\\Quorvane\\Entreprise\\");
    w.Directory.Select(root);
    EXPECT_EQ(w.TxtDir.Text(), "C:\\Program Files\\Quorvane\\Entreprise\\");
}

TEST_F(NavigationTest, EmptyDirectoryDisablesNextAndOneCharacterEnablesIt) {
    TfInstall& w = Start(9);
    ToDirectoryPage();
    w.TxtDir.TextEdited("");
    ExpectPage(Page3, {true, false, "&Install", true});
    w.TxtDir.TextEdited("C");
    ExpectPage(Page3, {true, true, "&Install", true});

    // Coming to page 3 with an empty box leaves Next disabled.
    w.TxtDir.TextEdited("");
    w.btnBack.Click();
    w.rdoagree.Click();
    w.BtnNext.Click();
    ExpectPage(Page3, {true, false, "&Install", true});
}

TEST_F(NavigationTest, OverwriteQuestionWithOrWithoutTheSeparatorAndNoChangesNothing) {
    for (const char* typed : {"C:\\Apps", "C:\\Apps\\"}) {
        SCOPED_TRACE(typed);
        TearDown();
        SetUp();
        platform::MakeDirectory("C:\\Apps");
        PutFile("C:\\Apps\\quorvane.exe");
        TfInstall& w = Start(12);
        ToDirectoryPage();
        w.TxtDir.TextEdited(typed);
        standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::No});
        w.BtnNext.Click();
        ASSERT_EQ(standin::MessageBoxes().size(), 1u);
        const standin::ShownMessageBox& box = standin::MessageBoxes()[0];
        EXPECT_EQ(box.Text,
                  "Il existe déjà une version de Quorvane dans le répertoire sélectionné. Êtes-vous "
                  "certain de vouloir la remplacer ?");
        EXPECT_EQ(box.Caption, "Répertoire non-vide");
        EXPECT_EQ(box.Kind, platform::MessageBoxKind::YesNoExclamation);
        ExpectPage(Page3, {true, true, "&Installer", true});
        EXPECT_EQ(w.TxtDir.Text(), typed);
        EXPECT_EQ(w.InstallDir, "");
    }
}

TEST_F(NavigationTest, NoQuestionWithoutTheProductAndAFailedDirectoryReturnsToPageThree) {
    TfInstall& w = Start(9);
    ToDirectoryPage();
    w.TxtDir.TextEdited("C:\\Nowhere\\Quorvane");
    PutFile("C:\\Program Files\\quorvane.exe");  // elsewhere: no question
    standin::Refuse().DirectoryCreation = true;
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Ok, platform::MessageBoxAnswer::Ok});
    w.BtnNext.Click();
    ASSERT_EQ(standin::MessageBoxes().size(), 2u);
    for (const standin::ShownMessageBox& box : standin::MessageBoxes()) {
        EXPECT_EQ(box.Text, "Cannot create the directory. Check the syntax.");
        EXPECT_EQ(box.Kind, platform::MessageBoxKind::Error);
    }
    ExpectPage(Page3, {true, true, "&Install", true});
}

TEST_F(NavigationTest, YesStartsTheInstallationOnPageFourWithBackAndNextDisabled) {
    platform::MakeDirectory("C:\\Apps");
    PutFile("C:\\Apps\\quorvane.exe");
    TfInstall& w = Start(12);
    ToDirectoryPage();
    w.TxtDir.TextEdited("C:\\Apps");
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Yes});
    UseHostPort(ScriptServer::RefusingPort());
    // Nothing listens on the download port: the download stage's error ends the handler
    // on page 4, where the frame would show it.
    EXPECT_THROW(w.BtnNext.Click(), Exception);
    EXPECT_EQ(standin::MessageBoxes().size(), 1u);
    EXPECT_EQ(w.InstallDir, "C:\\Apps");
    ExpectPage(Page4, {false, false, "&Installer", true});
    w.BtnNext.Click();  // disabled on page 4
    w.btnBack.Click();
    EXPECT_EQ(ShownPage(), Page4);
}

TEST_F(NavigationTest, AfterTheInstallationPageFiveWithOnlyNextEnabled) {
    ScriptServer server;
    for (const char* name : {"quorvane.exe", "quorvane.ini", "miseajour.exe", "uninstall.exe"}) {
        const std::string body = std::string("served ") + name;
        server.Play({Send(Ok(body))});
        // The placement copies from the sandbox's temporary directory.
        WriteFile(standin::HostPath(platform::TempPath() + name), body);
    }
    // The transport saves under the working directory, with the Windows path as the name.
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path scratch = std::filesystem::path(standin::SandboxRoot()) / "transport";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);

    TfInstall& w = Start(12);
    UseHostPort(server.Port());
    ToDirectoryPage();
    w.TxtDir.TextEdited("C:\\Apps");
    w.BtnNext.Click();
    std::filesystem::current_path(previous);

    EXPECT_TRUE(w.Completed);
    ExpectPage(Page5, {false, true, "Terminé", false});
    EXPECT_EQ(server.Requests().size(), 4u);
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

}  // namespace
