#include "platform/unicode.h"

namespace platform {
namespace {

bool Within(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

bool IsSurrogate(char32_t character) { return character >= 0xD800 && character <= 0xDFFF; }

// The three-byte form that strict UTF-8 refuses to a surrogate.
void AppendEncodedSurrogate(std::string& text, char16_t unit) {
    text += static_cast<char>(0xED);
    text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (unit & 0x3F));
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position++]);
    if (lead < 0x80) return lead;
    int trailing;
    char32_t character;
    // The second byte's range excludes overlong forms and values past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (Within(lead, 0xC2, 0xDF)) {
        trailing = 1;
        character = lead & 0x1Fu;
    } else if (Within(lead, 0xE0, 0xEF)) {
        trailing = 2;
        character = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
    } else if (Within(lead, 0xF0, 0xF4)) {
        trailing = 3;
        character = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return kReplacementCharacter;  // a continuation byte, C0, C1 or F5..FF: never a lead
    }
    for (int i = 0; i < trailing; ++i) {
        if (position >= text.size()) return kReplacementCharacter;
        const auto next = static_cast<unsigned char>(text[position]);
        if (!Within(next, low, high)) return kReplacementCharacter;  // that byte starts afresh
        character = (character << 6) | (next & 0x3Fu);
        ++position;
        low = 0x80;
        high = 0xBF;
    }
    return character;
}

void AppendUtf8(std::string& text, char32_t character) {
    if (IsSurrogate(character) || character > 0x10FFFF) character = kReplacementCharacter;
    if (character < 0x80) {
        text += static_cast<char>(character);
        return;
    }
    if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
    } else {
        if (character < 0x10000) {
            text += static_cast<char>(0xE0 | (character >> 12));
        } else {
            text += static_cast<char>(0xF0 | (character >> 18));
            text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        }
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    }
    text += static_cast<char>(0x80 | (character & 0x3F));
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t position = 0; position < text.size();) {
        const std::size_t start = position;
        // U+FFFD itself is valid: only a replacement that consumed other bytes is not.
        const char32_t character = DecodeUtf8(text, position);
        if (IsSurrogate(character)) return false;
        if (character == kReplacementCharacter && text.substr(start, position - start) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const char32_t character = DecodeUtf8(text, position);
        if (character < 0x10000) {
            wide += static_cast<char16_t>(character);
        } else {
            wide += static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10));
            wide += static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        }
    }
    return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t character = text[i];
        if (character >= 0xD800 && character <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            character = 0x10000 + ((character - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (IsSurrogate(character)) {
            AppendEncodedSurrogate(narrow, text[i]);
            continue;
        }
        AppendUtf8(narrow, character);
    }
    return narrow;
}

}  // namespace platform
