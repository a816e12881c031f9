#pragma once
// The program's texts are UTF-8; the system's are UTF-16. This is the one conversion
// between them, used at every seam. Ill-formed input never stops or shortens a text:
// each maximal ill-formed subsequence (a stray or truncated byte run, an overlong form,
// a value past U+10FFFF) becomes one U+FFFD, as Unicode recommends, so that the damage
// stays visible and the rest arrives. NUL is a character like any other. A lone surrogate
// is the exception: Windows names are any 16-bit units, so a folder may hold one, and it
// travels in its three-byte form (as WTF-8 does) and goes back unchanged. Such a text is
// not valid UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character that starts at position (which must lie inside the text), and position
// moved past it; U+FFFD for an ill-formed subsequence, a surrogate for its three-byte form.
char32_t DecodeUtf8(std::string_view text, std::size_t& position);
// A scalar value; U+FFFD in place of a surrogate or a value past U+10FFFF.
void AppendUtf8(std::string& text, char32_t character);
bool IsValidUtf8(std::string_view text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace platform
