// Everything that closes the window. Closing posts the quit that ends the program, and the
// message queue keeps it for the life of the process, so each of these tests runs in a
// process of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "download_fixture.h"
#include "platform/messages.h"

namespace {

using platform::RootKey;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What closing the window writes, by how far the installation went and the two boxes.
struct CloseCase {
    const char* Name;
    bool Completed;
    bool AutoStart;
    bool StartNow;
};

void PrintTo(const CloseCase& close, std::ostream* out) { *out << close.Name; }

class CloseTest : public WizardFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, WritesOnlyAfterACompletedInstallationAndAsTheBoxesSay) {
    const CloseCase& close = GetParam();
    PutDownloadedFiles();
    form->TxtDir.SetText("C:\\Program Files\\Quorvane Test");
    ASSERT_TRUE(form->PrepareInstallDir());
    if (close.Completed) form->InstallFiles();
    form->ChkAutoStart.SetChecked(close.AutoStart);
    form->chkStartNow.SetChecked(close.StartNow);
    const auto valuesBefore = standin::RegistryValues();

    form->Close();
    form->Close();  // a double click on the last page's button

    const std::string dir = "C:\\Program Files\\Quorvane Test\\";
    EXPECT_TRUE(form->CloseRequested());
    if (!close.Completed) {
        EXPECT_TRUE(standin::ProfileEntries().empty());
        EXPECT_EQ(standin::RegistryValues(), valuesBefore);
        EXPECT_TRUE(standin::ShellExecutions().empty());
        return;
    }
    EXPECT_EQ(standin::ProfileEntries(),
              (std::vector<standin::ProfileEntry>{{"C:\\Windows\\Quorvane_e.ini", "Settings", "langue", "francais"}}));
    EXPECT_EQ(standin::ReadRegistry(RootKey::CurrentUser, kRunKey, "QuorvaneEntreprise"),
              close.AutoStart ? std::optional<std::string>("\"" + dir + "Quorvane.exe\"") : std::nullopt);
    const platform::ShellExecuteCall launch{platform::ShellOwner::None,   "open", "quorvane.exe", std::nullopt, dir,
                                            platform::ShowCommand::Normal};
    EXPECT_EQ(standin::ShellExecutions(), close.StartNow ? std::vector<platform::ShellExecuteCall>{launch}
                                                         : std::vector<platform::ShellExecuteCall>{});
}

INSTANTIATE_TEST_SUITE_P(Closes, CloseTest,
                         ::testing::Values(CloseCase{"BeforeCompletion", false, true, true},
                                           CloseCase{"BothCleared", true, false, false},
                                           CloseCase{"BothChecked", true, true, true}),
                         [](const auto& test) { return std::string(test.param.Name); });

using CancelTest = DownloadTest;

TEST_F(CancelTest, BeforeAnyClientClosesWithoutTouchingTheNetwork) {
    OnDirectoryPage("C:\\Apps");
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::No, platform::MessageBoxAnswer::Yes});

    form->BitBtn2Click(&form->BtnClose);
    EXPECT_FALSE(form->CloseRequested());
    form->BitBtn2Click(&form->BtnClose);

    EXPECT_TRUE(form->CloseRequested());
    EXPECT_FALSE(form->Cancelled);
    EXPECT_EQ(form->Http, nullptr);
    EXPECT_TRUE(server.Requests().empty());
    const std::string question = "Êtes-vous certain de vouloir arrêter l'installation de Quorvane?";
    EXPECT_EQ(standin::MessageBoxes(),
              (std::vector<standin::ShownMessageBox>{
                  {question, "Suspendre?", platform::MessageBoxKind::YesNoQuestion, platform::MessageBoxAnswer::No},
                  {question, "Suspendre?", platform::MessageBoxKind::YesNoQuestion, platform::MessageBoxAnswer::Yes}}));
}

TEST_F(CancelTest, AnsweredYesDuringADownloadEndsItAndInstallsNothing) {
    server.Play({Send(Ok(Served("quorvane.exe")))});
    server.Play({Hold()});
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Yes});
    RecordingPeer& status = Record(form->LblStatus);
    // The user presses Cancel once the second file's server has answered the connection.
    status.OnChanged = [&](platform::PeerChange) {
        if (form->LblStatus.Caption() == "Statut : Téléchargement de quorvane.ini") form->BitBtn2Click(&form->BtnClose);
    };

    const auto message = InstallFromPage3();

    // The text names the stage the client was in when the abort came.
    const std::vector<std::string> abortTexts{"Connection Canceled", "Socket readln aborted", "Socket send aborted"};
    ASSERT_TRUE(message);
    EXPECT_NE(std::find(abortTexts.begin(), abortTexts.end(), *message), abortTexts.end()) << *message;
    EXPECT_TRUE(form->Cancelled);
    EXPECT_TRUE(form->CloseRequested());
    // Nothing after the second file: whether its request reached the server depends on how
    // far the send had gone when the abort came, and the server records on its own thread.
    const auto lines = RequestLines();
    ASSERT_GE(lines.size(), 1u);
    EXPECT_LE(lines.size(), 2u);
    EXPECT_EQ(lines[0], RequestLine("quorvane.exe"));
    ExpectNothingPlaced();
    EXPECT_TRUE(standin::ProfileEntries().empty());
}

// The close box asks the program to end but stops nothing: the transfer goes on, the files
// are placed, and the close handler, which ran before completion, wrote nothing.
TEST_F(CancelTest, CloseBoxDuringADownloadStopsNothing) {
    for (const char* name : kProductFiles) server.Play({Send(Ok(Served(name)))});
    RecordingPeer& status = Record(form->LblStatus);
    status.OnChanged = [&](platform::PeerChange) {
        if (form->LblStatus.Caption() == "Statut : Téléchargement de quorvane.ini" && !form->CloseRequested())
            form->Close();
    };

    EXPECT_EQ(InstallFromPage3(), std::nullopt);

    EXPECT_TRUE(form->CloseRequested());
    EXPECT_TRUE(platform::QuitReceived());
    EXPECT_EQ(RequestLines().size(), 4u);
    for (const char* name : kProductFiles) EXPECT_EQ(ReadFile(std::string("C:\\Apps\\") + name), Served(name)) << name;
    EXPECT_TRUE(form->Completed);
    EXPECT_TRUE(standin::ProfileEntries().empty());
    EXPECT_EQ(standin::ReadRegistry(RootKey::CurrentUser, kRunKey, "QuorvaneEntreprise"), std::nullopt);
    EXPECT_TRUE(standin::ShellExecutions().empty());
}

TEST_F(CancelTest, UnknownServerShowsItsBoxClosesAndInstallsNothing) {
    UseHost("quorvane.invalid");
    standin::ScriptMessageBoxAnswers({platform::MessageBoxAnswer::Ok});

    const auto message = InstallFromPage3();

    EXPECT_EQ(message, "Null Remote Address");
    EXPECT_EQ(
        standin::MessageBoxes(),
        (std::vector<standin::ShownMessageBox>{{"Serveur ou mise à jour introuvable", "Processus interrompu",
                                                platform::MessageBoxKind::Error, platform::MessageBoxAnswer::Ok}}));
    EXPECT_TRUE(form->CloseRequested());
    EXPECT_FALSE(form->Cancelled);
    ExpectNothingPlaced();
}

}  // namespace
