// TPowersock on the posix stand-in: lines, captures, closing, status texts and errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/psock.h"
#include "support.h"

namespace {

class Socket : public TPowersock {
public:
    using TPowersock::LookupErrorMessage;
};

class SocketTest : public ::testing::Test {
protected:
    void ConnectToServer() {
        socket.Host = "127.0.0.1";
        socket.Port = server.Port();
        socket.Connect();
    }

    ScriptServer server;
    TempDir dir;
    Socket socket;
};

struct ErrorCase {
    int number;
    std::string text;
};

class ErrorTextTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTextTest, NumberColonText) {
    Socket socket;
    EXPECT_EQ(socket.LookupErrorMessage(GetParam().number), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, ErrorTextTest,
                         ::testing::Values(ErrorCase{0, ""}, ErrorCase{10004, "10004:Interrupted system call"},
                                           ErrorCase{10047, "10047:Address family not supported by protocol family"},
                                           ErrorCase{10049, "10049:Can't assign requested address"},
                                           ErrorCase{10054, "10054:Connection reset by peer"},
                                           ErrorCase{10061, "10061:Connection refused"},
                                           ErrorCase{10093, "10093:Successful WSAStartup not yet performed"},
                                           ErrorCase{11003, "11003:Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
                                           ErrorCase{11004, "11004:Valid name, no data record of requested type"},
                                           ErrorCase{10072, "Unknown Error No. 10072"},
                                           ErrorCase{1, "Unknown Error No. 1"}));

TEST(SocketLibrary, TheFirstLiveObjectDescribesTheLibrary) {
    Socket first;
    Socket second;
    ASSERT_EQ(first.WinsockInfo.size(), 6u);
    EXPECT_EQ(first.WinsockInfo[0], "Version= 1.1");
    EXPECT_EQ(first.WinsockInfo[4].rfind("Max Sockets= ", 0), 0u);
    EXPECT_TRUE(second.WinsockInfo.empty());
}

// The last object stops the library, so the next one starts and describes it again.
TEST(SocketLibrary, AnObjectAfterTheLastOneWentDescribesTheLibraryAgain) {
    { Socket first; }
    Socket again;
    EXPECT_EQ(again.WinsockInfo.size(), 6u);
}

TEST_F(SocketTest, ReadLnReturnsLinesWithTerminatorsThenWhatIsLeftAtTheClose) {
    server.Play({Send("first\r\nsecond\nthird without end")});
    ConnectToServer();
    socket.Writeln("hello");  // ends the scripted request
    socket.Writeln("");
    EXPECT_EQ(socket.ReadLn(), "first\r\n");
    EXPECT_EQ(socket.ReadLn(), "second\n");
    EXPECT_EQ(socket.ReadLn(), "third without end");
    EXPECT_EQ(socket.ReadLn(), "");
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"hello\r\n\r\n"});
}

TEST_F(SocketTest, ReadLnTakesALineOfExactlyOneBufferAndRefusesALongerOne) {
    const std::string full = std::string(65535, 'a') + "\n";
    server.Play({Send(full + std::string(65536, 'b') + "\n"), Hold()});
    ConnectToServer();
    socket.Write("\r\n\r\n");
    EXPECT_EQ(socket.ReadLn(), full);
    ExpectRaised<ESockError>([&] { socket.ReadLn(); }, "Line too long");
}

struct ReplyCodeCase {
    std::string line;
    std::int16_t code;
};

class TransactionTest : public SocketTest, public ::testing::WithParamInterface<ReplyCodeCase> {};

TEST_P(TransactionTest, ParsesTheLeadingNumberWithinItsWidth) {
    server.Play({Send(GetParam().line), Hold()});
    ConnectToServer();
    std::vector<std::string> statuses;
    socket.OnStatus = [&](const std::string& status) { statuses.push_back(status); };
    EXPECT_EQ(socket.Transaction("NOOP\r\n"), GetParam().line);
    EXPECT_EQ(socket.ReplyCode, GetParam().code);
    EXPECT_EQ(statuses, std::vector<std::string>{GetParam().line});  // level 1 only
}

INSTANTIATE_TEST_SUITE_P(Lines, TransactionTest,
                         ::testing::Values(ReplyCodeCase{"250 OK\r\n", 250}, ReplyCodeCase{"32767\r\n", 32767},
                                           ReplyCodeCase{"32768 too big\r\n", 0},
                                           ReplyCodeCase{"12345678901234\r\n", 0}, ReplyCodeCase{"no number\r\n", 0}));

TEST_F(SocketTest, CaptureStringStopsAtItsLimitAndCountsBytes) {
    server.Play({Send("0123456789"), Hold()});
    ConnectToServer();
    socket.Write("\r\n\r\n");
    std::string text;
    socket.CaptureString(text, 5);
    EXPECT_GE(text.size(), 5u);
    EXPECT_EQ(text, std::string("0123456789").substr(0, text.size()));
    EXPECT_EQ(socket.ReceivedBytes, static_cast<std::int32_t>(text.size()));
}

// The read notices a streaming capture leaves out come back with its end: a line that
// arrives later is still waited for (the time-out turns a lost notice into a failure).
TEST_F(SocketTest, AReadAfterAStreamedCaptureIsNotifiedAgain) {
    const std::string stream(1 << 20, 's');
    server.Play({Send(stream), Pause(100), Send("end\r\n"), Hold()});
    ConnectToServer();
    socket.Write("\r\n\r\n");
    socket.TimeOut = 5000;
    std::string text;
    socket.CaptureString(text, static_cast<std::int32_t>(stream.size()));
    ASSERT_GE(text.size(), stream.size());
    EXPECT_EQ(text.substr(0, stream.size()), stream);

    const std::string line = socket.ReadLn();

    EXPECT_EQ(text.substr(stream.size()) + line, "end\r\n");
}

