#pragma once
// Window messages, timers and sockets: the seam the socket layer and the application's
// message loop stand on. win32/ passes through to the system (Winsock 1.1 with window
// message notification); posix/ emulates the same queue over non-blocking BSD sockets,
// with the same notifications and the same WSA error numbers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/guard.h"

namespace platform {

// ---- The message queue of the user-interface thread ----

// Dispatches the pending messages up to a quit, which is remembered: what stands behind
// it (a second click, a held Enter) is left for the next call, which the main loop never
// makes. A quit ends no wait: a transfer under way goes on, and the main loop ends once
// its handler returned.
void ProcessMessages();
// Sleeps until something is pending (a message, a socket event, a due timer, a task).
void WaitMessage();
void PostQuitMessage();
bool QuitReceived();
// Runs the task later from the queue, behind the guard.
void PostTask(std::function<void()> task);

// Run at the start of every look at the queue (ProcessMessages and WaitMessage, before
// anything is dispatched or waited for): the toolkit brings the screen up to date there.
inline std::function<void()>& QueueLookHook() {
    static std::function<void()> hook;
    return hook;
}
inline void RunQueueLookHook() {
    if (QueueLookHook()) Guarded(QueueLookHook());
}

// ---- Hidden notification windows ----

inline constexpr unsigned kTimerMessage = 0x0113;  // timer identifier 1 has fired
inline constexpr unsigned kUserMessage = 0x0400;   // first message number free for the program

// Receives the timer message and every message numbered kUserMessage or higher; the
// call runs behind the guard, so nothing unwinds into the system.
using MessageHandler = std::function<void(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

// A hidden tool window of the given class (registered once per process).
class MessageWindow {
public:
    MessageWindow(const std::string& className, MessageHandler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    bool Valid() const;  // false when the class or the window could not be made
    // Timer identifier 1: (re)started with the interval in milliseconds, or killed.
    bool SetTimer(unsigned interval);
    void KillTimer();
    // Drops the notifications of that number still waiting in the queue.
    void Discard(unsigned message);

    struct Impl;
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// ---- Winsock 1.1 subset ----

using SocketId = std::uintptr_t;
inline constexpr SocketId kNoSocket = ~SocketId{0};
inline constexpr int kSocketError = -1;
inline constexpr std::uint32_t kNoAddress = 0xFFFFFFFFu;  // what InetAddress gives for a non-address

// Socket event codes (low half of a notification's lParam).
inline constexpr unsigned kEventRead = 1, kEventOob = 4, kEventAccept = 8, kEventConnect = 16, kEventClose = 32;

// WSA error numbers the caller tests.
inline constexpr int kErrorWouldBlock = 10035;
inline constexpr int kErrorNotConnected = 10057;

inline constexpr unsigned EventCode(std::intptr_t lParam) { return static_cast<unsigned>(lParam) & 0xFFFFu; }
inline constexpr unsigned EventError(std::intptr_t lParam) { return (static_cast<unsigned>(lParam) >> 16) & 0xFFFFu; }

struct SocketLibraryInfo {
    std::uint16_t Version = 0, HighVersion = 0;
    std::string Description, SystemStatus;
    unsigned MaxSockets = 0, MaxUdpDatagram = 0;
};

// IPv4 peer: address in network byte order, port in host byte order.
struct Ipv4Address {
    std::uint32_t Address = 0;
    std::uint16_t Port = 0;
};

// Keeps the socket library (version 1.1) started for as long as any copy lives.
using SocketLibrary = std::shared_ptr<const void>;
// Empty when the library cannot start; info is then left as it was.
SocketLibrary StartSockets(SocketLibraryInfo& info);

SocketId OpenStreamSocket();           // kNoSocket on failure
bool SetLingerReset(SocketId socket);  // linger on, time 0
// Notification `message` to the window for read, out-of-band, accept, connect and close.
bool SelectNotifications(SocketId socket, const MessageWindow& window, unsigned message);
// For a connected socket: read, out-of-band and close when armed, nothing when not. A reader
// that keeps reading meets the data, the peer's close and a reset in its reads: it needs no
// notice while blocks come, and arms them again only when a read would block.
bool ArmConnectedNotifications(SocketId socket, const MessageWindow& window, unsigned message, bool armed);
// Host lookups run in the background; the end is posted as `message` with the lookup's
// id as wParam and the error in the high half of lParam. The seam keeps the result area
// alive until the lookup is finished or cancelled, so no late answer writes into freed
// memory. StartHostLookup gives 0 when the lookup cannot start.
using LookupId = std::uintptr_t;
LookupId StartHostLookup(const MessageWindow& window, unsigned message, const std::string& name);
std::uint32_t FinishHostLookup(LookupId lookup);  // first address, network order; 0 when none
void CancelHostLookup(LookupId lookup);
std::uint32_t InetAddress(const char* text);  // kNoAddress when not dotted IPv4

int ConnectSocket(SocketId socket, const Ipv4Address& peer);
int SendSocket(SocketId socket, const char* data, int length);
int ReceiveSocket(SocketId socket, char* data, int length, bool peek);
int CloseSocket(SocketId socket);
SocketId AcceptSocket(SocketId socket, Ipv4Address& peer);
int LastSocketError();  // a WSA number

}  // namespace platform
