// The dialog keyboard rules the form decides: default button and its frame, access keys,
// Tab order, arrow keys in a radio group.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/memo.h"
#include "ui/panel.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/speedbutton.h"

namespace {

// The agreement page and the bottom bar, with the tab orders of the wizard.
struct Window : TForm {
    Window() : TForm("Window", 424, 367) {
        Page.SetTabOrder(0);
        Memo.SetTabOrder(0);
        Agree.SetTabOrder(1);
        Deny.SetTabOrder(2);
        Deny.SetChecked(true);
        Hidden.SetTabOrder(3);
        Hidden.SetVisible(false);
        Bar.SetTabOrder(4);
        Edit.SetTabOrder(5);
        Bottom.SetTabOrder(1);
        Next.SetCaption("&Suivant");
        Next.SetTabOrder(0);
        Back.SetCaption("&Précedent");
        Back.SetTabOrder(1);
        SetDefaultButton(&Next);
        for (TWinControl* control : std::initializer_list<TWinControl*>{&Next, &Back, &Agree, &Deny})
            control->OnClick = [this](TComponent* sender) {
                pressed.push_back(static_cast<TControl*>(sender)->Name());
            };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TMemo Memo{&Page, "Memo", {15, 96, 394, 193}};
    TRadioButton Agree{&Page, "Agree", {126, 304, 78, 17}};
    TRadioButton Deny{&Page, "Deny", {222, 304, 78, 17}};
    TMemo Hidden{&Page, "Hidden", {15, 96, 394, 193}};
    TProgressBar Bar{&Page, "Bar", {14, 180, 398, 16}};
    TEdit Edit{&Page, "Edit", {16, 96, 393, 21}};
    TPanel Bottom{this, "Bottom", {0, 337, 424, 32}};
    TSpeedButton Close{&Bottom, "Close", {317, 5, 93, 22}};
    TButton Next{&Bottom, "Next", {200, 5, 93, 22}};
    TButton Back{&Bottom, "Back", {96, 5, 93, 22}};
    std::vector<std::string> pressed;

    TWinControl* ByName(const std::string& name) {
        for (TWinControl* control : std::initializer_list<TWinControl*>{&Memo, &Agree, &Deny, &Edit, &Next, &Back})
            if (control->Name() == name) return control;
        return nullptr;  // the window itself
    }
};

struct EnterCase {
    const char* name;
    const char* focus;
    TShiftState shift;
    bool nextEnabled, backEnabled;
    const char* pressed;  // empty: nothing
};

class EnterKey : public testing::TestWithParam<EnterCase> {};

TEST_P(EnterKey, PressesTheDefaultButtonUnlessTheFocusUsesIt) {
    const EnterCase& c = GetParam();
    Window window;
    window.Next.SetEnabled(c.nextEnabled);
    window.Back.SetEnabled(c.backEnabled);
    window.SetActiveControl(window.ByName(c.focus));
    const bool used = window.KeyDown(vk::Return, c.shift);
    const std::string expected = c.pressed;
    EXPECT_EQ(used, !expected.empty());
    EXPECT_EQ(window.pressed, expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected});
}

INSTANTIATE_TEST_SUITE_P(Form, EnterKey,
                         testing::Values(EnterCase{"FromARadioButton", "Deny", 0, true, false, "Next"},
                                         EnterCase{"FromTheEditBox", "Edit", 0, true, false, "Next"},
                                         EnterCase{"NotFromTheAgreementBox", "Memo", 0, true, false, ""},
                                         EnterCase{"NotWithShift", "Deny", ssShift, true, false, ""},
                                         EnterCase{"NotWithCtrl", "Deny", ssCtrl, true, false, ""},
                                         EnterCase{"NotWithAlt", "Deny", ssAlt, true, false, ""},
                                         EnterCase{"NothingWhenNextIsDisabled", "Agree", 0, false, true, ""},
                                         EnterCase{"BackWhenItHasTheFocus", "Back", 0, true, true, "Back"},
                                         EnterCase{"NextWhenItHasTheFocus", "Next", 0, true, true, "Next"}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Form, EscapePressesNothing) {
    Window window;
    window.SetActiveControl(&window.Deny);
    EXPECT_FALSE(window.KeyDown(vk::Escape, 0));
    EXPECT_TRUE(window.pressed.empty());
}

struct AccessCase {
    const char* name;
    const char* focus;
    char key;
    TShiftState shift;
    bool backEnabled;
    const char* pressed;
};

class AccessKeys : public testing::TestWithParam<AccessCase> {};

TEST_P(AccessKeys, PressEnabledShowingButtons) {
    const AccessCase& c = GetParam();
    Window window;
    window.Back.SetEnabled(c.backEnabled);
    window.SetActiveControl(window.ByName(c.focus));
    const bool used = window.CharTyped(c.key, c.shift);
    const std::string expected = c.pressed;
    EXPECT_EQ(used, !expected.empty());
    EXPECT_EQ(window.pressed, expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected});
}

INSTANTIATE_TEST_SUITE_P(Form, AccessKeys,
                         testing::Values(AccessCase{"AltSFromTheEditBox", "Edit", 's', ssAlt, false, "Next"},
                                         AccessCase{"SAloneFromARadioButton", "Agree", 's', 0, false, "Next"},
                                         AccessCase{"UpperCaseSAloneFromAButton", "Next", 'S', ssShift, false, "Next"},
                                         AccessCase{"SAloneInTheEditBoxIsText", "Edit", 's', 0, false, ""},
                                         AccessCase{"SAloneInTheAgreementBoxIsText", "Memo", 's', 0, false, ""},
                                         AccessCase{"PWhileBackIsDisabled", "Agree", 'p', ssAlt, false, ""},
                                         AccessCase{"PWhileBackIsEnabled", "Agree", 'p', ssAlt, true, "Back"},
                                         AccessCase{"AKeyNoButtonOwns", "Agree", 'x', ssAlt, true, ""}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Form, AHiddenButtonHasNoAccessKey) {
    Window window;
    window.Bottom.SetVisible(false);
    EXPECT_FALSE(window.CharTyped('s', ssAlt));
    EXPECT_TRUE(window.pressed.empty());
}

TEST(Form, DoubledAmpersandIsNoAccessKey) {
    Window window;
    window.Next.SetCaption("&&Suivant");
    EXPECT_EQ(window.Next.AccessKey(), 0);
    window.Next.SetCaption("Tom && &Jerry");
    EXPECT_EQ(window.Next.AccessKey(), 'J');
}

// Back is disabled under the focus when it leads back to page 1; the page of a focused
// radio button is hidden by Next.
TEST(Form, AFocusedControlDisabledOrHiddenLeavesTheFocusToTheWindow) {
    Window window;
    window.Back.SetEnabled(true);
    window.SetActiveControl(&window.Back);
    window.Back.SetEnabled(false);
    EXPECT_EQ(window.ActiveControl(), nullptr);
    EXPECT_TRUE(window.KeyDown(vk::Return, 0));
    EXPECT_EQ(window.pressed, std::vector<std::string>{"Next"});

    window.SetActiveControl(&window.Deny);
    window.Page.SetVisible(false);
    EXPECT_EQ(window.ActiveControl(), nullptr);
    window.SetActiveControl(&window.Next);
    window.Deny.SetVisible(false);  // not the focused one: nothing moves
    EXPECT_EQ(window.ActiveControl(), &window.Next);
}

// Controls go before the window: one that goes leaves no pointer behind for the focus
// moves its window's end brings about.
TEST(Form, AControlThatGoesIsNeitherFocusedNorDefault) {
    Window window;
    auto extra = std::make_unique<TButton>(&window.Bottom, "Extra", TBounds{0, 5, 93, 22});
    extra->SetTabOrder(2);
    window.SetDefaultButton(extra.get());
    window.SetActiveControl(extra.get());
    extra.reset();
    EXPECT_EQ(window.ActiveControl(), nullptr);
    EXPECT_EQ(window.DefaultButton(), nullptr);
    EXPECT_FALSE(window.KeyDown(vk::Return, 0));
}

TEST(Form, TabFollowsTheTabOrderPanelByPanel) {
    Window window;
    std::vector<std::string> visited;
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(window.KeyDown(vk::Tab, 0));
        visited.push_back(window.ActiveControl()->Name());
    }
    // The unchecked radio button, the hidden box, the bar and the mouse-only button take
    // no focus.
    EXPECT_EQ(visited, (std::vector<std::string>{"Memo", "Deny", "Edit", "Next", "Back", "Memo"}));
    window.KeyDown(vk::Tab, ssShift);
    EXPECT_EQ(window.ActiveControl()->Name(), "Back");
    window.Back.SetEnabled(false);
    window.KeyDown(vk::Tab, ssShift);
    EXPECT_EQ(window.ActiveControl()->Name(), "Next");
}

// The frame, and Enter, follow a focused push button and otherwise stay on the default one.
TEST(Form, TheDefaultFrameFollowsTheFocusedPushButton) {
    const std::vector<std::pair<const char*, const char*>> table = {
        {"Back", "Back"}, {"Next", "Next"}, {"Deny", "Next"}, {"Edit", "Next"}, {"Memo", "Next"}, {"", "Next"},
    };
    Window window;
    window.Back.SetEnabled(true);
    for (const auto& [focus, framed] : table) {
        SCOPED_TRACE(focus);
        window.SetActiveControl(window.ByName(focus));
        ASSERT_NE(window.CurrentDefaultButton(), nullptr);
        EXPECT_EQ(window.CurrentDefaultButton()->Name(), framed);
    }
    window.SetActiveControl(&window.Back);
    window.Back.SetEnabled(false);  // the focus goes back to the window
    EXPECT_EQ(window.CurrentDefaultButton(), &window.Next);
}

// Two groups on two panels; the first is created One, Two, Three and its tab order is the
// reverse.
struct Groups : TForm {
    Groups() : TForm("Groups", 424, 367) {
        One.SetTabOrder(2);
        Two.SetTabOrder(1);
        Three.SetTabOrder(0);
        Elsewhere.SetTabOrder(0);
        Elsewhere.SetChecked(true);
        for (TRadioButton* radio : {&One, &Two, &Three, &Elsewhere})
            radio->OnClick = [this](TComponent* sender) { clicks.push_back(static_cast<TControl*>(sender)->Name()); };
    }
    TPanel Page{this, "Page", {0, 0, 424, 337}};
    TRadioButton One{&Page, "One", {40, 176, 81, 17}};
    TRadioButton Two{&Page, "Two", {40, 200, 73, 17}};
    TRadioButton Three{&Page, "Three", {40, 224, 73, 17}};
    TPanel Other{this, "Other", {0, 337, 424, 32}};
    TRadioButton Elsewhere{&Other, "Elsewhere", {40, 5, 73, 17}};
    std::vector<std::string> clicks;

