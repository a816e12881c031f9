#pragma once
// A loopback HTTP peer for the transport tests, on its own thread. Every connection it
// accepts has its request read (header, and a body announced by Content-Length) and
// recorded, and then plays the next script queued with Play; the connection is closed
// gracefully at the end of the script (at once when no script is queued).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ScriptStep {
    enum class Kind { Send, Pause, Reset, Hold } kind;
    std::string bytes;
    int milliseconds = 0;
};

inline ScriptStep Send(std::string bytes) { return {ScriptStep::Kind::Send, std::move(bytes), 0}; }
inline ScriptStep Pause(int milliseconds) { return {ScriptStep::Kind::Pause, {}, milliseconds}; }
// Closes with a reset instead of a graceful close.
inline ScriptStep Reset() { return {ScriptStep::Kind::Reset, {}, 0}; }
// Stays silent until the client closes.
inline ScriptStep Hold() { return {ScriptStep::Kind::Hold, {}, 0}; }

class ScriptServer {
public:
    ScriptServer();
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    std::uint16_t Port() const;
    void Play(std::vector<ScriptStep> script);  // for the next connection not yet scripted
    std::vector<std::string> Requests() const;  // in arrival order

    // A loopback port on which nobody listens.
    static std::uint16_t RefusingPort();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};
