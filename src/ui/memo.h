#pragma once
// A read-only multi-line text box with a vertical scroll bar that wraps long lines: the
// user can scroll, select and copy. It uses Enter itself; Tab leaves it. The text is the
// caption, lines separated by CR LF. Rich marks the rich-text variant.
#include "ui/control.h"

class TMemo : public TWinControl {
public:
    TMemo(TWinControl* parent, std::string name, TBounds bounds, bool rich = false);

    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool Rich() const { return rich_; }

    bool WantsReturn() const override { return true; }
    bool WantsCharacters() const override { return true; }

private:
    bool rich_;
};
