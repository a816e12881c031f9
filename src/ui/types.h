#pragma once
// Small value types shared by every control of the toolkit.
#include <cstdint>
#include <functional>
#include <string>

class TComponent;

using TNotifyEvent = std::function<void(TComponent* Sender)>;

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const TBounds&) const = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
};

// 0x00BBGGRR, or a system colour index with the high bit set (resolved by the peer).
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;

// The system's values; where the system's headers already define them, those are used.
#ifndef DEFAULT_CHARSET
inline constexpr int DEFAULT_CHARSET = 1;
#endif
#ifndef ANSI_CHARSET
inline constexpr int ANSI_CHARSET = 0;
#endif

// Heights are character heights in pixels at 96 dots per inch.
struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = 11;
    bool Bold = false;
    bool Underline = false;
    TColor Color = clWindowText;
    int Charset = DEFAULT_CHARSET;
    bool operator==(const TFont&) const = default;
};

enum TShift : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

// Virtual-key codes the form's keyboard rules look at (the system's values).
namespace vk {
inline constexpr std::uint16_t Tab = 0x09;
inline constexpr std::uint16_t Return = 0x0D;
inline constexpr std::uint16_t Escape = 0x1B;
inline constexpr std::uint16_t Space = 0x20;
inline constexpr std::uint16_t Left = 0x25;
inline constexpr std::uint16_t Up = 0x26;
inline constexpr std::uint16_t Right = 0x27;
inline constexpr std::uint16_t Down = 0x28;
}  // namespace vk
