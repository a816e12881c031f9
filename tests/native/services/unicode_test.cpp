// The one UTF-8 <-> UTF-16 conversion of the seams: well-formed texts arrive unchanged,
// NUL included; every ill-formed subsequence becomes one U+FFFD and the rest still arrives;
// a lone surrogate goes there and back unchanged.
#include <gtest/gtest.h>

#include <string>

#include "platform/unicode.h"

namespace {

using namespace platform;

const std::u16string kFFFD = u"\uFFFD";

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
    bool valid;
};

const Utf8Case kUtf8Cases[] = {
    {"empty", "", u"", true},
    {"ascii", "C:\\Program Files", u"C:\\Program Files", true},
    {"two bytes",
     "Fran\xC3\xA7"
     "ais",
     u"Fran\u00E7ais", true},
    {"three bytes", "\xE2\x98\x83", u"\u2603", true},
    {"four bytes, a surrogate pair", "\xF0\x9F\x98\x80!", u"\U0001F600!", true},
    {"embedded NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3), true},
    {"U+FFFD itself", "\xEF\xBF\xBD", kFFFD, true},
    {"last scalar value", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
    {"lone continuation", "a\x80z", u"a" + kFFFD + u"z", false},
    {"cut short at the end", "a\xC3", u"a" + kFFFD, false},
    {"cut short before ASCII: one U+FFFD", "\xE2\x98x", kFFFD + u"x", false},
    {"cut short before a lead", "\xE2\xC3\xA9", kFFFD + u"\u00E9", false},
    {"overlong two bytes", "\xC0\xAF", kFFFD + kFFFD, false},
    {"overlong three bytes", "\xE0\x80\xAF", kFFFD + kFFFD + kFFFD, false},
    {"overlong four bytes", "\xF0\x8F\xBF\xBF", kFFFD + kFFFD + kFFFD + kFFFD, false},
    {"encoded high surrogate", "\xED\xA0\x80", std::u16string(1, char16_t(0xD800)), false},
    {"encoded low surrogate", "x\xED\xBF\xBF", {u'x', char16_t(0xDFFF)}, false},
    {"encoded surrogate cut short: one U+FFFD", "\xED\xA0", kFFFD, false},
    {"past U+10FFFF", "\xF4\x90\x80\x80", kFFFD + kFFFD + kFFFD + kFFFD, false},
    {"never a lead", "\xF5\xFE\xFF", kFFFD + kFFFD + kFFFD, false},
    {"code page 1252 bytes", "Termin\xE9", u"Termin" + kFFFD, false},
};

TEST(Unicode, Utf8ToUtf16ReplacesEachIllFormedSubsequenceAndKeepsTheRest) {
    for (const auto& c : kUtf8Cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
        EXPECT_EQ(IsValidUtf8(c.utf8), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name << ": back again";
        }
    }
}

// A folder name may hold any 16-bit units: what the system gives comes back to it whole.
TEST(Unicode, LoneSurrogatesTravelInTheirThreeByteFormAndComeBack) {
    const std::string highD800 = "\xED\xA0\x80", lowDC00 = "\xED\xB0\x80";
    const struct {
        const char* name;
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {"lone high surrogate at the end", std::u16string(u"a") + char16_t(0xD800), "a" + highD800},
        {"lone low surrogate", char16_t(0xDC00) + std::u16string(u"b"), lowDC00 + "b"},
        {"pair in the wrong order", {char16_t(0xDC00), char16_t(0xD800)}, lowDC00 + highD800},
        {"high surrogate before a letter", {char16_t(0xDBFF), u'x'}, "\xED\xAF\xBFx"},
        {"two high surrogates then a low one",
         {char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},
         "\xED\xA0\xBD\xF0\x9F\x98\x80"},
        {"embedded NUL", std::u16string(u"\0\0", 2), std::string("\0\0", 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name << ": back again";
    }
}

TEST(Unicode, DecodingStepsOverExactlyTheIllFormedBytes) {
    const std::string text =
        "\xE2\x98"
        "a\xF0\x9F\x98\x80";
    std::size_t position = 0;
    const struct {
        char32_t character;
        std::size_t after;
    } steps[] = {{kReplacementCharacter, 2}, {U'a', 3}, {U'\U0001F600', 7}};
    for (const auto& step : steps) {
        EXPECT_EQ(DecodeUtf8(text, position), step.character);
        EXPECT_EQ(position, step.after);
    }
}

TEST(Unicode, AppendingASurrogateOrAValuePastTheRangeWritesUFFFD) {
    for (char32_t character : {char32_t(0xD800), char32_t(0xDFFF), char32_t(0x110000), char32_t(0xFFFFFFFF)}) {
        std::string text;
        AppendUtf8(text, character);
        EXPECT_EQ(text, "\xEF\xBF\xBD") << static_cast<unsigned long>(character);
    }
}

}  // namespace
