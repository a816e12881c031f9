#pragma once
// The control peers seam: the platform's implementation of the toolkit's peer interface.
#include <memory>

#include "ui/peer.h"

class TControl;

namespace platform {

// Makes the peer for one control; its parent's peer already exists.
std::unique_ptr<ControlPeer> CreatePeer(TControl& control);

}  // namespace platform
