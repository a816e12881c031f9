#include "ui/edit.h"

TEdit::TEdit(TWinControl* parent, std::string name, TBounds bounds) : TWinControl(parent, std::move(name), bounds) {
    SetTabStop(true);
}

void TEdit::CaptionChanged() {
    if (OnChange) OnChange(this);
}
