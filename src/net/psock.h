#pragma once
// Psock: one TCP client connection that the user-interface thread drives synchronously.
// Every operation returns when it is over or raises; while it waits it keeps dispatching
// the application's messages, so the window stays alive and a Cancel button works.
//
// Event convention: a notify event (TSockNotifyEvent, apart from the controls' own) takes
// no argument, since whoever assigns it owns the object; events that hand back data take
// just that data.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/threadtimer.h"
#include "platform/exception.h"
#include "platform/messages.h"

class ESockError : public Exception {
public:
    explicit ESockError(std::string message, std::string className = "ESockError")
        : Exception(std::move(message), std::move(className)) {}
};

// An operation ended by a cancel or a time-out.
class EAbortError : public ESockError {
public:
    explicit EAbortError(std::string message) : ESockError(std::move(message), "EAbortError") {}
};

using TSockNotifyEvent = std::function<void()>;
using THandlerEvent = std::function<void(bool& Handled)>;
using TOnStatus = std::function<void(const std::string& Status)>;
using TOnErrorEvent = std::function<void(std::uint16_t Error, const std::string& Message)>;

// Status levels for ReportLevel.
inline constexpr std::int32_t kStatusReply = 1, kStatusCompleted = 2, kStatusSocket = 4, kStatusTrace = 8;

class TPowersock {
public:
    TPowersock();
    virtual ~TPowersock();
    TPowersock(const TPowersock&) = delete;
    TPowersock& operator=(const TPowersock&) = delete;

    virtual platform::SocketId Accept();
    virtual void Connect();
    virtual void Disconnect();
    virtual std::string Transaction(const std::string& Command);
    virtual void Abort();
    void Cancel();

    // BufLen 0: up to the terminating zero.
    void SendBuffer(const char* Value, std::uint16_t BufLen);
    void Write(const std::string& Str);
    void Writeln(const std::string& Str);
    std::string ReadLn();  // with its terminator; empty when the peer has closed
    void SendFile(const std::string& FileName);
    void CaptureFile(const std::string& FileName);
    void CaptureString(std::string& AString, std::int32_t SizeToCapture);  // -1: no limit

    // Properties.
    std::string Host;
    std::int32_t Port = 0;     // low 16 bits used
    std::int32_t TimeOut = 0;  // milliseconds per wait, 0 = none
    std::int32_t ReportLevel = kStatusReply;
    std::string Proxy;
    std::int32_t ProxyPort = 0;

    TSockNotifyEvent OnConnect;
    TSockNotifyEvent OnDisconnect;
    THandlerEvent OnInvalidHost;  // set Handled for one more lookup
    TSockNotifyEvent OnHostResolved;
    TOnStatus OnStatus;
    TSockNotifyEvent OnConnectionFailed;
    TSockNotifyEvent OnPacketRecvd;
    TSockNotifyEvent OnPacketSent;
    // Hooks without a published name: every read notice, every accept notice, and just
    // before a socket error is raised.
    TSockNotifyEvent ReadHook;
    TSockNotifyEvent AcceptHook;
    TOnErrorEvent ErrorHook;

    // Read-only state.
    std::vector<std::string> WinsockInfo;  // filled by the first object of the process
    std::int32_t SentBytes = 0;
    std::int32_t LastError = 0;
    std::string LastStatus;
    std::int32_t ExpectedBytes = 0;
    std::int32_t ReceivedBytes = 0;
    std::string ReplyLine;
    std::int16_t ReplyCode = 0;
    bool Connected = false;
    platform::Ipv4Address RemoteAddress;

protected:
    void StatusMessage(std::int32_t Level, const std::string& Status);
    void RequestCloseSocket();
    void CheckSocketError(int Tolerated);
    std::string LookupErrorMessage(int Error);

    bool Canceled = false;
    bool WaitDone = false;

private:
    class TimerScope;
    class ReadNotices;

    void InitWinsock();
    std::uint16_t OpenNotifyingSocket(bool LingerReset);
    void ResolveHost();
    bool DataAvailable();
    void SocketMessage(unsigned Message, std::uintptr_t WParam, std::intptr_t LParam);
    void TimerOn();
    void TimerOff();
    void TimerTriggered();
    void PumpMessages();
    void WaitAndPumpMessages();
    // Receives until the peer closes (or full() says so), handing each block to store.
    // False when ended by a cancel.
    bool ReceiveBlocks(const std::function<void(const char*, int)>& store, const std::function<bool()>& full);

    // Declared first: the socket library outlives the window and the socket.
    platform::SocketLibrary SocketLibrary;
    std::array<char, 65537> WorkBuffer{};
    bool Destroying = false;
    bool Finalizing = false;
    bool LastEventOK = false;
    bool TimedOut = false;
    std::uint16_t SocketHandle = 65535;
    platform::LookupId PendingLookup = 0;
    std::chrono::steady_clock::time_point LastPump;
    std::chrono::steady_clock::duration PumpInterval{};  // each look sets the next one
    std::unique_ptr<platform::MessageWindow> NotifyWindow;
    std::unique_ptr<TThreadTimer> WaitTimer;
};
