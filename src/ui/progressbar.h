#pragma once
// A progress bar with a 32-bit range, filled from the left in segmented blocks in
// proportion to (position - minimum) / (maximum - minimum).
#include <cstdint>

#include "ui/control.h"

class TProgressBar : public TWinControl {
public:
    using TWinControl::TWinControl;

    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Position() const { return position_; }
    // A maximum below the minimum raises "TProgressBar property out of range" and keeps
    // the range; the position is kept within the range.
    void SetMax(std::int32_t max);
    void SetPosition(std::int32_t position);

    // Posted: the colour applies when the message loop next runs.
    void PostBarColor(TColor color);
    // The colour the bar is drawn in, once the posted message has arrived.
    TColor BarColor() const { return barColor_; }
    void BarColorArrived(TColor color);

    bool CanFocus() const override { return false; }

private:
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t position_ = 0;
    TColor barColor_ = clSystemColor;  // the system's default highlight
};
