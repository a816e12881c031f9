#pragma once
// The window's controls as the layout tables give them, in creation order (a depth-first
// walk from the window), shared by the native and the Wine tests.
#include <gtest/gtest.h>

#include <string>

#include "ui/types.h"

namespace wizard_layout {

constexpr int kAuto = -1;

struct Layout {
    const char* Name;
    const char* Parent;
    TBounds Bounds;  // kAuto: sized by its text
    int RightEdge;   // a right-aligned label's, kept whatever its text; 0 for the others
    int TabOrder;    // -1: never focused
    bool Visible;
};

// Every control in creation order, as a depth-first walk from the window meets it.
const Layout kLayout[] = {
    {"PnlStep1", "fInstall", {0, 0, 424, 337}, 0, 2, true},
    {"Shape1", "PnlStep1", {1, 1, 422, 65}, 0, -1, true},
    {"Bevel2", "PnlStep1", {0, 66, 483, 2}, 0, -1, true},
    {"Label1", "PnlStep1", {8, 8, kAuto, kAuto}, 0, -1, true},
    {"Label2", "PnlStep1", {20, 25, 312, 32}, 0, -1, true},
    {"Image2", "PnlStep1", {366, 3, 49, 57}, 0, -1, true},
    {"Label3", "PnlStep1", {24, 152, kAuto, kAuto}, 0, -1, true},
    {"rdoFrench", "PnlStep1", {40, 176, 81, 17}, 0, 0, true},
    {"RdoEnglish", "PnlStep1", {40, 200, 73, 17}, 0, 1, true},
    {"Pnlstep5", "fInstall", {0, 0, 424, 337}, 0, 5, false},
    {"Shape5", "Pnlstep5", {1, 1, 422, 65}, 0, -1, true},
    {"Bevel5", "Pnlstep5", {0, 66, 483, 2}, 0, -1, true},
    {"Label9", "Pnlstep5", {8, 8, kAuto, kAuto}, 0, -1, true},
    {"Label10", "Pnlstep5", {20, 25, 312, 32}, 0, -1, true},
    {"Image5", "Pnlstep5", {366, 3, 49, 57}, 0, -1, true},
    {"Label11", "Pnlstep5", {24, 128, kAuto, kAuto}, 0, -1, true},
    {"Label14", "Pnlstep5", {kAuto, 288, kAuto, kAuto}, 280, -1, true},
    {"Label13", "Pnlstep5", {282, 288, kAuto, kAuto}, 0, -1, true},
    {"Label15", "Pnlstep5", {kAuto, 312, kAuto, kAuto}, 280, -1, true},
    {"Label16", "Pnlstep5", {282, 312, kAuto, kAuto}, 0, -1, true},
    {"chkStartNow", "Pnlstep5", {48, 160, 249, 17}, 0, 0, true},
    {"ChkAutoStart", "Pnlstep5", {48, 184, 369, 17}, 0, 1, true},
    {"PnlStep4", "fInstall", {0, 0, 424, 337}, 0, 3, false},
    {"Shape2", "PnlStep4", {1, 1, 422, 65}, 0, -1, true},
    {"Bevel3", "PnlStep4", {0, 66, 483, 2}, 0, -1, true},
    {"Label4", "PnlStep4", {8, 8, kAuto, kAuto}, 0, -1, true},
    {"Label5", "PnlStep4", {20, 25, 312, 32}, 0, -1, true},
    {"Image3", "PnlStep4", {366, 3, 49, 57}, 0, -1, true},
    {"LblStatus", "PnlStep4", {16, 163, kAuto, kAuto}, 0, -1, true},
    {"LblBytes", "PnlStep4", {kAuto, 208, kAuto, kAuto}, 393, -1, true},
    {"LblFN", "PnlStep4", {19, 208, kAuto, kAuto}, 0, -1, true},
    {"Label12", "PnlStep4", {kAuto, 312, kAuto, kAuto}, 414, -1, true},
    {"ProgBarDL", "PnlStep4", {14, 180, 398, 16}, 0, 0, true},
    {"PnlStep3", "fInstall", {0, 0, 424, 337}, 0, 4, false},
    {"Shape3", "PnlStep3", {1, 1, 422, 65}, 0, -1, true},
    {"Bevel4", "PnlStep3", {0, 66, 483, 2}, 0, -1, true},
    {"Label6", "PnlStep3", {8, 8, kAuto, kAuto}, 0, -1, true},
    {"Label7", "PnlStep3", {20, 25, 342, 32}, 0, -1, true},
    {"Image4", "PnlStep3", {366, 3, 49, 57}, 0, -1, true},
    {"Label8", "PnlStep3", {16, 80, kAuto, kAuto}, 0, -1, true},
    {"TxtDir", "PnlStep3", {16, 96, 393, 21}, 0, 0, true},
    {"Directory", "PnlStep3", {16, 123, 393, 201}, 0, 1, true},
    {"PnlStep2", "fInstall", {0, 0, 424, 337}, 0, 0, false},
    {"Shape4", "PnlStep2", {1, 1, 422, 65}, 0, -1, true},
    {"Bevel1", "PnlStep2", {0, 66, 483, 2}, 0, -1, true},
    {"Label19", "PnlStep2", {8, 8, kAuto, kAuto}, 0, -1, true},
    {"Label20", "PnlStep2", {20, 25, 312, 32}, 0, -1, true},
    {"Image1", "PnlStep2", {366, 3, 49, 57}, 0, -1, true},
    {"memLicenceEn", "PnlStep2", {15, 96, 394, 193}, 0, 0, false},
    {"rdoagree", "PnlStep2", {126, 304, 78, 17}, 0, 1, true},
    {"rdoDeny", "PnlStep2", {222, 304, 78, 17}, 0, 2, true},
    {"memLicenseEntreFr", "PnlStep2", {15, 96, 394, 193}, 0, 3, true},
    {"memLicenseProFr", "PnlStep2", {15, 96, 394, 193}, 0, 4, true},
    {"memLicenseDeBaseFr", "PnlStep2", {15, 96, 394, 193}, 0, 5, true},
    {"memLicenseDeBaseEn", "PnlStep2", {15, 96, 394, 193}, 0, 6, true},
    {"PnlBottom", "fInstall", {0, 337, 424, 32}, 0, 1, true},
    {"BtnClose", "PnlBottom", {317, 5, 93, 22}, 0, -1, true},
    {"BtnNext", "PnlBottom", {200, 5, 93, 22}, 0, 0, true},
    {"btnBack", "PnlBottom", {96, 5, 93, 22}, 0, 1, true},
};

// The bounds the table fixes; an auto size, and the left edge of a right-aligned label,
// follow the text.
inline void ExpectLayoutBounds(const TBounds& actual, const Layout& expected) {
    const TBounds& bounds = expected.Bounds;
    const char* name = expected.Name;
    if (expected.RightEdge != 0) {
        EXPECT_EQ(actual.Right(), expected.RightEdge) << name;
    }
    if (bounds.Left != kAuto) {
        EXPECT_EQ(actual.Left, bounds.Left) << name;
    }
    if (bounds.Top != kAuto) {
        EXPECT_EQ(actual.Top, bounds.Top) << name;
    }
    if (bounds.Width != kAuto) {
        EXPECT_EQ(actual.Width, bounds.Width) << name;
    }
    if (bounds.Height != kAuto) {
        EXPECT_EQ(actual.Height, bounds.Height) << name;
    }
}

}  // namespace wizard_layout
