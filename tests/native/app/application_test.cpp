// The application frame on the stand-ins: the error box's text rule, the start-up order,
// a failure while the window is built, and the close path.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/startup.h"
#include "platform/exception.h"
#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/posix/standin.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/panel.h"
#include "ui/shelltreeview.h"

namespace {

namespace standin = platform::standin;
using platform::MessageBoxAnswer;
using platform::MessageBoxKind;

struct ErrorTextCase {
    const char* name;
    std::string message;
    std::string shown;
};

class ErrorBox : public testing::TestWithParam<ErrorTextCase> {
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_P(ErrorBox, AppendsAFullStopOnlyAfterACharacterAboveIt) {
    const ErrorTextCase& c = GetParam();
    Application.Title = "Installation";
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok});
    // Through the guard every dispatched message runs behind.
    platform::Guarded([&] { throw Exception(c.message); });
    ASSERT_EQ(standin::MessageBoxes().size(), 1u);
    EXPECT_EQ(standin::MessageBoxes()[0].Text, c.shown);
    EXPECT_EQ(standin::MessageBoxes()[0].Caption, "Installation");
    EXPECT_EQ(standin::MessageBoxes()[0].Kind, MessageBoxKind::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Application, ErrorBox,
    testing::Values(ErrorTextCase{"Letter", "Host not found", "Host not found."},
                    ErrorTextCase{"Digit", "Socket error 10061", "Socket error 10061."},
                    ErrorTextCase{"AccentedLetter", "Accès refusé", "Accès refusé."},
                    ErrorTextCase{"ClosingQuote", "Failed to set data for 'Language'",
                                  "Failed to set data for 'Language'"},
                    ErrorTextCase{"DoubleQuote", "Error setting path: \"C:\\x\"", "Error setting path: \"C:\\x\""},
                    ErrorTextCase{"Bracket", "Unable to write to (none)", "Unable to write to (none)"},
                    ErrorTextCase{"Blank", "Trailing ", "Trailing "},
                    ErrorTextCase{"FullStop", "Already ended.", "Already ended."}, ErrorTextCase{"Empty", "", ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Application, TheSilentKindShowsNothing) {
    standin::Reset();
    platform::Guarded([] { throw EAbort(); });
    EXPECT_TRUE(standin::MessageBoxes().empty());
}

TEST(Application, OtherErrorsAreShownToo) {
    standin::Reset();
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok, MessageBoxAnswer::Ok});
    platform::Guarded([] { throw std::runtime_error("disk full"); });
    platform::Guarded([] { throw 42; });
    ASSERT_EQ(standin::MessageBoxes().size(), 2u);
    EXPECT_EQ(standin::MessageBoxes()[0].Text, "disk full.");
    EXPECT_FALSE(standin::MessageBoxes()[1].Text.empty());
}

// A window with a folder tree, like the wizard's.
struct TestWindow : TForm {
    explicit TestWindow(std::string root)
        : TForm("TestWindow", 424, 367), Tree(&Page, "Directory", {16, 123, 393, 201}, std::move(root)) {
        // As in the wizard: the bottom bar comes first in the window's tab order.
        Page.SetTabOrder(2);
        Tree.SetTabOrder(0);
        Bottom.SetTabOrder(1);
        Next.SetTabOrder(0);
        Next.SetCaption("&Suivant");
        SetDefaultButton(&Next);
        Tree.OnChange = [this](TComponent*) { events.push_back("change " + Tree.Path()); };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TShellTreeView Tree;
    TPanel Bottom{this, "Bottom", {0, 337, 424, 32}};
    TButton Next{&Bottom, "Next", {200, 5, 93, 22}};
    std::vector<std::string> events;
};

TEST(Startup, AWindowThatCannotBeBuiltEndsWithTheApplicationErrorBox) {
    standin::Reset();
    standin::SetPrimaryLanguage(12);
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok});
    std::vector<std::string> order;
    TestWindow* built = nullptr;
    const int exitCode = RunApplication(
        [&] {
            order.push_back("catalogue, title " + Application.Title + ", language " +
                            std::to_string(Application.LocaleLanguage) + ", COM " +
                            std::to_string(standin::ComUsers()));
        },
        [&] {
            auto window = std::make_unique<TestWindow>("C:\\Program Files\\Missing");
            window->OnCreate = [&](TComponent*) { order.push_back("OnCreate"); };
            built = window.get();
            return std::unique_ptr<TForm>(std::move(window));
        });

    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(order, std::vector<std::string>{"catalogue, title Installation, language 12, COM 1"});
    EXPECT_NE(built, nullptr);
    ASSERT_EQ(standin::MessageBoxes().size(), 1u);
    const auto& box = standin::MessageBoxes()[0];
    EXPECT_EQ(box.Caption, "Application Error");
    EXPECT_EQ(box.Kind, MessageBoxKind::Error);
    EXPECT_TRUE(std::regex_match(box.Text, std::regex("Exception Exception in module quorvane-setup\\.exe at "
                                                      "[0-9A-F]{8,16}\\.\r\nError setting path: "
                                                      "\"C:\\\\Program Files\\\\Missing\"\\.")))
        << box.Text;
    EXPECT_EQ(standin::ComUsers(), 0) << "COM is uninitialised on the way out";
}