    TRadioButton* ByName(const std::string& name) {
        for (TRadioButton* radio : {&One, &Two, &Three})
            if (radio->Name() == name) return radio;
        return nullptr;
    }
};

struct ArrowCase {
    const char* name;
    const char* from;
    std::uint16_t key;
    const char* unavailable;  // disabled, or hidden when it starts with '-'
    const char* reached;
};

class ArrowKeys : public testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowKeys, MoveTheFocusInTheGroupAndCheckTheButtonReached) {
    const ArrowCase& c = GetParam();
    Groups groups;
    TRadioButton& from = *groups.ByName(c.from);
    from.SetChecked(true);
    groups.SetActiveControl(&from);
    groups.clicks.clear();
    if (c.unavailable[0] == '-')
        groups.ByName(c.unavailable + 1)->SetVisible(false);
    else if (c.unavailable[0])
        groups.ByName(c.unavailable)->SetEnabled(false);

    EXPECT_TRUE(groups.KeyDown(c.key, 0));
    TRadioButton& reached = *groups.ByName(c.reached);
    EXPECT_EQ(groups.ActiveControl(), &reached);
    for (TRadioButton* radio : {&groups.One, &groups.Two, &groups.Three}) {
        EXPECT_EQ(radio->Checked(), radio == &reached) << radio->Name();
        EXPECT_EQ(radio->TabStop(), radio == &reached) << radio->Name();
    }
    EXPECT_TRUE(groups.Elsewhere.Checked()) << "another panel is another group";
    EXPECT_EQ(groups.clicks, std::vector<std::string>{c.reached});
}

