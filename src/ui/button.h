#pragma once
// A push button. "&" in the caption marks its access key.
#include "ui/control.h"

class TButton : public TWinControl {
public:
    TButton(TWinControl* parent, std::string name, TBounds bounds);
    // A click, the space bar or the access key: runs OnClick when enabled and showing.
    void Click();
    // The character after the first single "&", upper-cased; 0 when there is none.
    char AccessKey() const;
};
