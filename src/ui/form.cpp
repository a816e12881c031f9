#include "ui/form.h"

#include <algorithm>
#include <cctype>

#include "platform/messages.h"
#include "ui/button.h"

TForm::TForm(std::string name, int clientWidth, int clientHeight)
    : TWinControl(nullptr, std::move(name), {0, 0, clientWidth, clientHeight}) {}

void TForm::Show() {
    if (shown_) return;
    shown_ = true;
    NotifyPeer(platform::PeerChange::Visible);
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    activeControl_ = control;
    // Without a control the window itself holds the focus.
    TWinControl* holder = control ? control : this;
    if (holder->Peer()) holder->Peer()->Changed(platform::PeerChange::Focus);
}

void TForm::Close() {
    if (OnClose) OnClose(this);
    closeRequested_ = true;
    platform::PostQuitMessage();
}

bool TForm::KeyDown(std::uint16_t key, TShiftState shift) {
    if (key == vk::Return) {
        if (shift != 0) return false;
        if (activeControl_ && activeControl_->WantsReturn()) return false;
        // A focused push button takes Enter itself; otherwise the default button does.
        TButton* target = dynamic_cast<TButton*>(activeControl_);
        if (!target) target = defaultButton_;
        if (!target || !target->Enabled() || !target->Showing()) return false;
        target->Click();
        return true;
    }
    if (key == vk::Tab) {
        if (shift & (ssCtrl | ssAlt)) return false;
        SelectNext((shift & ssShift) == 0);
        return true;
    }
    return false;
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
    std::vector<TWinControl*> siblings;
    for (TControl* child : parent.Children())
        if (auto* control = dynamic_cast<TWinControl*>(child); control && control->TabOrder() >= 0)
            siblings.push_back(control);
    std::stable_sort(siblings.begin(), siblings.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TWinControl* control : siblings) {
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