INSTANTIATE_TEST_SUITE_P(Form, ArrowKeys,
                         testing::Values(ArrowCase{"RightToTheNextInTabOrder", "Two", vk::Right, "", "One"},
                                         ArrowCase{"DownWrapsToTheFirst", "One", vk::Down, "", "Three"},
                                         ArrowCase{"LeftToThePrevious", "Two", vk::Left, "", "Three"},
                                         ArrowCase{"UpWrapsToTheLast", "Three", vk::Up, "", "One"},
                                         ArrowCase{"PastADisabledOne", "Three", vk::Right, "Two", "One"},
                                         ArrowCase{"PastAHiddenOne", "One", vk::Left, "-Two", "Three"}),
                         [](const auto& param) { return std::string(param.param.name); });

// The edit box, the agreement box and the folder tree use the arrows themselves.
TEST(Form, ArrowsOutsideARadioGroupAreLeftToTheControl) {
    Window window;
    for (const char* focus : {"Edit", "Memo", "Next", ""}) {
        SCOPED_TRACE(focus);
        window.SetActiveControl(window.ByName(focus));
        for (std::uint16_t key : {vk::Left, vk::Up, vk::Right, vk::Down}) EXPECT_FALSE(window.KeyDown(key, 0));
        EXPECT_EQ(window.ActiveControl(), window.ByName(focus));
    }
    EXPECT_TRUE(window.Deny.Checked());
    EXPECT_TRUE(window.pressed.empty());
}

// Keyboard alone: Tab reaches the checked button, an arrow checks the other, Tab goes on.
TEST(Form, TabAndArrowsCheckTheOtherButtonOfAGroup) {
    Window window;
    window.SetActiveControl(&window.Next);
    window.KeyDown(vk::Tab, ssShift);
    window.KeyDown(vk::Tab, ssShift);
    ASSERT_EQ(window.ActiveControl(), &window.Deny);
    EXPECT_TRUE(window.KeyDown(vk::Left, 0));
    EXPECT_EQ(window.pressed, std::vector<std::string>{"Agree"});
    EXPECT_TRUE(window.Agree.Checked());
    window.KeyDown(vk::Tab, ssShift);
    EXPECT_EQ(window.ActiveControl(), &window.Memo);
    window.KeyDown(vk::Tab, 0);
    EXPECT_EQ(window.ActiveControl(), &window.Agree) << "the group's tab stop moved with the check";
}

}  // namespace
