// One measured download with TNMHTTP, driven by scripts/bench over stdin/stdout so that
// the caller can read the process's (and Wine's server's) CPU counters right before and
// after the transfer itself, without start-up:
//   net_bench URL FILE [ABORT_MS]
// prints "ready", waits for a line, runs Get (calling Abort after ABORT_MS when given),
// prints "done <seconds> <bytes> <abort-to-end ms or -1> <outcome> <blocks>", waits for a
// line.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "net/nmhttp.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: net_bench URL FILE [ABORT_MS]\n";
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const std::string url = argv[1];
    TNMHTTP http;
    http.InputFileMode = true;
    http.Body = argv[2];

    Clock::time_point abortedAt{};
    TThreadTimer abortTimer;
    abortTimer.SetEnabled(false);
    if (argc > 3) {
        abortTimer.SetInterval(static_cast<std::uint32_t>(std::stoul(argv[3])));
        abortTimer.SetOnTimer([&] {
            abortTimer.SetEnabled(false);
            abortedAt = Clock::now();
            http.Abort();
        });
    }

    long blocks = 0;
    http.OnPacketRecvd = [&] { ++blocks; };

    std::string line;
    std::cout << "ready" << std::endl;
    std::getline(std::cin, line);

    if (argc > 3) abortTimer.SetEnabled(true);
    const auto start = Clock::now();
    std::string outcome = "complete";
    try {
        http.Get(url);
    } catch (const Exception& error) {
        outcome = error.ClassName;
    }
    const auto end = Clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    const double abortToEnd =
        abortedAt == Clock::time_point{} ? -1.0 : std::chrono::duration<double, std::milli>(end - abortedAt).count();
    std::cout << "done " << seconds << " " << http.ReceivedBytes << " " << abortToEnd << " " << outcome << " " << blocks
              << std::endl;
    std::getline(std::cin, line);
    return 0;
}
