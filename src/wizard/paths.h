#pragma once
// Directory texts: joining a directory and a name, and the text held in a fixed buffer.
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

// An empty directory stays empty: it must never turn into the root of the current drive.
inline std::string WithTrailingBackslash(std::string directory) {
    if (!directory.empty() && directory.back() != '\\') directory += '\\';
    return directory;
}

// The text up to the terminating zero, or the whole buffer when there is none.
template <std::size_t N>
std::string ZeroTerminated(const std::array<char, N>& buffer) {
    return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}
