// Scripted message boxes, recorded shell executions and COM scopes.
#include <gtest/gtest.h>

#include "platform/posix/standin.h"
#include "platform/services.h"

namespace {

using namespace platform;

class Session : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_F(Session, MessageBoxesTakeScriptedAnswersInOrderAndAreRecorded) {
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::No, MessageBoxAnswer::Ok});
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Yes});
    EXPECT_EQ(ShowMessageBox("Overwrite?", "Directory not empty", MessageBoxKind::YesNoQuestion), MessageBoxAnswer::No);
    EXPECT_EQ(ShowMessageBox("Cannot create.", "Process canceled", MessageBoxKind::Error), MessageBoxAnswer::Ok);
    EXPECT_EQ(ShowMessageBox("Cancel?", "Quit", MessageBoxKind::YesNoExclamation), MessageBoxAnswer::Yes);
    EXPECT_EQ(standin::PendingMessageBoxAnswers(), 0u);

    const std::vector<standin::ShownMessageBox> expected = {
        {"Overwrite?", "Directory not empty", MessageBoxKind::YesNoQuestion, MessageBoxAnswer::No},
        {"Cannot create.", "Process canceled", MessageBoxKind::Error, MessageBoxAnswer::Ok},
        {"Cancel?", "Quit", MessageBoxKind::YesNoExclamation, MessageBoxAnswer::Yes},
    };
    EXPECT_EQ(standin::MessageBoxes(), expected);
}

TEST_F(Session, UnexpectedMessageBoxFailsLoudlyAndIsStillRecorded) {
    EXPECT_THROW(ShowMessageBox("Surprise", "Installation", MessageBoxKind::Error), standin::UnscriptedMessageBox);
    // An answer that is not one of the box's buttons is a script mistake, not an answer.
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Yes});
    EXPECT_THROW(ShowMessageBox("Failed", "Installation", MessageBoxKind::Error), standin::UnscriptedMessageBox);

    ASSERT_EQ(standin::MessageBoxes().size(), 2u);
    EXPECT_FALSE(standin::MessageBoxes()[0].Answer);
    EXPECT_FALSE(standin::MessageBoxes()[1].Answer);
    EXPECT_EQ(standin::PendingMessageBoxAnswers(), 1u);
}

TEST_F(Session, ShellExecutionsAreRecordedWithNullsKeptApartFromEmptyTexts) {
    ExecuteShell({ShellOwner::None, "open", "quorvane.exe", std::nullopt, "C:\\Q\\", ShowCommand::Normal});
    ExecuteShell({ShellOwner::MainWindow, std::nullopt, "http://www.quorvane.com", "", "", ShowCommand::Maximized});
    ASSERT_EQ(standin::ShellExecutions().size(), 2u);
    EXPECT_EQ(standin::ShellExecutions()[0].directory, "C:\\Q\\");
    EXPECT_FALSE(standin::ShellExecutions()[0].parameters);
    EXPECT_EQ(standin::ShellExecutions()[1].parameters, "");
    EXPECT_NE(standin::ShellExecutions()[0], standin::ShellExecutions()[1]);
}

TEST_F(Session, ComIsUninitialisedOnlyWhenItsInitialisationSucceeded) {
    {
        ComScope com;
        EXPECT_TRUE(com.Initialized());
        EXPECT_EQ(standin::ComUsers(), 1);
    }
    EXPECT_EQ(standin::ComUsers(), 0);
    standin::Refuse().ComInitialization = true;
    {
        ComScope com;
        EXPECT_FALSE(com.Initialized());
    }
    EXPECT_EQ(standin::ComUsers(), 0);
}

}  // namespace
