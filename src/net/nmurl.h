#pragma once
// NMURL: form encoding of the data a Post sends.
#include <functional>
#include <string>

class TNMURL {
public:
    // Space to '+', letters and digits kept, every other byte as %XX (upper-case hex).
    // On failure OnError hears why and the input comes back unchanged.
    std::string Encode(const std::string& Input) const;

    std::function<void(const std::string& Operation, const std::string& ErrorMsg)> OnError;
};
