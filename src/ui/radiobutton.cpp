#include "ui/radiobutton.h"

#include <algorithm>
#include <vector>

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

TRadioButton& TRadioButton::GroupNeighbour(bool forward) {
    std::vector<TRadioButton*> group;
    for (TWinControl* sibling : Parent()->TabOrderedChildren())
        if (auto* radio = dynamic_cast<TRadioButton*>(sibling); radio && (radio == this || radio->CanFocus()))
            group.push_back(radio);
    const auto found = std::find(group.begin(), group.end(), this);
    // Without a tab order it is no member of the ordered group.
    if (found == group.end()) return *this;
    const auto position = static_cast<std::size_t>(found - group.begin());
    return *group[(position + (forward ? 1 : group.size() - 1)) % group.size()];
}
