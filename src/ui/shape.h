#pragma once
// A filled rectangle without outline (the white band of a page header).
#include "ui/control.h"

class TShape : public TControl {
public:
    TShape(TWinControl* parent, std::string name, TBounds bounds, TColor fill)
        : TControl(parent, std::move(name), bounds), fill_(fill) {}
    TColor Fill() const { return fill_; }

private:
    TColor fill_;
};
