#include "net/psock.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <utility>

#include "net/decimal.h"
#include "net/filestream.h"

namespace {

constexpr unsigned kSocketMessage = 1125;
constexpr unsigned kLookupMessage = 1126;
constexpr std::uint16_t kNoSocketHandle = 65535;
constexpr int kBlockSize = 65536;
// While a body streams in, the queue is looked at every 10 ms, or less often when a look
// takes more than a fortieth of that (one that brings a window up to date takes Wine a
// millisecond or two, and as much again in its server and the X server), but at least
// every 40 ms: the window stays responsive and a Cancel acts within a frame or two.
constexpr std::chrono::steady_clock::duration kPumpInterval = std::chrono::milliseconds(10);
constexpr std::chrono::steady_clock::duration kLongestPumpInterval = std::chrono::milliseconds(40);
constexpr int kStreamingPerLook = 40;

// The library the live objects share: started by the first, stopped with the last.
std::weak_ptr<const void> RunningSocketLibrary;

std::string VersionText(std::uint16_t version) {
    return std::to_string(version >> 8) + "." + std::to_string(version & 0xFF);
}

// The byte counters stop at their maximum: a transfer beyond 2 GiB still goes through whole.
std::int32_t SaturatingAdd(std::int32_t total, int count) {
    return count > std::numeric_limits<std::int32_t>::max() - total ? std::numeric_limits<std::int32_t>::max()
                                                                    : total + count;
}

struct ErrorText {
    std::int32_t Number;
    const char* Text;
};

constexpr ErrorText kErrorTexts[] = {
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Wrong protocol type for socket"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Can't assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection or reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references, can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to Host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unavailable"},
    {10092, "Incompatible version of WINSOCK.DLL"},
    {10093, "Successful WSAStartup not yet performed"},
    {11001, "Host not found"},
    {11002, "Non-Authoritative Host not found"},
    {11003, "Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
    {11004, "Valid name, no data record of requested type"},
};

}  // namespace

// Runs the wait timer for one operation and stops it on every way out.
class TPowersock::TimerScope {
public:
    explicit TimerScope(TPowersock& socket) : FSocket(socket) { FSocket.TimerOn(); }
    ~TimerScope() { FSocket.TimerOff(); }
    TimerScope(const TimerScope&) = delete;
    TimerScope& operator=(const TimerScope&) = delete;

private:
    TPowersock& FSocket;
};

// The socket's notices for one receive loop: left out while blocks follow one another (each
// costs the system a post and the loop a fetch, for news the reads bring anyway), asked for
// again when a read would block, and in every case once the loop is over.
class TPowersock::ReadNotices {
public:
    explicit ReadNotices(TPowersock& socket) : FSocket(socket), FHandle(socket.SocketHandle) {}
    ~ReadNotices() { Select(true); }
    ReadNotices(const ReadNotices&) = delete;
    ReadNotices& operator=(const ReadNotices&) = delete;

    // True when that changed anything. A socket closed meanwhile is left alone: its
    // successor was opened with every notice.
    bool Select(bool armed) {
        if (armed == FArmed || FSocket.SocketHandle != FHandle) return false;
        FArmed = armed;
        platform::ArmConnectedNotifications(FHandle, *FSocket.NotifyWindow, kSocketMessage, armed);
        return true;
    }

private:
    TPowersock& FSocket;
    std::uint16_t FHandle;
    bool FArmed = true;
};

TPowersock::TPowersock() {
    StatusMessage(kStatusTrace, "Create");
    NotifyWindow = std::make_unique<platform::MessageWindow>(
        "PsockWindowClass", [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            if (message >= kSocketMessage) SocketMessage(message, wParam, lParam);
        });
    WaitTimer = std::make_unique<TThreadTimer>();
    WaitTimer->SetEnabled(false);
    WaitTimer->SetOnTimer([this] { TimerTriggered(); });
    InitWinsock();
}

TPowersock::~TPowersock() {
    Destroying = true;
    StatusMessage(kStatusTrace, "Destroy");
    Abort();
    Cancel();
    if (PendingLookup != 0) platform::CancelHostLookup(PendingLookup);
    Finalizing = true;
    try {
        RequestCloseSocket();
    } catch (...) {
        // Nobody is left to tell; the socket is gone either way.
    }
    WaitTimer.reset();
    NotifyWindow.reset();
}

