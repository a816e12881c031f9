#pragma once
// A picture at its natural size, opaque, not stretched. The bitmap is a complete .bmp file
// image compiled into the program.
#include <cstdint>
#include <span>

#include "ui/control.h"

class TImage : public TControl {
public:
    TImage(TWinControl* parent, std::string name, TBounds bounds, std::span<const std::uint8_t> bitmap)
        : TControl(parent, std::move(name), bounds), bitmap_(bitmap) {}
    std::span<const std::uint8_t> Bitmap() const { return bitmap_; }

private:
    std::span<const std::uint8_t> bitmap_;
};
