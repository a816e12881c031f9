#pragma once
// Shared pieces of the transport tests: temporary files and reply texts.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "script_server.h"

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh directory, removed with the object.
class TempDir {
public:
    TempDir()
        : path_(std::filesystem::temp_directory_path() / ("quorvane-net-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// "HTTP/1.0 <status>" CR LF, the header lines each with CR LF, an empty line, the body.
inline std::string Reply(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}