void TPowersock::InitWinsock() {
    StatusMessage(kStatusTrace, "Initializing Winsock");
    SocketLibrary = RunningSocketLibrary.lock();
    if (!SocketLibrary) {
        platform::SocketLibraryInfo info;
        SocketLibrary = platform::StartSockets(info);
        if (!SocketLibrary) throw ESockError("Initializaton of windows sockets failed");
        RunningSocketLibrary = SocketLibrary;
        WinsockInfo = {
            "Version= " + VersionText(info.Version),
            "High Version= " + VersionText(info.HighVersion),
            "Description= " + info.Description,
            "System= " + info.SystemStatus,
            "Max Sockets= " + std::to_string(info.MaxSockets),
            "Max Udp pack size= " + std::to_string(info.MaxUdpDatagram),
        };
    }
    SocketHandle = OpenNotifyingSocket(true);
    if (SocketHandle == kNoSocketHandle) throw ESockError("Initializaton of windows sockets failed");
}

// A socket that fits the 16-bit handle and notifies NotifyWindow; kNoSocketHandle otherwise.
std::uint16_t TPowersock::OpenNotifyingSocket(bool LingerReset) {
    const platform::SocketId socket = platform::OpenStreamSocket();
    if (socket == platform::kNoSocket) return kNoSocketHandle;
    const bool usable = socket < kNoSocketHandle && (!LingerReset || platform::SetLingerReset(socket)) &&
                        platform::SelectNotifications(socket, *NotifyWindow, kSocketMessage);
    if (!usable) {
        platform::CloseSocket(socket);
        return kNoSocketHandle;
    }
    return static_cast<std::uint16_t>(socket);
}

void TPowersock::StatusMessage(std::int32_t Level, const std::string& Status) {
    if (Level > ReportLevel) return;
    LastStatus = Status;
    if (Destroying || !OnStatus) return;
    try {
        OnStatus(LastStatus);
    } catch (...) {
        // A status display must not break the transfer.
    }
}

void TPowersock::SocketMessage(unsigned Message, std::uintptr_t WParam, std::intptr_t LParam) {
    try {
        // The answer to an abandoned lookup says nothing about the current one.
        if (Message == kLookupMessage && WParam != PendingLookup) return;
        LastEventOK = platform::EventError(LParam) == 0;
        if (Message == kLookupMessage) {
            WaitDone = true;
            return;
        }
        if (Message != kSocketMessage) return;
        switch (platform::EventCode(LParam)) {
            case platform::kEventRead:
                if (ReadHook) ReadHook();
                break;
            case platform::kEventAccept:
                Connected = true;
                if (AcceptHook) AcceptHook();
                break;
            case platform::kEventConnect:
                // The wait ends on the notice itself: a close dispatched in the same pump
                // may already have cleared Connected, and waiting for it would never end.
                WaitDone = true;
                if (LastEventOK) {
                    Connected = true;
                    if (OnConnect) OnConnect();
                }
                break;
            case platform::kEventClose:
                // A reset is left for the reader to meet as an error; closing here would
                // make the cut-off body look complete.
                if (LastEventOK && !DataAvailable()) RequestCloseSocket();
                break;
            default:
                break;
        }
    } catch (...) {
        // Notifications never carry errors out; the waiting operation sees the state.
    }
}

bool TPowersock::DataAvailable() {
    StatusMessage(kStatusTrace, "Data Available");
    char byte;  // not WorkBuffer: a line being read may be held there
    return platform::ReceiveSocket(SocketHandle, &byte, 1, true) >= 1;
}

void TPowersock::PumpMessages() {
    const auto start = std::chrono::steady_clock::now();
    platform::ProcessMessages();
    LastPump = std::chrono::steady_clock::now();
    PumpInterval = std::clamp((LastPump - start) * kStreamingPerLook, kPumpInterval, kLongestPumpInterval);
}

void TPowersock::WaitAndPumpMessages() {
    platform::WaitMessage();
    PumpMessages();
}

