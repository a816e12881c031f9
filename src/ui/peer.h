#pragma once
// The toolkit's link to real windows, implemented by each platform (platform/peers.h makes
// them). Every control may own one peer; the win32 peer owns an HWND (or paints a
// rectangle of its parent, for the mouse-only button) and turns notifications into calls
// on the control; the posix peer draws nothing and measures text with a fixed metric.
#include <string>

#include "ui/types.h"

class TProgressBar;

namespace platform {

// Range: the bar's minimum and maximum, and its position with them.
enum class PeerChange { Bounds, Caption, Visible, Enabled, Checked, Font, Range, Position, Focus, Content, Default };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    // The control's state changed; the peer shows it.
    virtual void Changed(PeerChange what) = 0;
    // Extent of a caption in the control's font, for labels that size themselves.
    virtual TSize MeasureText(const std::string& text) const = 0;
    // The bar's colour, applied when the message loop next runs; the peer then tells the
    // bar (BarColorArrived). Only a progress bar's peer has a bar colour.
    virtual void PostBarColor(TProgressBar& /*bar*/, TColor /*color*/) {}
};

}  // namespace platform
