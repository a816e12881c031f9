#include "net/nmurl.h"

#include <exception>

std::string TNMURL::Encode(const std::string& Input) const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    try {
        std::string encoded;
        encoded.reserve(Input.size() * 3);
        for (const char c : Input) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == ' ') {
                encoded += '+';
            } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
                encoded += c;
            } else {
                encoded += '%';
                encoded += kHex[byte >> 4];
                encoded += kHex[byte & 0x0F];
            }
        }
        return encoded;
    } catch (const std::exception& error) {
        if (OnError) OnError("Error during encode", error.what());
        return Input;
    }
}
