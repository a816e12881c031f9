#pragma once
// The fuzzers' peer: what every connection of the next run is answered with.
#include <cstddef>
#include <string>

namespace fuzzseam {

struct Script {
    std::string reply;        // the bytes the server sends
    std::size_t chunk = 1;    // they arrive this many at a time
    bool resetAtEnd = false;  // the connection ends with a reset instead of a close
    bool refuse = false;      // connections are refused
};

void Serve(Script script);

}  // namespace fuzzseam
