#pragma once
// The toolkit's link to real windows. Every control may own one peer; the win32 peer owns
// an HWND (or paints a rectangle of its parent, for the mouse-only button) and turns
// notifications into calls on the control; the posix peer draws nothing and measures text
// with a fixed metric.
#include <memory>
#include <string>

#include "ui/types.h"

class TControl;

namespace platform {

enum class PeerChange { Bounds, Caption, Visible, Enabled, Checked, Font, Range, Position, Focus, Content, Default };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    // The control's state changed; the peer shows it.
    virtual void Changed(PeerChange what) = 0;
    // Extent of a caption in the control's font, for labels that size themselves.
    virtual TSize MeasureText(const std::string& text) const = 0;
    // Posts a window message to the control (it takes effect when the loop next runs).
    virtual void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// Makes the peer for one control; its parent's peer already exists.
std::unique_ptr<ControlPeer> CreatePeer(TControl& control);

}  // namespace platform
