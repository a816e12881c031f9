#pragma once
// A page panel or the bottom bar: raised one-pixel bevel, button-face colour, no caption.
// It holds controls but never takes the focus itself.
#include "ui/control.h"

class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    bool CanFocus() const override { return false; }
};
