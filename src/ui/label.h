#pragma once
// A static text. An auto-sized label fits itself to its text keeping its left edge; a
// right-aligned one fits itself keeping its right edge; a word-wrapping one keeps its size.
#include "ui/control.h"

enum class TAlignment { LeftJustify, RightJustify };

class TLabel : public TControl {
public:
    struct Style {
        bool AutoSize = true;
        TAlignment Alignment = TAlignment::LeftJustify;
        bool WordWrap = false;
        bool Transparent = false;
        bool HandCursor = false;  // a link label
    };
    TLabel(TWinControl* parent, std::string name, TBounds bounds, Style style);

    const Style& LabelStyle() const { return style_; }
    // Fits the bounds to the caption again (also once a peer with real metrics exists).
    void AdjustSize();
    bool SizesItself() const { return style_.AutoSize && !style_.WordWrap; }
    // The text it fits: an empty label keeps the width of one blank, so that it can still be found.
    std::string SizingText() const { return Caption().empty() ? std::string(" ") : Caption(); }
    // A left click on it: runs OnClick when enabled and showing.
    void Click();

protected:
    void CaptionChanged() override;
    void Fit() override { AdjustSize(); }

private:
    Style style_;
};
