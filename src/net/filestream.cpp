#include "net/filestream.h"

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

void TFileStream::Write(const char* Data, std::size_t Count) {
    if (std::fwrite(Data, 1, Count, FFile.get()) != Count) throw Exception("Stream write error", "EWriteError");
}

std::size_t TFileStream::Read(char* Data, std::size_t Count) {
    const std::size_t read = std::fread(Data, 1, Count, FFile.get());
    if (read < Count && std::ferror(FFile.get())) throw Exception("Stream read error", "EReadError");
    return read;
}

void TFileStream::Close() {
    if (!FFile) return;
    if (std::fclose(FFile.release()) != 0) throw Exception("Stream write error", "EWriteError");
}

std::int64_t TFileStream::Size(const std::string& FileName) {
    TFileStream file(FileName, Mode::OpenRead);
    std::int64_t size = 0;
    char block[4096];
    while (const std::size_t read = file.Read(block, sizeof block)) size += static_cast<std::int64_t>(read);
    return size;
}
