// The form encoder and the Base64 and uuencode writers: decoding what they wrote gives
// the input back, and the line structure holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/nmurl.h"
#include "net/nmuue.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

int HexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

std::string FormDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            Check(i + 2 < text.size());
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            Check((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z') ||
                  (text[i] >= '0' && text[i] <= '9'));
            out += text[i];
        }
    }
    return out;
}

// Decodes lines of Base64 (mime) or uuencode, each ended by CR LF.
std::string Decode(std::string_view text, TUUMethod method) {
    static constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        Check(end != std::string_view::npos);
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        std::size_t length = 0;
        if (method == uuCode) {
            Check(!line.empty());
            length = line[0] == '`' ? 0 : static_cast<std::size_t>(line[0] - ' ');
            line.remove_prefix(1);
            Check(line.size() == (length + 2) / 3 * 4);
        } else {
            Check(line.size() % 4 == 0 && line.size() <= 60);
        }
        std::string bytes;
        for (std::size_t at = 0; at < line.size(); at += 4) {
            unsigned group = 0;
            int pad = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const char c = line[at + i];
                unsigned bits = 0;
                if (method == uuCode)
                    bits = c == '`' ? 0u : static_cast<unsigned>(c - ' ') & 0x3F;
                else if (c == '=')
                    ++pad;
                else
                    bits = static_cast<unsigned>(alphabet.find(c));
                Check(bits < 64);
                group = (group << 6) | bits;
            }
            for (int i = 0; i < 3 - pad; ++i) bytes += static_cast<char>((group >> (16 - 8 * i)) & 0xFF);
        }
        if (method == uuCode) {
            if (length == 0) {
                Check(text.empty());
                break;
            }
            bytes.resize(length);
        }
        out += bytes;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Check(FormDecode(TNMURL().Encode(input)) == input);
    TNMUUProcessor processor;
    processor.Method = uuMime;
    Check(Decode(processor.Encode(input), uuMime) == input);
    processor.Method = uuCode;
    Check(Decode(processor.Encode(input), uuCode) == input);
    return 0;
}
