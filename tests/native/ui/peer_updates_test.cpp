// Coalesced controls: their state is current at once, their peer follows once per look at
// the message queue, whatever happened in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "recording_peer.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/peer_updates.h"
#include "ui/progressbar.h"

namespace {

using platform::PeerChange;

struct ProgressPage : TForm {
    ProgressPage() : TForm("ProgressPage", 424, 367) {
        for (TControl* control : std::initializer_list<TControl*>{&Bar, &Bytes}) control->SetCoalescedUpdates(true);
    }
    TPanel Panel{this, "Panel", {0, 0, 424, 337}};
    TProgressBar Bar{&Panel, "Bar", {14, 180, 398, 16}};
    TLabel Bytes{&Panel, "Bytes", {390, 208, 3, 13}, {.Alignment = TAlignment::RightJustify}};
    TLabel Status{&Panel, "Status", {19, 160, 3, 13}, {}};
};

long CountOf(const RecordingPeer& peer, PeerChange what) {
    return std::count(peer.Changes.begin(), peer.Changes.end(), what);
}

class PeerUpdatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ProcessMessages();  // nothing left over from an earlier test
        bar = &Record(page.Bar);
        bytes = &Record(page.Bytes);
        page.Bar.SetMax(1000000);
        platform::ProcessMessages();
        bar->Changes.clear();
    }

    ProgressPage page;
    RecordingPeer* bar = nullptr;
    RecordingPeer* bytes = nullptr;
};

TEST_F(PeerUpdatesTest, AThousandChangesBetweenTwoLooksReachThePeerOnceAndAreReadBackAtOnce) {
    for (int block = 1; block <= 1000; ++block) {
        page.Bar.SetPosition(block * 1000);
        page.Bytes.SetCaption(std::to_string(block) + " / 1000");
        ASSERT_EQ(page.Bar.Position(), block * 1000);
        ASSERT_EQ(page.Bytes.Caption(), std::to_string(block) + " / 1000");
        // Six pixels a character, right edge kept.
        const TBounds& fitted = page.Bytes.Bounds();
        ASSERT_EQ(fitted.Width, static_cast<int>(page.Bytes.Caption().size()) * 6);
        ASSERT_EQ(fitted.Right(), 393);
    }
    EXPECT_TRUE(bar->Changes.empty());
    EXPECT_TRUE(bytes->Changes.empty());

    platform::ProcessMessages();

    EXPECT_EQ(bar->Changes, std::vector<PeerChange>{PeerChange::Position});
    EXPECT_EQ(bytes->Captions, std::vector<std::string>{"1000 / 1000"});
    EXPECT_EQ(CountOf(*bytes, PeerChange::Bounds), 1);
    platform::ProcessMessages();
    EXPECT_EQ(bar->Changes.size(), 1u) << "nothing new, nothing told";
}

TEST_F(PeerUpdatesTest, AWaitBringsThePeerUpToDateBeforeItSleeps) {
    page.Bytes.SetCaption("0.50 / 2.25 Megs");
    platform::PostTask([] {});  // the wait returns at once
    platform::WaitMessage();
    EXPECT_EQ(bytes->Captions, std::vector<std::string>{"0.50 / 2.25 Megs"});
    platform::ProcessMessages();
}

// A new range carries the position: one message, not two.
TEST_F(PeerUpdatesTest, ARangeAndAPositionTogetherAreOneUpdate) {
    page.Bar.SetMax(2000000);
    page.Bar.SetPosition(1500000);
    TPeerUpdates::Instance().Flush();
    EXPECT_EQ(bar->Changes, std::vector<PeerChange>{PeerChange::Range});
}

TEST_F(PeerUpdatesTest, OtherControlsAndOtherChangesAreToldAtOnce) {
    RecordingPeer& status = Record(page.Status);
    page.Status.SetCaption("Status : Downloading quorvane.exe");
    page.Bar.SetVisible(false);
    EXPECT_EQ(status.Captions, std::vector<std::string>{"Status : Downloading quorvane.exe"});
    EXPECT_EQ(bar->Changes, std::vector<PeerChange>{PeerChange::Visible});
}

TEST_F(PeerUpdatesTest, EndingTheCoalescingShowsWhatWasPending) {
    page.Bytes.SetCaption("1.00 / 1.00 Megs");
    page.Bytes.SetCoalescedUpdates(false);
    EXPECT_EQ(bytes->Captions, std::vector<std::string>{"1.00 / 1.00 Megs"});
    page.Bytes.SetCaption("2");
    EXPECT_EQ(bytes->Captions.back(), "2");
}

// The control went before the queue was looked at: the look must not reach it (ASan),
// and still brings the others up to date.
TEST(PeerUpdates, AControlDestroyedWhileBehindIsForgotten) {
    auto gone = std::make_unique<ProgressPage>();
    ProgressPage kept;
    Record(gone->Bar);
    const RecordingPeer& keptBar = Record(kept.Bar);
    gone->Bar.SetPosition(50);
    kept.Bar.SetPosition(60);
    gone.reset();
    platform::ProcessMessages();
    EXPECT_EQ(keptBar.Changes, std::vector<PeerChange>{PeerChange::Position});
}

}  // namespace
