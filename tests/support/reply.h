#pragma once
// HTTP/1.0 replies for the scripted server, and what to read off a recorded request.
#include <string>

// "HTTP/1.0 <status>" CR LF, the header lines each with CR LF, an empty line, the body.
inline std::string Reply(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}

inline std::string Ok(const std::string& body) {
    return Reply("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

// The request line, without its CR LF.
inline std::string FirstLine(const std::string& request) { return request.substr(0, request.find("\r\n")); }
