// A whole Get into a file against fuzzed server bytes, arriving in fuzzed chunks with
// waits between them, ending in a close or a reset, or refused outright, or repeated
// without end (a flood). The file always holds the body bytes received, the counters agree
// with it, a flood always ends, the header held never passes its bound, and no failed
// lookup's result is read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "files.h"
#include "net/nmhttp.h"
#include "scripted_sockets.h"

namespace {
constexpr std::size_t kMaxHeaderBytes = 1 << 20;
constexpr std::int32_t kFloodBodyBytes = 1 << 20;

// The body's file: a name of this process's own, since fuzzers may run side by side;
// removed when the process ends.
struct BodyFile {
    std::string Path = (std::filesystem::temp_directory_path() /
                        ("quorvane-get-fuzzer-" + std::to_string(std::random_device{}()) + ".bin"))
                           .string();
    ~BodyFile() {
        std::error_code ignored;
        std::filesystem::remove(Path, ignored);
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    fuzzseam::Script script;
    const bool flood = (flags & 8) != 0;
    script.chunk = flood ? 256u + data[1] * 64u : 1u + data[1] * 7u;
    script.resetAtEnd = (flags & 1) != 0;
    script.refuse = (flags & 2) != 0;
    script.endless = flood;
    script.reply.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    fuzzseam::Serve(script);

    static const BodyFile file;
    const std::string& body = file.Path;
    std::filesystem::remove(body);
    TNMHTTP http;
    http.InputFileMode = true;
    http.Body = body;
    http.HeaderInfo.Cookie = "seed=1";
    int packets = 0;
    http.OnPacketRecvd = [&] {
        if (http.ReceivedBytes <= 0 || http.ExpectedBytes < 0) std::abort();
        if ((flags & 4) != 0 && ++packets == 2) http.Abort();
        if (flood && http.ReceivedBytes > kFloodBodyBytes) http.Abort();  // a body without end
    };
    try {
        http.Get("http://127.0.0.1:8080/download/qventreprise/quorvane.exe");
    } catch (const Exception&) {
    }
    if (http.Header.size() > kMaxHeaderBytes || fuzzseam::FailedLookupsRead() != 0) std::abort();
    if (const auto saved = ReadFile(body); saved && saved->size() != static_cast<std::size_t>(http.ReceivedBytes))
        std::abort();
    return 0;
}
