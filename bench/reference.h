// What the reference downloads share: the URL, the output file, the 64 KiB block and the
// same stdin/stdout protocol as net_bench, so that scripts/bench reads the CPU counters
// around the transfer alone:
//   PROGRAM URL FILE
// prints "ready", waits for a line, downloads, prints
// "done <seconds> <bytes> -1 <outcome> <blocks>", waits for a line.
#pragma once

#include <windows.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace reference {

constexpr int BlockSize = 65536;

struct Url {
    std::string host;
    std::uint16_t port = 80;
    std::string path;
};

// Only what the benchmark passes: http://HOST[:PORT]/PATH.
inline bool parseUrl(const std::string& text, Url& url) {
    const std::string scheme = "http://";
    if (text.compare(0, scheme.size(), scheme) != 0) return false;
    const auto slash = text.find('/', scheme.size());
    const std::string authority = text.substr(scheme.size(), slash - scheme.size());
    url.path = slash == std::string::npos ? "/" : text.substr(slash);
    const auto colon = authority.find(':');
    url.host = authority.substr(0, colon);
    if (colon == std::string::npos) return !url.host.empty();
    const char* first = authority.data() + colon + 1;
    const char* last = authority.data() + authority.size();
    const auto [end, error] = std::from_chars(first, last, url.port);
    return !url.host.empty() && error == std::errc{} && end == last && first != last;
}

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

class OutputFile {
public:
    explicit OutputFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (handle_.get() == INVALID_HANDLE_VALUE) handle_.release();
    }
    bool isOpen() const { return handle_ != nullptr; }
    bool write(const char* data, std::size_t size) {
        DWORD written = 0;
        const DWORD wanted = static_cast<DWORD>(size);
        return WriteFile(handle_.get(), data, wanted, &written, nullptr) && written == wanted;
    }

private:
    std::unique_ptr<void, HandleCloser> handle_;
};

struct Transfer {
    long long bytes = 0;
    long blocks = 0;
    bool complete = false;
};

// Runs `download(url, file, transfer)` between the protocol's two waits and reports it.
template <typename Download>
int runMeasured(int argc, char** argv, Download download) {
    Url url;
    if (argc != 3 || !parseUrl(argv[1], url)) {
        std::cerr << "usage: " << argv[0] << " http://HOST[:PORT]/PATH FILE\n";
        return 2;
    }
    OutputFile file(argv[2]);
    if (!file.isOpen()) {
        std::cerr << "cannot create " << argv[2] << "\n";
        return 1;
    }
    std::string line;
    std::cout << "ready" << std::endl;
    std::getline(std::cin, line);
    Transfer transfer;
    const auto start = std::chrono::steady_clock::now();
    download(argv[1], url, file, transfer);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "done " << seconds << " " << transfer.bytes << " -1 " << (transfer.complete ? "complete" : "failed")
              << " " << transfer.blocks << std::endl;
    std::getline(std::cin, line);
    return transfer.complete ? 0 : 1;
}

}  // namespace reference
