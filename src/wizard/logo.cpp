#include "wizard/logo.h"

#include <array>

namespace {

constexpr int kWidth = 49;
constexpr int kHeight = 57;
constexpr int kStride = (kWidth * 3 + 3) / 4 * 4;  // rows are padded to four bytes
constexpr int kHeaderSize = 14 + 40;
constexpr int kImageSize = kStride * kHeight;
constexpr int kFileSize = kHeaderSize + kImageSize;
constexpr int kPixelsPerMetre = 2835;

struct Rgb {
    std::uint8_t R, G, B;
};
constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kRing{0, 70, 160};
constexpr Rgb kTail{255, 128, 0};

// The mark: a blue ring with an orange tail across its lower right, a "Q".
// x, y from the top-left corner.
constexpr Rgb PixelAt(int x, int y) {
    const double cx = 24.0, cy = 25.0;
    const double dx = x - cx, dy = y - cy;
    const double r2 = dx * dx + dy * dy;
    // Distance to the tail's centre line, from (29, 32) to (44, 50).
    const double ax = 29.0, ay = 32.0, bx = 44.0, by = 50.0;
    const double vx = bx - ax, vy = by - ay;
    double t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double px = ax + t * vx - x, py = ay + t * vy - y;
    if (px * px + py * py <= 3.2 * 3.2) return kTail;
    if (r2 <= 21.0 * 21.0 && r2 >= 14.0 * 14.0) return kRing;
    return kBackground;
}

constexpr void Put16(std::array<std::uint8_t, kFileSize>& out, int at, unsigned value) {
    out[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    out[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

constexpr void Put32(std::array<std::uint8_t, kFileSize>& out, int at, unsigned value) {
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}

constexpr std::array<std::uint8_t, kFileSize> MakeLogo() {
    std::array<std::uint8_t, kFileSize> out{};
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, kFileSize);
    Put32(out, 10, kHeaderSize);
    Put32(out, 14, 40);  // BITMAPINFOHEADER
    Put32(out, 18, kWidth);
    Put32(out, 22, kHeight);  // positive: bottom-up
    Put16(out, 26, 1);        // planes
    Put16(out, 28, 24);       // bits per pixel
    Put32(out, 30, 0);        // BI_RGB
    Put32(out, 34, kImageSize);
    Put32(out, 38, kPixelsPerMetre);
    Put32(out, 42, kPixelsPerMetre);
    for (int row = 0; row < kHeight; ++row) {
        const int y = kHeight - 1 - row;
        for (int x = 0; x < kWidth; ++x) {
            const Rgb pixel = PixelAt(x, y);
            const auto at = static_cast<std::size_t>(kHeaderSize + row * kStride + x * 3);
            out[at] = pixel.B;
            out[at + 1] = pixel.G;
            out[at + 2] = pixel.R;
        }
    }
    return out;
}

constexpr std::array<std::uint8_t, kFileSize> kLogo = MakeLogo();

}  // namespace

std::span<const std::uint8_t> LogoBitmap() { return kLogo; }
