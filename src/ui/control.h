#pragma once
// Base of every control: position in its parent, caption, font, visibility and enabled
// state, and the optional peer that shows it. A control is a member of the window that
// creates it; the parent only keeps a non-owning list of its children in creation order.
#include <memory>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/peer.h"
#include "ui/types.h"

class TWinControl;
class TForm;

class TControl : public TComponent {
public:
    TControl(TWinControl* parent, std::string name, TBounds bounds);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    TForm* Form();

    const TBounds& Bounds() const {
        if (fitPending_) FitNow();
        return bounds_;
    }
    void SetBounds(const TBounds& bounds);

    // An equal assignment changes nothing and raises nothing.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible, and every parent up to the window visible too.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    platform::ControlPeer* Peer() const { return peer_.get(); }
    void SetPeer(std::unique_ptr<platform::ControlPeer> peer);

    // The peer learns of bounds, caption, range and position at most once per look at the
    // message queue (TPeerUpdates), not at every change; what is read back is current at once.
    bool CoalescedUpdates() const { return coalesced_; }
    void SetCoalescedUpdates(bool coalesced);
    // Tells the peer every change it is behind on.
    void UpdatePeer();

    TNotifyEvent OnClick;

protected:
    // Runs after the caption changed and the peer was told.
    virtual void CaptionChanged() {}
    void NotifyPeer(platform::PeerChange what);
    // A coalesced control's size follows its caption (Fit) when it is next read or shown.
    void FitLater();
    virtual void Fit() {}
    // After a change that may have made the focused control unable to hold the focus.
    void CheckFocus();
    TSize MeasureText(const std::string& text) const;

private:
    TWinControl* parent_;
    TBounds bounds_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    TFont font_;
    std::unique_ptr<platform::ControlPeer> peer_;
    bool coalesced_ = false;
    unsigned lagging_ = 0;  // a bit per change the peer has not been told of
    mutable bool fitPending_ = false;

    void FitNow() const;
};

// A control that can hold the keyboard focus and children.
class TWinControl : public TControl {
public:
    using TControl::TControl;

    const std::vector<TControl*>& Children() const { return children_; }
    // The children that have a tab order, in that order (creation order among equals).
    std::vector<TWinControl*> TabOrderedChildren() const;

    // Position among the tab-order siblings of the parent; -1 when the control never
    // takes the focus.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order) { tabOrder_ = order; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool stop);
    // Showing, enabled and allowed to take the focus.
    virtual bool CanFocus() const;
    // Controls that use Enter, or typed characters, themselves (edit boxes, text boxes).
    virtual bool WantsReturn() const { return false; }
    virtual bool WantsCharacters() const { return false; }

private:
    friend class TControl;
    std::vector<TControl*> children_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
};
