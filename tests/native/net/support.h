#pragma once
// What the transport tests share: the scripted loopback server, replies, files, and a
// TNMHTTP that saves the body into a file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "files.h"
#include "net/nmhttp.h"
#include "raised.h"
#include "reply.h"
#include "script_server.h"

class HttpFixture : public ::testing::Test {
protected:
    HttpFixture() {
        http.InputFileMode = true;
        http.Body = dir.File("body.bin");
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
    }
    std::optional<std::string> BodyFile() const { return ReadFile(http.Body); }

    ScriptServer server;
    TempDir dir;
    TNMHTTP http;
};
