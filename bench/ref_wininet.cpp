// Reference: the download as WinINet does it, 64 KiB per InternetReadFile.
#include <windows.h>

#include <wininet.h>

#include "reference.h"

namespace {

struct InternetCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetCloser>;

void download(const char* text, const reference::Url&, reference::OutputFile& file, reference::Transfer& transfer) {
    const Internet session(InternetOpenA("ref_wininet", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return;
    const Internet request(
        InternetOpenUrlA(session.get(), text, nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request) return;
    std::vector<char> block(reference::BlockSize);
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.get(), block.data(), reference::BlockSize, &read)) return;
        if (read == 0) break;
        if (!file.write(block.data(), read)) return;
        transfer.bytes += read;
        ++transfer.blocks;
    }
    transfer.complete = true;
}

}  // namespace

int main(int argc, char** argv) { return reference::runMeasured(argc, argv, download); }
