#include "net/nmextstr.h"

#include <algorithm>

namespace {
bool SameTextAscii(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
}  // namespace

int TExStringList::IndexOfHeader(std::string_view Name) const {
    for (std::size_t index = 0; index < Strings.size(); ++index) {
        const std::string_view line = Strings[index];
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && SameTextAscii(line.substr(0, colon), Name))
            return static_cast<int>(index);
    }
    return -1;
}

void TExStringList::SetHeader(const std::string& Name, const std::string& Value) {
    const int index = IndexOfHeader(Name);
    if (Value.empty()) {
        if (index >= 0) Strings.erase(Strings.begin() + index);
    } else if (index >= 0) {
        Strings[static_cast<std::size_t>(index)] = Name + ": " + Value;
    } else {
        Add(Name + ": " + Value);
    }
}
