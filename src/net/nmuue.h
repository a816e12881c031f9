#pragma once
// NMUUE: Base64 (MIME) and uuencode text of a byte string, in lines of 45 input bytes,
// each output line ended by CR LF.
#include <functional>
#include <string>

enum TUUMethod { uuMime, uuCode };

class TNMUUProcessor {
public:
    // uuCode ends with a line holding only the zero-length character.
    std::string Encode(const std::string& Input);

    TUUMethod Method = uuMime;
    std::function<void()> OnBeginEncode;
    std::function<void()> OnEndEncode;
};
