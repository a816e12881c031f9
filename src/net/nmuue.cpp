#include "net/nmuue.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::size_t kLineBytes = 45;
constexpr char kMimeAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// uuencode: six bits to a printable character, 0 as '`' so no line ends in a space.
char UuChar(unsigned bits) { return bits == 0 ? '`' : static_cast<char>(' ' + bits); }

void EncodeLine(std::string_view line, TUUMethod method, std::string& out) {
    if (method == uuCode) out += UuChar(static_cast<unsigned>(line.size()));
    for (std::size_t at = 0; at < line.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, line.size() - at);
        unsigned group = 0;
        for (std::size_t i = 0; i < 3; ++i)
            group = (group << 8) | (i < count ? static_cast<unsigned char>(line[at + i]) : 0u);
        for (std::size_t i = 0; i < 4; ++i) {
            const unsigned bits = (group >> (18 - 6 * i)) & 0x3F;
            if (method == uuCode)
                out += UuChar(bits);
            else
                out += i <= count ? kMimeAlphabet[bits] : '=';
        }
    }
    out += "\r\n";
}

}  // namespace

std::string TNMUUProcessor::Encode(const std::string& Input) {
    if (OnBeginEncode) OnBeginEncode();
    std::string out;
    const std::string_view input = Input;
    for (std::size_t at = 0; at < input.size(); at += kLineBytes) EncodeLine(input.substr(at, kLineBytes), Method, out);
    if (Method == uuCode) EncodeLine({}, uuCode, out);
    if (OnEndEncode) OnEndEncode();
    return out;
}
