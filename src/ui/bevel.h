#pragma once
// A lowered box: upper row in the button-shadow colour, lower row in the button-highlight
// colour (the separator under a page header).
#include "ui/control.h"

class TBevel : public TControl {
public:
    using TControl::TControl;
};
