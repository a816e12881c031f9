// The stand-in peer: draws nothing, measures text with a fixed metric and delivers posted
// messages through the emulated queue.
#include <algorithm>
#include <memory>

#include "platform/messages.h"
#include "platform/peer.h"
#include "ui/progressbar.h"

namespace platform {
namespace {

// 6 pixels a character, 13 a line.
constexpr int kCharacterWidth = 6;
constexpr int kLineHeight = 13;

class StandInPeer : public ControlPeer {
public:
    explicit StandInPeer(TControl& control) : control_(control) {}

    void Changed(PeerChange) override {}

    TSize MeasureText(const std::string& text) const override {
        std::size_t widest = 0, lines = 1, current = 0;
        for (char c : text) {
            if (c == '\n') {
                ++lines;
                current = 0;
            } else if (c != '\r') {
                widest = std::max(widest, ++current);
            }
        }
        return {static_cast<int>(widest) * kCharacterWidth, static_cast<int>(lines) * kLineHeight};
    }

    void Post(unsigned message, std::uintptr_t, std::intptr_t lParam) override {
        // The control may be gone by the time the queue runs.
        PostTask([alive = std::weak_ptr<int>(alive_), &control = control_, message, lParam] {
            if (alive.expired()) return;
            if (auto* bar = dynamic_cast<TProgressBar*>(&control); bar && message == TProgressBar::kBarColorMessage)
                bar->BarColorArrived(static_cast<TColor>(lParam));
        });
    }

private:
    TControl& control_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace

std::unique_ptr<ControlPeer> CreatePeer(TControl& control) { return std::make_unique<StandInPeer>(control); }

}  // namespace platform
