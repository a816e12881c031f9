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

using WinsockHttpTest = HttpFixture;

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
    EXPECT_EQ(BodyFile(), body);
    ASSERT_GE(progress.size(), 3u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 300000);
    EXPECT_EQ(FirstLine(server.Requests().at(0)), "GET /download/qventreprise/quorvane.exe HTTP/1.0");
}

TEST_F(WinsockHttpTest, NamedHostIsLookedUpThroughTheWindow) {
    server.Play({Send(Reply("200 OK", "", "resolved"))});
    bool resolved = false;
    http.OnHostResolved = [&] { resolved = true; };
    http.Get("http://localhost:" + std::to_string(server.Port()) + "/x");
    EXPECT_TRUE(resolved);
    EXPECT_EQ(BodyFile(), "resolved");
}

TEST_F(WinsockHttpTest, LookupFailureAsksOnInvalidHostOnce) {
    int calls = 0;
    http.OnInvalidHost = [&](bool&) { ++calls; };
    ExpectRaised<ESockError>([&] { http.Get("http://no-such-host.invalid/x"); }, "Null Remote Address");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(std::filesystem::exists(http.Body));
}

TEST_F(WinsockHttpTest, RefusedConnectionIsConnectionFailed) {
    bool connected = false;
    http.OnConnect = [&] { connected = true; };
    ExpectRaised<ESockError>(
        [&] { http.Get("http://127.0.0.1:" + std::to_string(ScriptServer::RefusingPort()) + "/x"); },
        "Connection Failed");
    EXPECT_FALSE(connected);
}

TEST_F(WinsockHttpTest, TimeOutAbortsASilentBodyAndKeepsTheBytes) {
    server.Play({Send(Reply("200 OK", "", "partial")), Hold()});
    http.TimeOut = 300;
    ExpectRaised<EAbortError>([&] { http.Get(Url("/x")); }, "Socket send aborted");
    EXPECT_EQ(BodyFile(), "partial");
}

TEST_F(WinsockHttpTest, AbortFromAnotherTimerEndsTheWaitForTheReply) {
    server.Play({Hold()});
    TThreadTimer cancel;
    cancel.SetInterval(200);
    cancel.SetOnTimer([&] { http.Abort(); });
    ExpectRaised<EAbortError>([&] { http.Get(Url("/x")); }, "Socket readln aborted");
    cancel.SetEnabled(false);
    server.Play({Send(Reply("200 OK", "", "after"))});
    http.Get(Url("/again"));
    EXPECT_EQ(BodyFile(), "after");
}

}  // namespace
