#include "ui/button.h"

#include <cctype>

TButton::TButton(TWinControl* parent, std::string name, TBounds bounds) : TWinControl(parent, std::move(name), bounds) {
    SetTabStop(true);
}

void TButton::Click() {
    if (Enabled() && Showing() && OnClick) OnClick(this);
}

char TButton::AccessKey() const {
    const std::string& caption = Caption();
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" shows one ampersand
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}
