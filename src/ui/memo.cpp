#include "ui/memo.h"

TMemo::TMemo(TWinControl* parent, std::string name, TBounds bounds, bool rich)
    : TWinControl(parent, std::move(name), bounds), rich_(rich) {
    SetTabStop(true);
}
