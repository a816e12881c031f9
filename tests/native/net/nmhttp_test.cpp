// TNMHTTP against a scripted loopback server: what goes on the wire, what the caller
// gets back, and every way a request ends.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/nmhttp.h"
#include "platform/messages.h"
#include "support.h"

namespace {

const std::string kAccept =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";

class HttpTest : public HttpFixture {
protected:
    std::string Request(const std::string& line, const std::string& extra = "") const {
        return line + "\r\nHost: 127.0.0.1\r\n" + kAccept + "Content-type: application/x-www-form-urlencoded\r\n" +
               extra + "\r\n";
    }
};

TEST_F(HttpTest, GetSendsTheExactRequestAndDeliversHeaderBodyCountersAndEventsInOrder) {
    server.Play({Send(Reply("200 OK", "Content-Length: 10\r\nX-Note: a b\r\n", "0123456789"))});
    std::vector<std::string> events;
    http.OnAboutToSend = [&] { events.push_back("about"); };
    http.OnConnect = [&] { events.push_back("connect"); };
    http.OnPacketRecvd = [&] {
        events.push_back("packet " + std::to_string(http.ReceivedBytes) + "/" + std::to_string(http.ExpectedBytes));
    };
    http.OnSuccess = [&](CmdType cmd) { events.push_back("success " + std::to_string(cmd)); };
    http.OnDisconnect = [&] { events.push_back("disconnect"); };

    http.Get(Url("/download/qventreprise/quorvane.ini"));

    EXPECT_EQ(server.Requests(), std::vector<std::string>{Request("GET /download/qventreprise/quorvane.ini HTTP/1.0")});
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\nContent-Length: 10\r\nX-Note: a b\r\n\r\n");
    EXPECT_EQ(BodyFile(), "0123456789");
    EXPECT_EQ(http.ReplyCode, 200);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "disconnect");
    std::erase(events, "disconnect");  // a first one may come from the server's close
    EXPECT_EQ(events, (std::vector<std::string>{"about", "connect", "packet 10/10", "success 0"}));
}

TEST_F(HttpTest, BodyIntoTextAndHeaderIntoFile) {
    server.Play({Send(Reply("200 OK", "", "text body"))});
    http.InputFileMode = false;
    http.OutputFileMode = true;
    http.Header = dir.File("head.txt");
    http.Get(Url("/"));
    EXPECT_EQ(http.Body, "text body");
    EXPECT_EQ(ReadFile(http.Header), "HTTP/1.0 200 OK\r\n\r\n");
}

struct StatusCase {
    std::string statusLine;
    std::int16_t code;
};

class StatusLineTest : public HttpTest, public ::testing::WithParamInterface<StatusCase> {};

// The code is the second field without the line terminator, and only when it fits.
TEST_P(StatusLineTest, GivesTheReplyCode) {
    server.Play({Send(GetParam().statusLine + "\r\nbody")});
    bool failed = false;
    http.OnFailure = [&](CmdType) { failed = true; };
    http.Get(Url("/x"));
    EXPECT_EQ(http.ReplyCode, GetParam().code);
    EXPECT_EQ(failed, GetParam().code >= 400);
    EXPECT_EQ(BodyFile(), "body");
}

INSTANTIATE_TEST_SUITE_P(Replies, StatusLineTest,
                         ::testing::Values(StatusCase{"HTTP/1.0 200 OK\r\n", 200}, StatusCase{"HTTP/1.0 404\r\n", 404},
                                           StatusCase{"HTTP/1.0 404\n", 404},
                                           StatusCase{"HTTP/1.1 500 Server Error\r\n", 500},
                                           StatusCase{"HTTP/1.0 70000 Too Big\r\n", 0},
                                           StatusCase{"HTTP/1.0 99999999999999999999 Huge\r\n", 0},
                                           StatusCase{"HTTP/1.0 abc\r\n", 0}, StatusCase{"HTTP/1.0\r\n", 0}));

struct LengthCase {
    std::string headers;
    std::string body;
    std::int32_t expected;
};

