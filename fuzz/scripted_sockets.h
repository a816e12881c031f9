#pragma once
// The fuzzers' (and the seam-level tests') peer: what every connection of the next run is
// answered with.
#include <cstddef>
#include <string>

namespace fuzzseam {

struct Script {
    std::string reply;        // the bytes the server sends
    std::size_t chunk = 1;    // they arrive this many at a time
    bool resetAtEnd = false;  // the connection ends with a reset instead of a close
    bool refuse = false;      // connections are refused
    bool endless = false;     // the reply repeats without end and the connection never closes
    bool sendStalls = false;  // send takes nothing (returns 0)
};

void Serve(Script script);
// Host lookups fail; how many failed ones had their result read since Serve.
int FailedLookupsRead();

}  // namespace fuzzseam