void TPowersock::ResolveHost() {
    StatusMessage(kStatusTrace, "Resolve Host");
    const std::string& name = Proxy.empty() ? Host : Proxy;
    const std::string hostName = name.substr(0, std::min(name.find('\0'), std::size_t{kBlockSize}));
    if (const std::uint32_t address = platform::InetAddress(hostName.c_str()); address != platform::kNoAddress) {
        RemoteAddress.Address = address;
        return;
    }
    RemoteAddress.Address = 0;
    {
        TimerScope timer(*this);
        WaitDone = false;
        PendingLookup = platform::StartHostLookup(*NotifyWindow, kLookupMessage, hostName);
        if (PendingLookup == 0) {
            LastEventOK = false;
            WaitDone = true;
        }
        while (!WaitDone && !TimedOut && !Canceled) WaitAndPumpMessages();
    }
    const platform::LookupId lookup = std::exchange(PendingLookup, 0);
    if (TimedOut || Canceled) {
        if (lookup != 0) platform::CancelHostLookup(lookup);
        throw ESockError(TimedOut ? "Host Lookup Timed Out" : "Host Lookup Canceled");
    }
    // A failed lookup leaves its result area unfilled: it is given back unread.
    if (!LastEventOK) {
        if (lookup != 0) platform::CancelHostLookup(lookup);
        throw ESockError("Host Lookup Failed");
    }
    RemoteAddress.Address = platform::FinishHostLookup(lookup);
    if (OnHostResolved) OnHostResolved();
}

void TPowersock::Connect() {
    StatusMessage(kStatusTrace, "Connecting");
    Canceled = false;
    if (Connected) throw ESockError("Already connected");
    for (int attempt = 0;; ++attempt) {
        try {
            ResolveHost();
        } catch (const ESockError& error) {
            if (error.Message == "Host Lookup Timed Out" || error.Message == "Host Lookup Canceled") throw;
        }
        if (RemoteAddress.Address != 0) break;
        bool Handled = false;
        if (attempt == 0 && OnInvalidHost) OnInvalidHost(Handled);
        if (!Handled) throw ESockError("Null Remote Address");
    }
    RemoteAddress.Port = static_cast<std::uint16_t>(Proxy.empty() ? Port : ProxyPort);
    WaitDone = false;
    LastEventOK = true;
    if (platform::ConnectSocket(SocketHandle, RemoteAddress) == platform::kSocketError)
        CheckSocketError(platform::kErrorWouldBlock);
    {
        TimerScope timer(*this);
        while (!WaitDone && !TimedOut && !Canceled && LastEventOK) WaitAndPumpMessages();
    }
    if (!TimedOut && !Canceled && LastEventOK) return;
    if (OnConnectionFailed) OnConnectionFailed();
    if (TimedOut) throw ESockError("Connection Timed out");
    if (Canceled) throw ESockError("Connection Canceled");
    throw ESockError("Connection Failed");
}

void TPowersock::Disconnect() {
    StatusMessage(kStatusTrace, "Disconnecting");
    RequestCloseSocket();
}

void TPowersock::Abort() {
    StatusMessage(kStatusTrace, "Abort");
    Cancel();
}

void TPowersock::Cancel() {
    StatusMessage(kStatusTrace, "Canceling");
    Canceled = true;
}

void TPowersock::SendBuffer(const char* Value, std::uint16_t BufLen) {
    StatusMessage(kStatusSocket, "Sending Buffer");
    TimerScope timer(*this);
    if (!Canceled) {
        const std::size_t limit = std::numeric_limits<std::uint16_t>::max();
        const std::size_t zeroEnded = BufLen != 0 ? BufLen : strnlen(Value, limit + 1);
        if (zeroEnded > limit) throw ESockError("Buffer too long");
        const int length = static_cast<int>(zeroEnded);
        int sent = 0;
        while (sent < length && !Canceled) {
            const int count = platform::SendSocket(SocketHandle, Value + sent, length - sent);
            if (count == platform::kSocketError) {
                CheckSocketError(platform::kErrorWouldBlock);  // would block: try again at once
                continue;
            }
            if (count == 0) break;
            sent += count;
        }
    }
    if (Canceled) {
        Canceled = false;
        throw EAbortError("Socket send aborted");
    }
}

void TPowersock::Write(const std::string& Str) {
    StatusMessage(kStatusTrace, "Write");
    // Every byte goes out, zero bytes and texts beyond one buffer included; an empty
    // text still goes through SendBuffer, which reports and honours a pending cancel.
    constexpr std::size_t piece = std::numeric_limits<std::uint16_t>::max();
    std::size_t offset = 0;
    do {
        const std::size_t count = std::min(piece, Str.size() - offset);
        SendBuffer(Str.data() + offset, static_cast<std::uint16_t>(count));
        offset += count;
    } while (offset < Str.size());
}

