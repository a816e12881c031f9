#include "ui/form.h"

#include <algorithm>
#include <cctype>

#include "platform/messages.h"
#include "ui/button.h"
#include "ui/radiobutton.h"

TForm::TForm(std::string name, int clientWidth, int clientHeight)
    : TWinControl(nullptr, std::move(name), {0, 0, clientWidth, clientHeight}) {}

void TForm::Show() {
    if (shown_) return;
    shown_ = true;
    NotifyPeer(platform::PeerChange::Visible);
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    TButton* before = CurrentDefaultButton();
    activeControl_ = control;
    // Without a control the window itself holds the focus.
    TWinControl* holder = control ? control : this;
    if (holder->Peer()) holder->Peer()->Changed(platform::PeerChange::Focus);
    DefaultFrameMoved(before);
}

void TForm::Forget(const TControl& control) {
    if (activeControl_ == &control) activeControl_ = nullptr;
    if (defaultButton_ == &control) defaultButton_ = nullptr;
}

void TForm::SetDefaultButton(TButton* button) {
    TButton* before = CurrentDefaultButton();
    defaultButton_ = button;
    DefaultFrameMoved(before);
}

TButton* TForm::CurrentDefaultButton() const {
    auto* focused = dynamic_cast<TButton*>(activeControl_);
    return focused ? focused : defaultButton_;
}

void TForm::DefaultFrameMoved(TButton* before) {
    TButton* after = CurrentDefaultButton();
    if (after == before) return;
    for (TButton* button : {before, after})
        if (button && button->Peer()) button->Peer()->Changed(platform::PeerChange::Default);
}

void TForm::Close() {
    if (closeRequested_) return;
    if (OnClose) OnClose(this);
    closeRequested_ = true;
    platform::PostQuitMessage();
}

bool TForm::KeyDown(std::uint16_t key, TShiftState shift) {
    if (key == vk::Return) {
        if (shift != 0) return false;
        if (activeControl_ && activeControl_->WantsReturn()) return false;
        TButton* target = CurrentDefaultButton();
        if (!target || !target->Enabled() || !target->Showing()) return false;
        target->Click();
        return true;
    }
    if (key == vk::Tab) {
        if (shift & (ssCtrl | ssAlt)) return false;
        SelectNext((shift & ssShift) == 0);
        return true;
    }
    if (key == vk::Left || key == vk::Up) return MoveInGroup(false);
    if (key == vk::Right || key == vk::Down) return MoveInGroup(true);
    return false;
}

// As in a dialog the button reached is checked, which raises its OnClick when it changes.
bool TForm::MoveInGroup(bool forward) {
    auto* radio = dynamic_cast<TRadioButton*>(activeControl_);
    if (!radio) return false;
    TRadioButton& reached = radio->GroupNeighbour(forward);
    SetActiveControl(&reached);
    reached.Click();
    return true;
}

namespace {

TButton* FindAccessKey(const TWinControl& parent, char key) {
    for (TControl* child : parent.Children()) {
        if (auto* button = dynamic_cast<TButton*>(child);
            button && button->Showing() && button->Enabled() && button->AccessKey() == key)
            return button;
        if (auto* container = dynamic_cast<TWinControl*>(child))
            if (TButton* found = FindAccessKey(*container, key)) return found;
    }
    return nullptr;
}

// Focusable controls in tab order, descending into containers in their own tab order.
void CollectTabStops(const TWinControl& parent, std::vector<TWinControl*>& out) {
    for (TWinControl* control : parent.TabOrderedChildren()) {
        if (!control->Showing()) continue;
        if (control->CanFocus() && control->TabStop()) out.push_back(control);
        CollectTabStops(*control, out);
    }
}

}  // namespace

bool TForm::CharTyped(char character, TShiftState shift) {
    const bool alt = (shift & ssAlt) != 0;
    if (!alt && activeControl_ && activeControl_->WantsCharacters()) return false;
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    TButton* button = FindAccessKey(*this, key);
    if (!button) return false;
    button->Click();
    return true;
}

void TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> stops;
    CollectTabStops(*this, stops);
    if (stops.empty()) return;
    auto current = std::find(stops.begin(), stops.end(), activeControl_);
    std::size_t index;
    if (current == stops.end()) {
        index = forward ? 0 : stops.size() - 1;
    } else {
        const auto position = static_cast<std::size_t>(current - stops.begin());
        index = forward ? (position + 1) % stops.size() : (position + stops.size() - 1) % stops.size();
    }
    SetActiveControl(stops[index]);
}
