// A whole Get into a file against fuzzed server bytes, arriving in fuzzed chunks with
// waits between them, ending in a close or a reset, or refused outright. The file always
// holds the body bytes received, and the counters agree with it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files.h"
#include "net/nmhttp.h"
#include "scripted_sockets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    fuzzseam::Script script;
    script.chunk = 1u + data[1] * 7u;
    script.resetAtEnd = (flags & 1) != 0;
    script.refuse = (flags & 2) != 0;
    script.reply.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    fuzzseam::Serve(script);

    static const std::string body = (std::filesystem::temp_directory_path() / "quorvane-get-fuzzer.bin").string();
    std::filesystem::remove(body);
    TNMHTTP http;
    http.InputFileMode = true;
    http.Body = body;
    http.HeaderInfo.Cookie = "seed=1";
    int packets = 0;
    http.OnPacketRecvd = [&] {
        if (http.ReceivedBytes <= 0 || http.ExpectedBytes < 0) std::abort();
        if ((flags & 4) != 0 && ++packets == 2) http.Abort();
    };
    try {
        http.Get("http://127.0.0.1:8080/download/qventreprise/quorvane.exe");
    } catch (const Exception&) {
    }
    if (const auto saved = ReadFile(body); saved && saved->size() != static_cast<std::size_t>(http.ReceivedBytes))
        std::abort();
    return 0;
}
