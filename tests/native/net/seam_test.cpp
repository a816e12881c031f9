// The transport on the fuzzers' scripted seam, for what a real socket will not do on
// demand: a send that takes nothing, a host lookup's unfilled result area.
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "net/nmhttp.h"
#include "scripted_sockets.h"

namespace {

// It once spun for ever, sending the same block again and again.
TEST(SeamSendFile, ASendThatTakesNothingEndsTheSending) {
    TempDir dir;
    const std::string data = dir.File("send.dat");
    WriteFile(data, "payload");
    fuzzseam::Serve({.reply = "HTTP/1.0 200 OK\r\n\r\ndone", .chunk = 64, .sendStalls = true});
    TNMHTTP http;
    http.OutputFileMode = true;
    http.Header = dir.File("head.txt");

    http.Put("http://127.0.0.1:8080/r", data);

    EXPECT_EQ(http.SentBytes, 0);
    EXPECT_EQ(http.Body, "done");
}

// Only a successful lookup has its result read; a failed one is given back unread.
TEST(SeamLookup, AFailedLookupHasItsResultLeftUnread) {
    fuzzseam::Serve({});
    TNMHTTP http;
    int invalid = 0;
    http.OnInvalidHost = [&](bool& Handled) { Handled = ++invalid == 1; };

    EXPECT_THROW(http.Get("http://no-such-host/x"), ESockError);

    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(fuzzseam::FailedLookupsRead(), 0);
}

}  // namespace
