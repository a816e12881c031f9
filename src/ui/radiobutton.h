#pragma once
// A radio button. The radio buttons of one parent form a group: checking one, by a click
// or by code, unchecks the others (which raises nothing), makes it the group's only tab
// stop, and then raises its OnClick. Checking a checked button raises nothing.
#include "ui/control.h"

class TRadioButton : public TWinControl {
public:
    TRadioButton(TWinControl* parent, std::string name, TBounds bounds);

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // The user clicked it (or pressed space on it).
    void Click() { SetChecked(true); }
    // The button an arrow key moves to: the next (or previous) one of the group in tab
    // order that can take the focus, wrapping round; itself when there is no other.
    TRadioButton& GroupNeighbour(bool forward);

private:
    bool checked_ = false;
};
