#pragma once
// A single-line edit box. Its text is the caption; OnChange follows every change, by code
// (when the new text differs) or by the user.
#include "ui/control.h"

class TEdit : public TWinControl {
public:
    TEdit(TWinControl* parent, std::string name, TBounds bounds);

    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    // The user changed the text in the box (the peer already shows it).
    void TextEdited(const std::string& text) { SetCaption(text); }

    bool WantsCharacters() const override { return true; }

    TNotifyEvent OnChange;

protected:
    void CaptionChanged() override;
};
