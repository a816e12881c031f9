// Toolkit rules the wizard's handlers rely on, on the stand-in peer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/messages.h"
#include "platform/peers.h"
#include "raised.h"
#include "recording_peer.h"
#include "ui/checkbox.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/speedbutton.h"

namespace {

struct Page : TForm {
    Page() : TForm("Page", 424, 367) {}
    TPanel Panel{this, "Panel", {0, 0, 424, 337}};
    TRadioButton First{&Panel, "First", {40, 176, 81, 17}};
    TRadioButton Second{&Panel, "Second", {40, 200, 73, 17}};
    TCheckBox Check{&Panel, "Check", {48, 160, 249, 17}};
    TEdit Edit{&Panel, "Edit", {16, 96, 393, 21}};
    TPanel Other{this, "Other", {0, 0, 424, 337}};
    TRadioButton OtherRadio{&Other, "OtherRadio", {40, 176, 81, 17}};
};

TEST(Captions, AnEqualAssignmentTellsNobody) {
    Page page;
    int changes = 0;
    const RecordingPeer& peer = Record(page.Edit);
    page.Edit.OnChange = [&](TComponent*) { ++changes; };

    page.Edit.SetText("C:\\Program Files");
    page.Edit.SetText("C:\\Program Files");
    page.Edit.SetText("c:\\program files");     // case counts
    page.Edit.TextEdited("c:\\program files");  // the peer echoing our own assignment
    page.Edit.SetText("");
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(peer.Changes.size(), 3u);
}

TEST(RadioButtons, CheckingOneUnchecksItsGroupThenClicksOnce) {
    Page page;
    std::vector<std::string> clicks;
    page.First.SetChecked(true);  // stored state: no handler yet
    page.First.OnClick = [&](TComponent* sender) { clicks.push_back(static_cast<TControl*>(sender)->Name()); };
    page.Second.OnClick = page.First.OnClick;
    page.OtherRadio.SetChecked(true);

    page.First.SetChecked(true);  // already checked
    page.First.Click();
    EXPECT_TRUE(clicks.empty());

    page.Second.SetChecked(true);
    EXPECT_EQ(clicks, std::vector<std::string>{"Second"});
    EXPECT_FALSE(page.First.Checked());
    EXPECT_TRUE(page.Second.TabStop());
    EXPECT_FALSE(page.First.TabStop());
    EXPECT_TRUE(page.OtherRadio.Checked()) << "another panel is another group";

    page.First.Click();
    EXPECT_EQ(clicks, (std::vector<std::string>{"Second", "First"}));
    page.First.SetChecked(false);  // unchecking by code raises nothing
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_FALSE(page.First.Checked());
}

TEST(Panels, HiddenPanelsKeepTheirControlsState) {
    Page page;
    page.Second.SetChecked(true);
    page.Check.SetChecked(true);
    page.Edit.SetText("D:\\Quorvane");
    page.Panel.SetVisible(false);
    EXPECT_FALSE(page.Edit.Showing());
    EXPECT_FALSE(page.Edit.CanFocus());
    page.Panel.SetVisible(true);
    EXPECT_TRUE(page.Second.Checked());
    EXPECT_TRUE(page.Check.Checked());
    EXPECT_EQ(page.Edit.Text(), "D:\\Quorvane");
}

struct LabelCase {
    const char* name;
    TBounds stored;
    TLabel::Style style;
    const char* caption;
    TBounds expected;  // at 6 pixels a character, 13 a line
};

class Labels : public testing::TestWithParam<LabelCase> {};

TEST_P(Labels, SizeThemselvesKeepingTheirEdge) {
    const LabelCase& c = GetParam();
    Page page;
    TLabel label(&page.Panel, "Label", c.stored, c.style);
    label.SetPeer(platform::CreatePeer(label));
    label.SetCaption("x");
    label.SetCaption(c.caption);
    EXPECT_EQ(label.Bounds(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Toolkit, Labels,
    testing::Values(
        LabelCase{"AutoSizeKeepsLeft", {24, 152, 10, 10}, {}, "Choose", {24, 152, 36, 13}},
        LabelCase{"RightAlignedKeepsRight",
                  {390, 208, 3, 13},
                  {true, TAlignment::RightJustify},
                  "1024 / 2048",
                  {327, 208, 66, 13}},
        LabelCase{
            "RightAlignedShrinks", {9, 312, 405, 13}, {true, TAlignment::RightJustify}, "Short", {384, 312, 30, 13}},
        LabelCase{"EmptyKeepsOneBlank", {390, 208, 3, 13}, {true, TAlignment::RightJustify}, "", {387, 208, 6, 13}},
        LabelCase{"WordWrapKeepsItsBox",
                  {20, 25, 312, 32},
                  {true, TAlignment::LeftJustify, true},
                  "A long subtitle",
                  {20, 25, 312, 32}},
        LabelCase{"FixedSizeKeepsItsBox", {20, 25, 50, 20}, {false}, "A long caption", {20, 25, 50, 20}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ProgressBar, AMaximumBelowTheMinimumIsRefusedAndTheRangeKept) {
    Page page;
    TProgressBar bar(&page.Panel, "ProgBarDL", {14, 180, 398, 16});
    bar.SetMax(2048);
    bar.SetPosition(1500);
    ExpectRaised([&] { bar.SetMax(-1); }, "TProgressBar property out of range");
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 2048);
    EXPECT_EQ(bar.Position(), 1500);
    bar.SetMax(2147483647);  // the whole 32-bit range
    bar.SetPosition(2147483647);
    EXPECT_EQ(bar.Position(), 2147483647);
    bar.SetMax(100);  // the position follows the range down
    EXPECT_EQ(bar.Position(), 100);
}

TEST(ProgressBar, TheBarColourArrivesWhenTheQueueRuns) {
    Page page;
    auto bar = std::make_unique<TProgressBar>(&page.Panel, "ProgBarDL", TBounds{14, 180, 398, 16});
    bar->SetPeer(platform::CreatePeer(*bar));
    const TColor before = bar->BarColor();
    bar->PostBarColor(0xFF8000);
    EXPECT_EQ(bar->BarColor(), before);
    platform::ProcessMessages();
    EXPECT_EQ(bar->BarColor(), 0xFF8000u);

    // A bar gone before the queue runs is not touched.
    bar->PostBarColor(0x0000FF);
    bar.reset();
    platform::ProcessMessages();
}

struct PressCase {
    const char* name;
    bool enabled;
    int downX, downY, upX, upY;
    int clicks;
};

class MouseOnlyButton : public testing::TestWithParam<PressCase> {};

TEST_P(MouseOnlyButton, PressesOnlyOnAPressAndReleaseOverIt) {
    const PressCase& c = GetParam();
    Page page;
    TSpeedButton button(&page.Panel, "BtnClose", {317, 5, 93, 22});
    int clicks = 0;
    button.OnClick = [&](TComponent*) { ++clicks; };
    button.SetEnabled(c.enabled);
    button.MouseDown(c.downX, c.downY);
    EXPECT_EQ(button.Down(), c.enabled && c.downX >= 317 && c.downX < 410 && c.downY >= 5 && c.downY < 27);
    button.MouseUp(c.upX, c.upY);
    EXPECT_FALSE(button.Down());
    EXPECT_EQ(clicks, c.clicks);
}

INSTANTIATE_TEST_SUITE_P(Toolkit, MouseOnlyButton,
                         testing::Values(PressCase{"PressAndReleaseOver", true, 320, 10, 400, 20, 1},
                                         PressCase{"ReleaseElsewhere", true, 320, 10, 200, 10, 0},
                                         PressCase{"PressElsewhere", true, 300, 10, 320, 10, 0},
                                         PressCase{"Disabled", false, 320, 10, 320, 10, 0},
                                         PressCase{"RightEdgeIsOutside", true, 410, 10, 410, 10, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