void TPowersock::Writeln(const std::string& Str) {
    StatusMessage(kStatusTrace, "Writeln");
    Write(Str + "\r\n");
}

std::string TPowersock::ReadLn() {
    StatusMessage(kStatusTrace, "ReadLn");
    TimerScope timer(*this);
    std::string line;
    int held = 0;
    while (!Canceled) {
        if (held == kBlockSize) throw ESockError("Line too long");
        char* free = WorkBuffer.data() + held;
        const int count = platform::ReceiveSocket(SocketHandle, free, kBlockSize - held, true);
        // The peer's close ends the line; bytes already taken are kept, not dropped.
        if (count == 0) return line;
        if (count == platform::kSocketError) {
            LastError = platform::LastSocketError();
            if (LastError == platform::kErrorNotConnected) return line;
            if (LastError != platform::kErrorWouldBlock) CheckSocketError(platform::kErrorWouldBlock);
            WaitAndPumpMessages();
            continue;
        }
        const char* newline = static_cast<const char*>(std::memchr(free, '\n', static_cast<std::size_t>(count)));
        const int wanted = newline != nullptr ? static_cast<int>(newline - free) + 1 : count;
        const int taken = platform::ReceiveSocket(SocketHandle, free, wanted, false);
        if (taken == platform::kSocketError) {
            CheckSocketError(platform::kErrorWouldBlock);
        } else {
            line.append(free, static_cast<std::size_t>(taken));
            if (newline != nullptr && taken == wanted) return line;
            held += taken;
        }
        PumpMessages();
    }
    Canceled = false;
    throw EAbortError("Socket readln aborted");
}

bool TPowersock::ReceiveBlocks(const std::function<void(const char*, int)>& store, const std::function<bool()>& full) {
    bool finished = false;
    ReadNotices notices(*this);
    bool streaming = false;  // the last read brought a block without waiting
    while (!finished && !Canceled) {
        if (full()) break;
        const int count = platform::ReceiveSocket(SocketHandle, WorkBuffer.data(), kBlockSize, false);
        if (count > 0) {
            if (streaming) notices.Select(false);
            streaming = true;
            store(WorkBuffer.data(), count);
            ReceivedBytes = SaturatingAdd(ReceivedBytes, count);
            if (OnPacketRecvd) OnPacketRecvd();
            TimerOn();  // the time-out limits the silence between blocks
            // While data streams in, the queue is looked at every few milliseconds rather
            // than after every block: each look is a round trip to the system.
            if (std::chrono::steady_clock::now() - LastPump >= PumpInterval) PumpMessages();
        } else if (count == 0) {
            finished = true;
        } else {
            LastError = platform::LastSocketError();
            if (LastError == platform::kErrorNotConnected) {
                finished = true;
            } else {
                if (LastError != platform::kErrorWouldBlock) CheckSocketError(platform::kErrorWouldBlock);
                streaming = false;
                // What came before the notice was asked for again is read before waiting.
                if (!notices.Select(true)) WaitAndPumpMessages();
            }
        }
    }
    return finished || !Canceled;
}

void TPowersock::CaptureFile(const std::string& FileName) {
    StatusMessage(kStatusTrace, "CaptureFile");
    ReceivedBytes = 0;
    TimerScope timer(*this);
    TFileStream file(FileName, TFileStream::Mode::Create);
    const bool finished = ReceiveBlocks(
        [&](const char* data, int count) { file.Write(data, static_cast<std::size_t>(count)); }, [] { return false; });
    file.Close();
    if (!finished) {
        Canceled = false;
        throw EAbortError("Socket send aborted");
    }
}

void TPowersock::CaptureString(std::string& AString, std::int32_t SizeToCapture) {
    StatusMessage(kStatusTrace, "Capture String");
    ReceivedBytes = 0;
    TimerScope timer(*this);
    AString.clear();
    const bool finished = ReceiveBlocks(
        [&](const char* data, int count) { AString.append(data, static_cast<std::size_t>(count)); },
        [&] { return SizeToCapture != -1 && AString.size() >= static_cast<std::size_t>(std::max(SizeToCapture, 0)); });
    if (!finished) {
        Canceled = false;
        throw EAbortError("Socket capture aborted");
    }
}

