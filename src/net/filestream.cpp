#include "net/filestream.h"

#include <algorithm>

#include "platform/exception.h"
#include "platform/services.h"

TFileStream::TFileStream(const std::string& FileName, Mode mode)
    : FFile(platform::OpenFile(FileName, mode == Mode::Create ? "wb" : "rb")) {
    if (!FFile) {
        if (mode == Mode::Create) throw Exception("Cannot create file " + FileName, "EFCreateError");
        throw Exception("Cannot open file " + FileName, "EFOpenError");
    }
    // What is written comes in blocks as large as one write should be: buffered, each would
    // be copied once more and cost two system calls instead of one.
    if (mode == Mode::Create) std::setvbuf(FFile.get(), nullptr, _IONBF, 0);
}

namespace {

// A file system that places a file's blocks as they are written spends more on each than
// on copying it: room is taken ahead, in steps that grow with the file.
constexpr std::int64_t kFirstReservation = std::int64_t{1} << 20;
constexpr std::int64_t kLargestReservation = std::int64_t{16} << 20;

}  // namespace

TFileStream::~TFileStream() { ReleaseUnused(); }

void TFileStream::Write(const char* Data, std::size_t Count) {
    const std::int64_t end = FWritten + static_cast<std::int64_t>(Count);
    if (end > FReserved) {
        FReserved = end + std::clamp(end, kFirstReservation, kLargestReservation);
        platform::ReserveFileSpace(FFile.get(), FReserved);  // where it fails, blocks come as written
    }
    if (std::fwrite(Data, 1, Count, FFile.get()) != Count) throw Exception("Stream write error", "EWriteError");
    FWritten = end;
}

std::size_t TFileStream::Read(char* Data, std::size_t Count) {
    const std::size_t read = std::fread(Data, 1, Count, FFile.get());
    if (read < Count && std::ferror(FFile.get())) throw Exception("Stream read error", "EReadError");
    return read;
}

void TFileStream::Close() {
    if (!FFile) return;
    ReleaseUnused();
    if (std::fclose(FFile.release()) != 0) throw Exception("Stream write error", "EWriteError");
}

std::int64_t TFileStream::Size(const std::string& FileName) {
    TFileStream file(FileName, Mode::OpenRead);
    std::int64_t size = 0;
    char block[4096];
    while (const std::size_t read = file.Read(block, sizeof block)) size += static_cast<std::int64_t>(read);
    return size;
}

// Whatever ends the writing, the file keeps no room beyond what it holds.
void TFileStream::ReleaseUnused() {
    if (FFile && FReserved > FWritten) platform::ReleaseFileSpace(FFile.get());
}
