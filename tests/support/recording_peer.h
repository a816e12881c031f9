#pragma once
// A peer that remembers what its control told it, measuring text at 6 pixels a character
// and 13 a line.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/peer.h"

class RecordingPeer : public platform::ControlPeer {
public:
    explicit RecordingPeer(TControl& control) : control_(control) {}
    void Changed(platform::PeerChange what) override {
        Changes.push_back(what);
        if (what == platform::PeerChange::Caption) Captions.push_back(control_.Caption());
        if (OnChanged) OnChanged(what);
    }
    TSize MeasureText(const std::string& text) const override { return {static_cast<int>(text.size()) * 6, 13}; }

    std::vector<platform::PeerChange> Changes;
    std::vector<std::string> Captions;  // the caption at each caption change
    std::function<void(platform::PeerChange)> OnChanged;

private:
    TControl& control_;
};

// Gives the control a recording peer and returns it.
inline RecordingPeer& Record(TControl& control) {
    auto peer = std::make_unique<RecordingPeer>(control);
    RecordingPeer& recorder = *peer;
    control.SetPeer(std::move(peer));
    return recorder;
}
