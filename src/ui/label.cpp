#include "ui/label.h"

TLabel::TLabel(TWinControl* parent, std::string name, TBounds bounds, Style style)
    : TControl(parent, std::move(name), bounds), style_(style) {}

void TLabel::AdjustSize() {
    if (!SizesItself()) return;
    const TSize extent = MeasureText(SizingText());
    TBounds bounds = Bounds();
    if (style_.Alignment == TAlignment::RightJustify) bounds.Left = bounds.Right() - extent.Width;
    bounds.Width = extent.Width;
    bounds.Height = extent.Height;
    SetBounds(bounds);
}

// A caption that changes at every block is measured once per look, not each time.
void TLabel::CaptionChanged() {
    if (CoalescedUpdates())
        FitLater();
    else
        AdjustSize();
}

void TLabel::Click() {
    if (Enabled() && Showing() && OnClick) OnClick(this);
}
