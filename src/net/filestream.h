#pragma once
// Files the transport reads and writes, closed on every path. Failures raise the
// component library's texts, so a full disk never passes as a finished download.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class TFileStream {
public:
    enum class Mode { Create, OpenRead };
    // Create replaces any file of that name: "Cannot create file <name>";
    // OpenRead: "Cannot open file <name>".
    TFileStream(const std::string& FileName, Mode mode);
    ~TFileStream();
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    void Write(const char* Data, std::size_t Count);  // "Stream write error"
    std::size_t Read(char* Data, std::size_t Count);  // 0 at the end; "Stream read error"
    void Close();                                     // flushes; "Stream write error"

    static std::int64_t Size(const std::string& FileName);  // "Cannot open file <name>"

private:
    void ReleaseUnused();

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> FFile;
    std::int64_t FWritten = 0;
    std::int64_t FReserved = 0;  // room on disk taken ahead of the writes
};
