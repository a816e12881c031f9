#pragma once
// The program's UTF-8 texts as the system's UTF-16 and back, through platform/unicode.h:
// an ill-formed text arrives whole, with U+FFFD in place of what could not be read.
#include <string>
#include <string_view>

#include "platform/unicode.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's texts are UTF-16");

inline std::wstring Widen(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

// A zero-terminated text; empty for null.
inline std::string Narrow(const wchar_t* text) { return text ? Narrow(std::wstring_view(text)) : std::string(); }

}  // namespace platform::win32
