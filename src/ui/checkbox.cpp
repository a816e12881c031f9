#include "ui/checkbox.h"

TCheckBox::TCheckBox(TWinControl* parent, std::string name, TBounds bounds)
    : TWinControl(parent, std::move(name), bounds) {
    SetTabStop(true);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    NotifyPeer(platform::PeerChange::Checked);
}

void TCheckBox::Click() {
    if (!Enabled() || !Showing()) return;
    SetChecked(!checked_);
    if (OnClick) OnClick(this);
}
