#include "ui/control.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "ui/form.h"
#include "ui/peer_updates.h"

namespace {

using platform::PeerChange;

// What a coalesced control's peer hears of late, in the order it is told.
constexpr PeerChange kCoalesced[] = {PeerChange::Caption, PeerChange::Bounds, PeerChange::Range, PeerChange::Position};

constexpr unsigned Bit(PeerChange what) { return 1u << static_cast<unsigned>(what); }

bool Coalesced(PeerChange what) {
    return std::find(std::begin(kCoalesced), std::end(kCoalesced), what) != std::end(kCoalesced);
}

}  // namespace

TControl::TControl(TWinControl* parent, std::string name, TBounds bounds)
    : TComponent(std::move(name)), parent_(parent), bounds_(bounds) {
    if (parent_) parent_->children_.push_back(this);
}

TControl::~TControl() {
    if (coalesced_) TPeerUpdates::Instance().Forget(*this);
    if (TForm* form = Form()) form->Forget(*this);
    if (parent_) std::erase(parent_->children_, this);
}

TForm* TControl::Form() {
    TControl* control = this;
    while (control->parent_) control = control->parent_;
    return dynamic_cast<TForm*>(control);
}

void TControl::SetBounds(const TBounds& bounds) {
    if (bounds == Bounds()) return;
    bounds_ = bounds;
    NotifyPeer(platform::PeerChange::Bounds);
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    NotifyPeer(platform::PeerChange::Caption);
    CaptionChanged();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    NotifyPeer(platform::PeerChange::Visible);
    if (!visible) CheckFocus();
}

// A focused control that is disabled or hidden (itself or with its panel) gives the focus
// back to the window, where Enter still reaches the default button.
void TControl::CheckFocus() {
    TForm* form = Form();
    if (form && form->ActiveControl() && !form->ActiveControl()->CanFocus()) form->SetActiveControl(nullptr);
}

bool TControl::Showing() const {
    for (const TControl* control = this; control; control = control->parent_)
        if (!control->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    NotifyPeer(platform::PeerChange::Enabled);
    if (!enabled) CheckFocus();
}

void TControl::SetFont(const TFont& font) {
    if (font == font_) return;
    font_ = font;
    NotifyPeer(platform::PeerChange::Font);
}

void TControl::SetPeer(std::unique_ptr<platform::ControlPeer> peer) { peer_ = std::move(peer); }

void TControl::NotifyPeer(platform::PeerChange what) {
    if (!peer_) return;
    if (!coalesced_ || !Coalesced(what)) return peer_->Changed(what);
    lagging_ |= Bit(what);
    TPeerUpdates::Instance().Defer(*this);
}

void TControl::SetCoalescedUpdates(bool coalesced) {
    if (coalesced == coalesced_) return;
    // Made now, the updates outlive a window that is made first and goes last.
    if (coalesced) TPeerUpdates::Instance();
    if (!coalesced) UpdatePeer();
    coalesced_ = coalesced;
}

void TControl::UpdatePeer() {
    Bounds();  // a size still to fit joins the changes
    TPeerUpdates::Instance().Forget(*this);
    const unsigned lagging = std::exchange(lagging_, 0u);
    if (!peer_) return;
    for (PeerChange what : kCoalesced) {
        // The range comes with the position.
        const bool told = what == PeerChange::Position && (lagging & Bit(PeerChange::Range)) != 0;
        if ((lagging & Bit(what)) != 0 && !told) peer_->Changed(what);
    }
}

void TControl::FitLater() {
    fitPending_ = true;
    if (peer_) TPeerUpdates::Instance().Defer(*this);
}

// Controls are never const objects (each is a member of its window): a read fits the size.
void TControl::FitNow() const {
    fitPending_ = false;
    const_cast<TControl*>(this)->Fit();
}

TSize TControl::MeasureText(const std::string& text) const {
    // Nothing to measure with before the window exists: the size stays as stored.
    if (!peer_) return {bounds_.Width, bounds_.Height};
    return peer_->MeasureText(text);
}

std::vector<TWinControl*> TWinControl::TabOrderedChildren() const {
    std::vector<TWinControl*> ordered;
    for (TControl* child : children_)
        if (auto* control = dynamic_cast<TWinControl*>(child); control && control->TabOrder() >= 0)
            ordered.push_back(control);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    return ordered;
}

void TWinControl::SetTabStop(bool stop) { tabStop_ = stop; }

bool TWinControl::CanFocus() const { return tabOrder_ >= 0 && Showing() && Enabled(); }
