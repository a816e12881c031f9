// The transport over real Winsock under Wine, against a loopback server: window-message
// notification (1125, 1126), the wait timer and the message pump.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "net/nmhttp.h"
#include "support.h"

namespace {

class WinsockHttpTest : public ::testing::Test {
protected:
    WinsockHttpTest() {
        http.InputFileMode = true;
        http.Body = dir.File("quorvane.exe");
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
    }

    ScriptServer server;
    TempDir dir;
    TNMHTTP http;
};

TEST_F(WinsockHttpTest, FullGetIntoAFileWithProgressEvents) {
    std::string body;
    for (int i = 0; i < 300000; ++i) body += static_cast<char>('a' + i % 26);
    server.Play({Send(Reply("200 OK", "Content-Length: 300000\r\n", body.substr(0, 100000))), Pause(50),
                 Send(body.substr(100000, 100000)), Pause(50), Send(body.substr(200000))});
    std::vector<std::int32_t> progress;
    std::vector<std::string> events;
    http.OnAboutToSend = [&] { events.push_back("about"); };
    http.OnConnect = [&] { events.push_back("connect"); };
    http.OnPacketRecvd = [&] {
        EXPECT_EQ(http.ExpectedBytes, 300000);
        progress.push_back(http.ReceivedBytes);
    };
    http.Get(Url("/download/qventreprise/quorvane.exe"));
    EXPECT_EQ(events, (std::vector<std::string>{"about", "connect"}));
    EXPECT_EQ(http.ReplyCode, 200);
    EXPECT_EQ(ReadWholeFile(http.Body), body);
    ASSERT_GE(progress.size(), 3u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 300000);
    const std::string request = server.Requests().at(0);
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /download/qventreprise/quorvane.exe HTTP/1.0");
}

TEST_F(WinsockHttpTest, NamedHostIsLookedUpThroughTheWindow) {
    server.Play({Send(Reply("200 OK", "", "resolved"))});
    bool resolved = false;
    http.OnHostResolved = [&] { resolved = true; };
    http.Get("http://localhost:" + std::to_string(server.Port()) + "/x");
    EXPECT_TRUE(resolved);
    EXPECT_EQ(ReadWholeFile(http.Body), "resolved");
}

TEST_F(WinsockHttpTest, LookupFailureAsksOnInvalidHostOnce) {
    int calls = 0;
    http.OnInvalidHost = [&](bool&) { ++calls; };
    try {
        http.Get("http://no-such-host.invalid/x");
        FAIL() << "no error";
    } catch (const ESockError& error) {
        EXPECT_EQ(error.Message, "Null Remote Address");
    }
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(std::filesystem::exists(http.Body));
}

TEST_F(WinsockHttpTest, RefusedConnectionIsConnectionFailed) {
    bool connected = false;
    http.OnConnect = [&] { connected = true; };
    try {
        http.Get("http://127.0.0.1:" + std::to_string(ScriptServer::RefusingPort()) + "/x");
        FAIL() << "no error";
    } catch (const ESockError& error) {
        EXPECT_EQ(error.Message, "Connection Failed");
    }
    EXPECT_FALSE(connected);
}

TEST_F(WinsockHttpTest, TimeOutAbortsASilentBodyAndKeepsTheBytes) {
    server.Play({Send(Reply("200 OK", "", "partial")), Hold()});
    http.TimeOut = 300;
    try {
        http.Get(Url("/x"));
        FAIL() << "no error";
    } catch (const EAbortError& error) {
        EXPECT_EQ(error.Message, "Socket send aborted");
    }
    EXPECT_EQ(ReadWholeFile(http.Body), "partial");
}

TEST_F(WinsockHttpTest, AbortFromAnotherTimerEndsTheWaitForTheReply) {
    server.Play({Hold()});
    TThreadTimer cancel;
    cancel.SetInterval(200);
    cancel.SetOnTimer([&] { http.Abort(); });
    try {
        http.Get(Url("/x"));
        FAIL() << "no error";
    } catch (const EAbortError& error) {
        EXPECT_EQ(error.Message, "Socket readln aborted");
    }
    cancel.SetEnabled(false);
    server.Play({Send(Reply("200 OK", "", "after"))});
    http.Get(Url("/again"));
    EXPECT_EQ(ReadWholeFile(http.Body), "after");
}

}  // namespace
