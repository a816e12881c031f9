#include "ui/radiobutton.h"

TRadioButton::TRadioButton(TWinControl* parent, std::string name, TBounds bounds)
    : TWinControl(parent, std::move(name), bounds) {}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    SetTabStop(checked);
    NotifyPeer(platform::PeerChange::Checked);
    if (!checked) return;
    for (TControl* sibling : Parent()->Children()) {
        auto* other = dynamic_cast<TRadioButton*>(sibling);
        if (other && other != this && other->checked_) {
            other->checked_ = false;
            other->SetTabStop(false);
            other->NotifyPeer(platform::PeerChange::Checked);
        }
    }
    if (OnClick) OnClick(this);
}