class ContentLengthTest : public HttpTest, public ::testing::WithParamInterface<LengthCase> {};

// The announced length never limits the body and never overflows the counter.
TEST_P(ContentLengthTest, AnnouncesWithoutLimiting) {
    server.Play({Send(Reply("200 OK", GetParam().headers, GetParam().body))});
    std::int32_t seenExpected = -1;
    http.OnPacketRecvd = [&] { seenExpected = http.ExpectedBytes; };
    http.Get(Url("/x"));
    EXPECT_EQ(seenExpected, GetParam().expected);
    EXPECT_EQ(BodyFile(), GetParam().body);
    EXPECT_EQ(http.ReceivedBytes, static_cast<std::int32_t>(GetParam().body.size()));
}

INSTANTIATE_TEST_SUITE_P(Headers, ContentLengthTest,
                         ::testing::Values(LengthCase{"Content-Length: 5\r\n", "12345", 5},
                                           LengthCase{"Content-Length:  5\r\n", "12345", 5},
                                           LengthCase{"content-length: 3\r\n", "123456", 3},
                                           LengthCase{"Content-Length: 100\r\n", "12", 100},
                                           LengthCase{"Content-Length: 2147483647\r\n", "1", 2147483647},
                                           LengthCase{"Content-Length: 2147483648\r\n", "1", 0},
                                           LengthCase{"Content-Length: 99999999999999999999999\r\n", "1", 0},
                                           LengthCase{"Content-Length:5\r\n", "12345", 0}, LengthCase{"", "12345", 0}));

TEST_F(HttpTest, NotFoundReturnsNormallyWithTheErrorBodyAndOnFailure) {
    server.Play({Send(Reply("404 Not Found", "", "<h1>gone</h1>"))});
    std::vector<CmdType> failures;
    bool succeeded = false;
    http.OnFailure = [&](CmdType cmd) { failures.push_back(cmd); };
    http.OnSuccess = [&](CmdType) { succeeded = true; };
    http.Get(Url("/missing"));
    EXPECT_EQ(http.ReplyCode, 404);
    EXPECT_EQ(failures, std::vector<CmdType>{CmdGET});
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(BodyFile(), "<h1>gone</h1>");
}

TEST_F(HttpTest, ServerClosingWithoutReplyCountsAsSuccessWithAnEmptyFile) {
    server.Play({});
    bool succeeded = false;
    http.OnSuccess = [&](CmdType) { succeeded = true; };
    http.Get(Url("/x"));
    EXPECT_EQ(http.ReplyCode, 0);
    EXPECT_TRUE(succeeded);
    EXPECT_TRUE(std::filesystem::exists(http.Body));
    EXPECT_EQ(BodyFile(), "");
}

struct RedirectCase {
    std::string name;
    std::string location;  // "{port}" stands for the server's port
    std::string secondRequestLine;
};

class RedirectTest : public HttpTest, public ::testing::WithParamInterface<RedirectCase> {};