TEST(Startup, AnErrorInTheCatalogueEndsTheSameWay) {
    standin::Reset();
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok});
    bool windowMade = false;
    const int exitCode = RunApplication([] { throw Exception("Out of memory", "EOutOfMemory"); },
                                        [&] {
                                            windowMade = true;
                                            return std::make_unique<TestWindow>("C:\\Program Files");
                                        });
    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(windowMade);
    ASSERT_EQ(standin::MessageBoxes().size(), 1u);
    EXPECT_EQ(standin::MessageBoxes()[0].Text.rfind("Exception EOutOfMemory in module quorvane-setup.exe at ", 0), 0u);
    EXPECT_EQ(standin::MessageBoxes()[0].Text.substr(standin::MessageBoxes()[0].Text.size() - 16),
              "\r\nOut of memory.");
}

TEST(Startup, AMessageEndingInAFullStopGetsNoSecond) {
    standin::Reset();
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok});
    EXPECT_EQ(RunApplication([] { throw Exception("Already ended."); },
                             [] { return std::make_unique<TestWindow>("C:\\Program Files"); }),
              1);
    ASSERT_EQ(standin::MessageBoxes().size(), 1u);
    const std::string& text = standin::MessageBoxes()[0].Text;
    EXPECT_EQ(text.substr(text.find("\r\n")), "\r\nAlready ended.");
}

// The only test that runs the message loop: the stand-in queue remembers its quit.
TEST(Startup, RunsUntilACloseThatOnCloseAllows) {
    standin::Reset();
    standin::ScriptMessageBoxAnswers({MessageBoxAnswer::Ok, MessageBoxAnswer::Ok});
    std::vector<std::string> log;
    int closes = 0;
    const int exitCode =
        RunApplication([] {},
                       [&] {
                           auto window = std::make_unique<TestWindow>("C:\\Program Files");
                           TestWindow* w = window.get();
                           w->OnCreate = [&](TComponent*) {
                               log.push_back("OnCreate");
                               throw Exception("Creation went wrong");
                           };
                           w->OnClose = [&](TComponent*) {
                               log.push_back("OnClose");
                               if (++closes == 1) throw Exception("Cannot close yet");
                           };
                           // The first close fails and the window stays; the second ends it.
                           platform::PostTask([w] { w->Close(); });
                           platform::PostTask([w, &log] {
                               log.push_back(w->Shown() && !w->CloseRequested() ? "still open" : "closed");
                               log.push_back("focus on " + w->ActiveControl()->Name());
                               w->Close();
                               // Queued behind the quit, as a second click would be: never run.
                               platform::PostTask([&log] { log.push_back("behind the quit"); });
                           });
                           platform::PostTask([&log] { log.push_back("after the close"); });
                           return std::unique_ptr<TForm>(std::move(window));
                       });
    EXPECT_EQ(exitCode, 0);
    // The tree's first selection ran before OnCreate; the loop ended with the close.
    EXPECT_EQ(log, (std::vector<std::string>{"OnCreate", "OnClose", "still open", "focus on Next", "OnClose",
                                             "after the close"}));
    ASSERT_EQ(standin::MessageBoxes().size(), 2u);
    EXPECT_EQ(standin::MessageBoxes()[0].Text, "Creation went wrong.");
    EXPECT_EQ(standin::MessageBoxes()[1].Text, "Cannot close yet.");
    EXPECT_EQ(standin::ComUsers(), 0);
}

}  // namespace
