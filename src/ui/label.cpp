#include "ui/label.h"

TLabel::TLabel(TWinControl* parent, std::string name, TBounds bounds, Style style)
    : TControl(parent, std::move(name), bounds), style_(style) {}

void TLabel::AdjustSize() {
    if (!style_.AutoSize || style_.WordWrap) return;
    // An empty label keeps the width of one blank, so that it can still be found.
    const TSize extent = MeasureText(Caption().empty() ? std::string(" ") : Caption());
    TBounds bounds = Bounds();
    if (style_.Alignment == TAlignment::RightJustify) bounds.Left = bounds.Right() - extent.Width;
    bounds.Width = extent.Width;
    bounds.Height = extent.Height;
    SetBounds(bounds);
}

void TLabel::Click() {
    if (Enabled() && Showing() && OnClick) OnClick(this);
}