TEST_P(RedirectTest, FollowsTheLocationAndKeepsTheFinalBody) {
    std::string location = GetParam().location;
    if (const auto at = location.find("{port}"); at != std::string::npos)
        location.replace(at, 6, std::to_string(server.Port()));
    server.Play({Send(Reply("302 Found", "Location: " + location + "\r\n", "moved"))});
    server.Play({Send(Reply("200 OK", "", "final"))});
    http.Get(Url("/dir/a"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(FirstLine(requests[1]), GetParam().secondRequestLine);
    EXPECT_EQ(http.ReplyCode, 200);
    EXPECT_EQ(BodyFile(), "final");
}

// A bare name keeps the server's port (it used to fall back to 80, a different server).
INSTANTIATE_TEST_SUITE_P(Locations, RedirectTest,
                         ::testing::Values(RedirectCase{"Absolute", "http://127.0.0.1:{port}/b", "GET /b HTTP/1.0"},
                                           RedirectCase{"SlashRelative", "/c/d", "GET /c/d HTTP/1.0"},
                                           RedirectCase{"BareName", "e.exe", "GET /e.exe HTTP/1.0"}),
                         [](const auto& test) { return test.param.name; });

TEST_F(HttpTest, CookieFromARedirectionIsSentOnEveryLaterRequest) {
    server.Play({Send(Reply("301 Moved", "SET-COOKIE: id=42\r\nLocation: /b\r\n", ""))});
    server.Play({Send(Reply("200 OK", "", "one"))});
    server.Play({Send(Reply("200 OK", "", "two"))});
    http.Get(Url("/a"));
    http.Get(Url("/c"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0], Request("GET /a HTTP/1.0"));
    EXPECT_EQ(requests[0].find("Cookie"), std::string::npos);
    EXPECT_NE(requests[1].find("\r\nCookie: id=42\r\n"), std::string::npos);
    EXPECT_NE(requests[2].find("\r\nCookie: id=42\r\n"), std::string::npos);
}

TEST_F(HttpTest, ARedirectionLoopEndsAfterTwentyFollowedRedirections) {
    for (int i = 0; i <= kMaxRedirections; ++i) server.Play({Send(Reply("302 Found", "Location: /loop\r\n", ""))});
    ExpectRaised([&] { http.Get(Url("/loop")); }, "Too many redirections");
    EXPECT_EQ(server.Requests().size(), static_cast<std::size_t>(kMaxRedirections + 1));
}

struct EndingReplyCase {
    std::string name;
    std::string status;
    std::string headers;
    std::int16_t code;
};

class EndingReplyTest : public HttpTest, public ::testing::WithParamInterface<EndingReplyCase> {};

// These once restarted the same request forever.
TEST_P(EndingReplyTest, EndsTheRequestWithThatReply) {
    server.Play({Send(Reply(GetParam().status, GetParam().headers, "reply body"))});
    http.Get(Url("/x"));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(http.ReplyCode, GetParam().code);
    EXPECT_EQ(BodyFile(), "reply body");
}

INSTANTIATE_TEST_SUITE_P(Replies, EndingReplyTest,
                         ::testing::Values(EndingReplyCase{"SeeOther", "303 See Other", "Location: /y\r\n", 303},
                                           EndingReplyCase{"NotModified", "304 Not Modified", "", 304},
                                           EndingReplyCase{"Code299", "299 Odd", "Location: /y\r\n", 299},
                                           EndingReplyCase{"MovedWithoutLocation", "301 Moved", "", 301},
                                           EndingReplyCase{"FoundWithEmptyLocation", "302 Found", "Location: \r\n",
                                                           302}),
                         [](const auto& test) { return test.param.name; });

TEST_F(HttpTest, RedirectHandledByTheCallerStopsThere) {
    server.Play({Send(Reply("302 Found", "Location: /b\r\n", ""))});
    http.OnRedirect = [](bool& Handled) { Handled = true; };
    http.Get(Url("/a"));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(http.ReplyCode, 302);
}

TEST_F(HttpTest, UnresolvableHostAsksOnceAndFailsWithoutAFile) {
    std::vector<std::string> events;
    http.OnAboutToSend = [&] { events.push_back("about"); };
    http.OnInvalidHost = [&](bool& Handled) { events.push_back(Handled ? "invalid(true)" : "invalid(false)"); };
    ExpectRaised<ESockError>([&] { http.Get("http://no-such-host.invalid/x"); }, "Null Remote Address", "ESockError");
    EXPECT_EQ(events, (std::vector<std::string>{"about", "invalid(false)"}));
    EXPECT_FALSE(std::filesystem::exists(http.Body));
}

TEST_F(HttpTest, HandledInvalidHostGetsOneMoreLookup) {
    server.Play({Send(Reply("200 OK", "", "ok"))});
    int calls = 0;
    http.OnInvalidHost = [&](bool& Handled) {
        ++calls;
        http.Host = "127.0.0.1";
        Handled = true;
    };
    http.Get("http://no-such-host.invalid:" + std::to_string(server.Port()) + "/x");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(BodyFile(), "ok");
}

TEST_F(HttpTest, HandledInvalidHostThatStaysInvalidIsNotAskedTwice) {
    int calls = 0;
    http.OnInvalidHost = [&](bool& Handled) {
        ++calls;
        Handled = true;
    };
    EXPECT_THROW(http.Get("http://no-such-host.invalid/x"), ESockError);
    EXPECT_EQ(calls, 1);
}

TEST_F(HttpTest, RefusedConnectionFailsWithoutOnConnectOrFile) {
    bool connected = false;
    int failedCalls = 0;
    http.OnConnect = [&] { connected = true; };
    http.OnConnectionFailed = [&] { ++failedCalls; };
    ExpectRaised<ESockError>(
        [&] { http.Get("http://127.0.0.1:" + std::to_string(ScriptServer::RefusingPort()) + "/x"); },
        "Connection Failed");
    EXPECT_FALSE(connected);
    EXPECT_EQ(failedCalls, 1);
    EXPECT_FALSE(std::filesystem::exists(http.Body));
}

TEST_F(HttpTest, AnOnDisconnectThatRaisesDoesNotHideWhyTheTransactionFailed) {
    http.OnDisconnect = [] { throw std::runtime_error("handler failed"); };
    ExpectRaised<ESockError>(
        [&] { http.Get("http://127.0.0.1:" + std::to_string(ScriptServer::RefusingPort()) + "/x"); },
        "Connection Failed");
}

// Room on disk is taken ahead of the writes; however the transfer ends, none is left
// beyond the bytes the file holds (a block's worth of slack for the file system's own).
void ExpectNoRoomBeyond(const std::string& path) {
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_LE(std::int64_t{status.st_blocks} * 512, std::int64_t{status.st_size} + 65536) << path;
}

TEST_F(HttpTest, ResetMidBodyIsAnErrorAndTheFileKeepsWhatArrived) {
    server.Play({Send(Reply("200 OK", "Content-Length: 100000\r\n", std::string(1000, 'x'))), Pause(100), Reset()});
    ExpectRaised<ESockError>([&] { http.Get(Url("/x")); }, "10054:Connection reset by peer");
    EXPECT_EQ(BodyFile(), std::string(1000, 'x'));
    ExpectNoRoomBeyond(http.Body);
}

TEST_F(HttpTest, ABodyOfSeveralMegabytesArrivesWholeAndTakesNoRoomBeyondIt) {
    std::string body(3 * 1048576 + 1, 'y');
    body.back() = 'z';
    server.Play({Send(Reply("200 OK", "", body))});
    http.Get(Url("/big"));
    EXPECT_EQ(BodyFile(), body);
    ExpectNoRoomBeyond(http.Body);
}

struct AbortCase {
    std::string name;
    std::vector<ScriptStep> script;
    std::string message;
    std::string className;
    std::string fileAfter;  // "-" when no file may exist
};

class AbortTest : public HttpTest, public ::testing::WithParamInterface<AbortCase> {};

// The time-out acts like a cancel in each waiting stage; the object stays usable.
TEST_P(AbortTest, TimeOutEndsTheWaitAndTheObjectStaysUsable) {
    server.Play(GetParam().script);
    http.TimeOut = 150;
    ExpectRaised<ESockError>([&] { http.Get(Url("/slow")); }, GetParam().message, GetParam().className.c_str());
    if (GetParam().fileAfter == "-")
        EXPECT_FALSE(std::filesystem::exists(http.Body));
    else
        EXPECT_EQ(BodyFile(), GetParam().fileAfter);

    server.Play({Send(Reply("200 OK", "", "again"))});
    http.Get(Url("/again"));
    EXPECT_EQ(BodyFile(), "again");
}

INSTANTIATE_TEST_SUITE_P(
    Stages, AbortTest,
    ::testing::Values(
        AbortCase{"SilentBeforeStatus", {Hold()}, "Socket readln aborted", "EAbortError", "-"},
        AbortCase{"SilentInHeader",
                  {Send("HTTP/1.0 200 OK\r\nX-A: b\r\n"), Hold()},
                  "Socket readln aborted",
                  "EAbortError",
                  "-"},
        AbortCase{
            "SilentInBody", {Send(Reply("200 OK", "", "abc")), Hold()}, "Socket send aborted", "EAbortError", "abc"}),
    [](const auto& test) { return test.param.name; });

TEST_F(HttpTest, AbortFromTheProgressEventKeepsTheBytesReceived) {
    server.Play({Send(Reply("200 OK", "", "first block")), Hold()});
    http.OnPacketRecvd = [&] { http.Abort(); };
    ExpectRaised<EAbortError>([&] { http.Get(Url("/x")); }, "Socket send aborted");
    EXPECT_EQ(BodyFile(), "first block");
}

TEST_F(HttpTest, AbortWhileConnectingIsConnectionCanceled) {
    server.Play({Hold()});
    http.OnConnect = [&] { http.Abort(); };
    ExpectRaised<ESockError>([&] { http.Get(Url("/x")); }, "Connection Canceled");
}

TEST_F(HttpTest, AbortDuringTheLookupIsHostLookupCanceled) {
    platform::PostTask([&] { http.Abort(); });
    ExpectRaised<ESockError>([&] { http.Get("http://localhost:" + std::to_string(server.Port()) + "/x"); },
                             "Host Lookup Canceled");
}

TEST_F(HttpTest, HeaderLineBeyondTheBufferIsAnErrorAndTheObjectStaysUsable) {
    server.Play({Send("HTTP/1.0 200 OK\r\nX-Big: " + std::string(70000, 'a') + "\r\n\r\nbody"), Hold()});
    ExpectRaised<ESockError>([&] { http.Get(Url("/x")); }, "Line too long");
    server.Play({Send(Reply("200 OK", "", "again"))});
    http.Get(Url("/again"));
    EXPECT_EQ(BodyFile(), "again");
}

TEST_F(HttpTest, HeaderOfManyLinesBeyondTheBufferIsReadWhole) {
    std::string headers;
    for (int i = 0; i < 300; ++i) headers += "X-Line-" + std::to_string(i) + ": " + std::string(1000, 'v') + "\r\n";
    const std::string longest = "X-Long: " + std::string(65536 - 10, 'w') + "\r\n";  // exactly one buffer
    server.Play({Send(Reply("200 OK", headers + longest + "Content-Length: 4\r\n", "body"))});
    http.Get(Url("/x"));
    EXPECT_EQ(http.Header, "HTTP/1.0 200 OK\r\n" + headers + longest + "Content-Length: 4\r\n\r\n");
    EXPECT_EQ(http.ExpectedBytes, 4);
    EXPECT_EQ(BodyFile(), "body");
}

// A reply header of exactly that many lines and bytes: the status line, filler lines and
// the empty line.
std::string HeaderOf(int lines, std::size_t bytes) {
    std::string header = "HTTP/1.0 200 OK\r\n";
    const int fillers = lines - 2;
    std::size_t left = bytes - header.size() - 2;
    for (int i = 0; i < fillers; ++i) {
        const std::size_t size = left / static_cast<std::size_t>(fillers - i);
        header += "X: " + std::string(size - 5, 'h') + "\r\n";
        left -= size;
    }
    return header + "\r\n";
}

struct HeaderBoundCase {
    std::string name;
    int lines;
    std::size_t bytes;
    std::string error;  // empty: the header is read whole
};

class HeaderBoundTest : public HttpTest, public ::testing::WithParamInterface<HeaderBoundCase> {};

// A server that never ends its header must not make the client hold it without bound.
TEST_P(HeaderBoundTest, TakesAHeaderUpToTheBoundAndRefusesOneBeyond) {
    const HeaderBoundCase& bound = GetParam();
    server.Play({Send(HeaderOf(bound.lines, bound.bytes) + "body")});
    if (bound.error.empty()) {
        http.Get(Url("/x"));
        EXPECT_EQ(http.Header.size(), bound.bytes);
        EXPECT_EQ(BodyFile(), "body");
        return;
    }
    try {
        http.Get(Url("/x"));
        FAIL() << "no error";
    } catch (const ESockError& error) {
        EXPECT_EQ(error.Message, bound.error);
        EXPECT_EQ(error.ClassName, "ESockError");
    }
    EXPECT_FALSE(http.Connected);
    EXPECT_FALSE(std::filesystem::exists(http.Body));
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, HeaderBoundTest,
    ::testing::Values(HeaderBoundCase{"ThousandLines", 1000, 20000, ""},
                      HeaderBoundCase{"ThousandAndOneLines", 1001, 20000, "Reply header of more than 1000 lines"},
                      HeaderBoundCase{"OneMiB", 20, 1 << 20, ""},
                      HeaderBoundCase{"OneMiBAndOneByte", 20, (1 << 20) + 1, "Reply header longer than 1 MiB"}),
    [](const auto& test) { return test.param.name; });

struct KindCase {
    std::string name;
    std::function<void(TNMHTTP&, const std::string& url)> call;
    std::string requestLine;
    std::string extraLines;
    std::string data;
};

class RequestKindTest : public HttpTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(RequestKindTest, PutsItsLinesAndDataOnTheWire) {
    server.Play({Send(Reply("200 OK", "", ""))});
    GetParam().call(http, Url("/r"));
    EXPECT_EQ(server.Requests(),
              std::vector<std::string>{Request(GetParam().requestLine, GetParam().extraLines) + GetParam().data});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RequestKindTest,
    ::testing::Values(
        KindCase{"Options", [](TNMHTTP& h, const std::string& u) { h.Options(u); }, "OPTIONS /r HTTP/1.0", "", ""},
        KindCase{"Head", [](TNMHTTP& h, const std::string& u) { h.Head(u); }, "HEAD /r HTTP/1.0", "", ""},
        KindCase{"PostEncoded", [](TNMHTTP& h, const std::string& u) { h.Post(u, "a b&c=\xE9"); }, "POST /r HTTP/1.0",
                 "Content-Length: 13\r\n", "a+b%26c%3D%E9"},
        KindCase{"Put", [](TNMHTTP& h, const std::string& u) { h.Put(u, "raw data"); }, "PUT /r HTTP/1.0",
                 "Content-Length: 8\r\n", "raw data"},
        KindCase{"Patch", [](TNMHTTP& h, const std::string& u) { h.Patch(u, "p"); }, "PATCH /r HTTP/1.0",
                 "Content-Length: 1\r\n", "p"},
        KindCase{"Trace", [](TNMHTTP& h, const std::string& u) { h.Trace(u, "tt"); }, "TRACE /r HTTP/1.0",
                 "Content-Length: 2\r\n", "tt"},
        KindCase{"Copy", [](TNMHTTP& h, const std::string& u) { h.Copy(u, "/to"); }, "COPY /r HTTP/1.0",
                 "URI-header: /to\r\n", ""},
        KindCase{"Move", [](TNMHTTP& h, const std::string& u) { h.Move(u, "/to"); }, "MOVE /r HTTP/1.0",
                 "URI-header: /to\r\n", ""},
        KindCase{"Delete", [](TNMHTTP& h, const std::string& u) { h.Delete(u); }, "DELETE /r HTTP/1.0", "", ""},
        // No length is announced for data that is never sent: the server would wait for it.
        KindCase{"Link", [](TNMHTTP& h, const std::string& u) { h.Link(u, "<a>"); }, "LINK /r HTTP/1.0",
                 "Link: <a>\r\n", ""},
        KindCase{"Unlink", [](TNMHTTP& h, const std::string& u) { h.Unlink(u, "<a>"); }, "UNLINK /r HTTP/1.0",
                 "Link: <a>\r\n", ""}),
    [](const auto& test) { return test.param.name; });

}  // namespace
