// The reply-header reader fed arbitrary server bytes in one piece: whatever arrives, the
// header and body handed back are exactly the bytes received, and nothing overflows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/nmhttp.h"
#include "scripted_sockets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    fuzzseam::Serve({reply, reply.size() + 1, false, false});
    TNMHTTP http;
    try {
        http.Get("http://127.0.0.1:8080/x");
    } catch (const Exception&) {
        return 0;  // an over-long line, a redirection to a name or loop: all reported
    }
    if (http.ExpectedBytes < 0) std::abort();
    const bool followed = http.ReplyCode >= 300 && http.ReplyCode <= 302;
    if (!followed && http.Header + http.Body != reply) std::abort();
    return 0;
}