void TPowersock::SendFile(const std::string& FileName) {
    StatusMessage(kStatusTrace, "SendFile");
    TFileStream file(FileName, TFileStream::Mode::OpenRead);
    bool taking = true;
    while (taking && !Canceled) {
        const std::size_t read = file.Read(WorkBuffer.data(), kBlockSize);
        if (read == 0) break;
        std::size_t sent = 0;
        while (sent < read && !Canceled) {
            const int count =
                platform::SendSocket(SocketHandle, WorkBuffer.data() + sent, static_cast<int>(read - sent));
            if (count == platform::kSocketError) {
                CheckSocketError(platform::kErrorWouldBlock);
            } else if (count == 0) {
                // As in SendBuffer: a connection that takes nothing more ends the sending.
                taking = false;
                break;
            } else {
                sent += static_cast<std::size_t>(count);
                SentBytes = SaturatingAdd(SentBytes, count);
                if (OnPacketSent) OnPacketSent();
            }
            PumpMessages();
        }
    }
    if (Canceled) {
        Canceled = false;
        throw EAbortError("Socket send aborted");
    }
}

std::string TPowersock::Transaction(const std::string& Command) {
    StatusMessage(kStatusTrace, "Transaction");
    ReplyCode = 0;
    Writeln(Command);
    ReplyLine = ReadLn();
    if (!ReplyLine.empty()) {
        StatusMessage(kStatusReply, ReplyLine);
        const std::string_view digits = net::LeadingDigits(std::string_view(ReplyLine).substr(0, 10));
        ReplyCode = net::DecimalValue<std::int16_t>(digits).value_or(0);
    }
    return ReplyLine;
}

platform::SocketId TPowersock::Accept() {
    StatusMessage(kStatusSocket, "Accepting");
    while (!WaitDone && !Canceled) WaitAndPumpMessages();
    if (Canceled) throw ESockError("Accepting Canceled");
    if (!LastEventOK) throw ESockError("Error creating Data Connection");
    const platform::SocketId accepted = platform::AcceptSocket(SocketHandle, RemoteAddress);
    if (accepted == platform::kNoSocket) {
        CheckSocketError(platform::kErrorWouldBlock);
        throw ESockError("Error creating Data Connection");
    }
    platform::SelectNotifications(accepted, *NotifyWindow, kSocketMessage);
    return accepted;
}

void TPowersock::RequestCloseSocket() {
    StatusMessage(kStatusSocket, "Request Close Socket");
    Connected = false;
    if (SocketHandle == kNoSocketHandle) return;
    if (platform::CloseSocket(SocketHandle) == platform::kSocketError) {
        CheckSocketError(platform::kErrorWouldBlock);
        return;
    }
    SocketHandle = kNoSocketHandle;
    // Notices of the closed socket must not act on the next one.
    NotifyWindow->Discard(kSocketMessage);
    // The fresh socket comes first: a failing OnDisconnect must not leave the object
    // without one for good.
    if (!Finalizing) SocketHandle = OpenNotifyingSocket(false);
    if (!Destroying && OnDisconnect) OnDisconnect();
}

void TPowersock::CheckSocketError(int Tolerated) {
    LastError = platform::LastSocketError();
    if (LastError == Tolerated || LastError <= 10000) return;
    const std::string message = LookupErrorMessage(LastError);
    if (ErrorHook) ErrorHook(static_cast<std::uint16_t>(LastError), message);
    throw ESockError(message);
}

std::string TPowersock::LookupErrorMessage(int Error) {
    StatusMessage(kStatusTrace, "Looking Up Error Message");
    if (Error == 0) return {};
    const auto* found = std::find_if(std::begin(kErrorTexts), std::end(kErrorTexts),
                                     [&](const ErrorText& row) { return row.Number == Error; });
    if (found != std::end(kErrorTexts)) return std::to_string(Error) + ":" + found->Text;
    return "Unknown Error No. " + std::to_string(Error);
}

void TPowersock::TimerOn() {
    StatusMessage(kStatusTrace, "Timer On");
    TimedOut = false;
    // Not an ESockError: Connect would take it for a failed lookup.
    if (TimeOut < 0) throw Exception("Invalid TimeOut");
    WaitTimer->SetInterval(static_cast<std::uint32_t>(TimeOut));
    WaitTimer->SetEnabled(true);
}

void TPowersock::TimerOff() {
    StatusMessage(kStatusTrace, "Timer Off");
    WaitTimer->SetEnabled(false);
}

void TPowersock::TimerTriggered() {
    StatusMessage(kStatusTrace, "Timer Triggered");
    TimerOff();
    TimedOut = true;
    WaitDone = true;
    Abort();
}
