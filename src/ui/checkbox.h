#pragma once
// A check box; a click toggles it.
#include "ui/control.h"

class TCheckBox : public TWinControl {
public:
    TCheckBox(TWinControl* parent, std::string name, TBounds bounds);

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    void Click();

private:
    bool checked_ = false;
};
