// The seams' text conversion on any bytes: read as UTF-8 and as UTF-16 units, a
// well-formed input comes back unchanged, any UTF-16 text comes back whole (lone
// surrogates included), a result is valid UTF-8 exactly when no lone surrogate passed, and
// nothing is lost but what was ill formed (each such run one U+FFFD, at most 3 bytes per
// input byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/unicode.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HasLoneSurrogate(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string wide = Utf8ToUtf16(bytes);
    const std::string back = Utf16ToUtf8(wide);
    Check(IsValidUtf8(back) == !HasLoneSurrogate(wide));
    Check(Utf8ToUtf16(back) == wide);
    Check(back.size() <= 3 * bytes.size());
    if (IsValidUtf8(bytes)) Check(back == bytes);

    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    const std::string narrow = Utf16ToUtf8(units);
    Check(IsValidUtf8(narrow) == !HasLoneSurrogate(units));
    Check(Utf8ToUtf16(narrow) == units);
    return 0;
}
