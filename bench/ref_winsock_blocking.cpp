// Reference: a bare blocking-Winsock loop, one recv of up to 64 KiB after the other.
#include "reference_winsock.h"

namespace {

void download(const char*, const reference::Url& url, reference::OutputFile& file, reference::Transfer& transfer) {
    const reference::WinsockSession winsock;
    reference::Socket socket;
    if (!winsock.ok() || !socket.open(url)) return;
    reference::BodySink sink(file, transfer);
    std::vector<char> block(reference::BlockSize);
    for (;;) {
        const int received = recv(socket.get(), block.data(), reference::BlockSize, 0);
        if (received < 0) return;
        if (received == 0) break;
        if (!sink.take(block.data(), static_cast<std::size_t>(received))) return;
    }
    transfer.complete = true;
}

}  // namespace

int main(int argc, char** argv) { return reference::runMeasured(argc, argv, download); }