TEST_F(SocketTest, SendFileSendsEveryByteAndCountsThem) {
    const std::string path = dir.File("upload.bin");
    std::string content;
    for (int i = 0; i < 200000; ++i) content += static_cast<char>(i % 251);
    WriteFile(path, content);
    server.Play({Send("done\r\n")});
    ConnectToServer();
    int packets = 0;
    socket.OnPacketSent = [&] { ++packets; };
    socket.SendFile(path);
    socket.Write("\r\n\r\n");
    EXPECT_EQ(socket.ReadLn(), "done\r\n");  // the server has read everything
    EXPECT_EQ(socket.SentBytes, 200000);
    EXPECT_GE(packets, 4);  // at most one buffer per send
    EXPECT_EQ(server.Requests(), std::vector<std::string>{content + "\r\n\r\n"});
}

TEST_F(SocketTest, DisconnectRunsOnDisconnectAndLeavesAFreshSocket) {
    server.Play({Hold()});
    server.Play({Hold()});
    int disconnects = 0;
    socket.OnDisconnect = [&] { ++disconnects; };
    ConnectToServer();
    EXPECT_TRUE(socket.Connected);
    ExpectRaised<ESockError>([&] { socket.Connect(); }, "Already connected");
    socket.Disconnect();
    EXPECT_EQ(disconnects, 1);
    EXPECT_FALSE(socket.Connected);
    ConnectToServer();
    EXPECT_TRUE(socket.Connected);
}

TEST_F(SocketTest, AnOnDisconnectThatRaisesStillLeavesAFreshSocket) {
    server.Play({Hold()});
    server.Play({Hold()});
    socket.OnDisconnect = [] { throw Exception("handler failed"); };
    ConnectToServer();
    EXPECT_THROW(socket.Disconnect(), Exception);
    socket.OnDisconnect = nullptr;
    ConnectToServer();
    EXPECT_TRUE(socket.Connected);
}

TEST_F(SocketTest, DestroyingAConnectedObjectRunsNoOnDisconnect) {
    server.Play({Hold()});
    int disconnects = 0;
    {
        Socket doomed;
        doomed.OnDisconnect = [&] { ++disconnects; };
        doomed.Host = "127.0.0.1";
        doomed.Port = server.Port();
        doomed.Connect();
    }
    EXPECT_EQ(disconnects, 0);
}

TEST_F(SocketTest, DottedHostConnectsWithoutLookupEvents) {
    server.Play({Hold()});
    bool resolved = false, connected = false;
    socket.OnHostResolved = [&] { resolved = true; };
    socket.OnConnect = [&] { connected = true; };
    ConnectToServer();
    EXPECT_FALSE(resolved);
    EXPECT_TRUE(connected);
}

TEST_F(SocketTest, NamedHostRunsOnHostResolved) {
    server.Play({Hold()});
    bool resolved = false;
    socket.OnHostResolved = [&] { resolved = true; };
    socket.Host = "localhost";
    socket.Port = server.Port();
    socket.Connect();
    EXPECT_TRUE(resolved);
}

TEST_F(SocketTest, WritingAnEmptyTextStillPassesThroughSendBuffer) {
    socket.ReportLevel = kStatusSocket;
    std::vector<std::string> statuses;
    socket.OnStatus = [&](const std::string& status) { statuses.push_back(status); };
    socket.Write("");
    EXPECT_EQ(statuses, std::vector<std::string>{"Sending Buffer"});
    socket.Cancel();
    EXPECT_THROW(socket.Write(""), EAbortError);
}

TEST_F(SocketTest, ANegativeTimeOutIsReportedAsSuchNotAsAnUnknownHost) {
    bool invalidHost = false;
    socket.OnInvalidHost = [&](bool&) { invalidHost = true; };
    socket.Host = "localhost";
    socket.TimeOut = -1;
    ExpectRaised([&] { socket.Connect(); }, "Invalid TimeOut");
    EXPECT_FALSE(invalidHost);
}

struct LevelCase {
    std::int32_t level;
    std::vector<std::string> mustHave;
    std::vector<std::string> mustNotHave;
};

class ReportLevelTest : public SocketTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(ReportLevelTest, ReportsTextsOfThatLevelOrLower) {
    server.Play({Send("line\r\n")});
    socket.ReportLevel = GetParam().level;
    std::vector<std::string> statuses;
    socket.OnStatus = [&](const std::string& status) { statuses.push_back(status); };
    ConnectToServer();
    socket.Transaction("x\r\n");
    socket.Disconnect();
    for (const std::string& text : GetParam().mustHave)
        EXPECT_NE(std::find(statuses.begin(), statuses.end(), text), statuses.end()) << text;
    for (const std::string& text : GetParam().mustNotHave)
        EXPECT_EQ(std::find(statuses.begin(), statuses.end(), text), statuses.end()) << text;
    if (GetParam().level == 0) {
        EXPECT_TRUE(statuses.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ReportLevelTest,
    ::testing::Values(LevelCase{0, {}, {"line\r\n"}}, LevelCase{1, {"line\r\n"}, {"Sending Buffer", "Connecting"}},
                      LevelCase{4, {"line\r\n", "Sending Buffer", "Request Close Socket"}, {"Connecting", "ReadLn"}},
                      LevelCase{8,
                                {"line\r\n", "Sending Buffer", "Request Close Socket", "Connecting", "Resolve Host",
                                 "Timer On", "Timer Off", "Transaction", "Write", "Writeln", "ReadLn", "Disconnecting"},
                                {}}));

}  // namespace
