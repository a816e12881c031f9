// ParseURL and the request header built from it, for any URL text: either a reported
// error, or a host without a port, a request path that starts with "/" and a sound
// request line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/nmhttp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TNMHTTP http;  // one object, as the wizard uses it: Host and Port carry over
    http.RequestURL.assign(reinterpret_cast<const char*>(data), size);
    http.Proxy = size % 2 == 0 ? "" : "proxy";
    try {
        http.ParseURL();
    } catch (const Exception&) {
        return 0;
    }
    if (http.RequestPath.empty() || http.RequestPath[0] != '/') std::abort();
    if (http.Host.find(':') != std::string::npos) std::abort();
    http.BuildRequestHeader();
    const std::string& first = http.RequestHeaders.Strings.at(0);
    if (first.rfind("GET ", 0) != 0 || first.size() < 13 || first.compare(first.size() - 9, 9, " HTTP/1.0") != 0)
        std::abort();
    return 0;
}
