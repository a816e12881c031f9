// The stand-in peer: draws nothing, measures text with a fixed metric and delivers a
// posted bar colour through the emulated queue.
#include <algorithm>
#include <memory>

#include "platform/messages.h"
#include "platform/peers.h"
#include "platform/unicode.h"
#include "ui/progressbar.h"

namespace platform {
namespace {

// 6 pixels a character (of UTF-8, not a byte), 13 a line.
constexpr int kCharacterWidth = 6;
constexpr int kLineHeight = 13;

class StandInPeer : public ControlPeer {
public:
    void Changed(PeerChange) override {}

    TSize MeasureText(const std::string& text) const override {
        std::size_t widest = 0, lines = 1, current = 0;
        for (std::size_t position = 0; position < text.size();) {
            const char32_t c = DecodeUtf8(text, position);
            if (c == '\n') {
                ++lines;
                current = 0;
            } else if (c != '\r') {
                widest = std::max(widest, ++current);
            }
        }
        return {static_cast<int>(widest) * kCharacterWidth, static_cast<int>(lines) * kLineHeight};
    }

    void PostBarColor(TProgressBar& bar, TColor color) override {
        // The bar may be gone by the time the queue runs.
        PostTask([alive = std::weak_ptr<int>(alive_), &bar, color] {
            if (!alive.expired()) bar.BarColorArrived(color);
        });
    }

private:
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace

std::unique_ptr<ControlPeer> CreatePeer(TControl&) { return std::make_unique<StandInPeer>(); }

}  // namespace platform
