#pragma once
// Decimal digits to a fixed-width integer, refusing what does not fit instead of
// wrapping: reply codes, lengths and ports come from the network.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace net {

// The whole text must be digits, with an optional leading '-' or '+' when signed.
template <class Int>
std::optional<Int> DecimalValue(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The run of digits at the start of the text (empty when there is none).
inline std::string_view LeadingDigits(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return text.substr(0, end);
}

}  // namespace net
