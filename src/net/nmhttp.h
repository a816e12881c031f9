#pragma once
// NMHttp: the HTTP/1.0 client. Each transaction opens a connection, sends one request,
// reads the reply header and then the body until the server closes, and closes the
// socket; a redirection starts the next transaction. Waits pump messages (TPowersock).
#include <cstdint>
#include <functional>
#include <string>

#include "net/nmextstr.h"
#include "net/psock.h"

// Request kinds, in the order of their numbers.
enum CmdType : std::uint8_t {
    CmdGET,
    CmdOPTIONS,
    CmdHEAD,
    CmdPOST,
    CmdPUT,
    CmdPATCH,
    CmdCOPY,
    CmdMOVE,
    CmdDELETE,
    CmdLINK,
    CmdUNLINK,
    CmdTRACE
};

using TResultEvent = std::function<void(CmdType Cmd)>;

struct THeaderInfo {
    std::string LocalMailAddress;
    std::string LocalProgram;  // sent as "User-Agent"
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

// After this many followed redirections a further one raises "Too many redirections".
inline constexpr int kMaxRedirections = 20;

class TNMHTTP : public TPowersock {
public:
    TNMHTTP();

    // WaitDone and Canceled only; the waiting loop raises.
    void Abort() override;

    virtual void DoRequest();
    virtual void ParseURL();
    virtual void BuildRequestHeader();
    virtual void ReadResponseHeader();
    virtual void SendRequest();
    virtual void Options(const std::string& URL);
    // Returns for every reply code; raises when the URL is unusable, the connection
    // fails, on socket errors and on Abort.
    virtual void Get(const std::string& URL);
    virtual void Post(const std::string& URL, const std::string& PostData);
    virtual void Put(const std::string& URL, const std::string& PutData);
    virtual void Head(const std::string& URL);
    virtual void Patch(const std::string& URL, const std::string& PatchData);
    virtual void Delete(const std::string& URL);
    virtual void Trace(const std::string& URL, const std::string& TraceData);
    virtual void Copy(const std::string& URL, const std::string& Destination);
    virtual void Move(const std::string& URL, const std::string& Destination);
    virtual void Link(const std::string& URL, const std::string& LinkText);
    virtual void Unlink(const std::string& URL, const std::string& LinkText);

    // Properties.
    std::string Body = "Default.htm";  // InputFileMode: the file for the reply body; else the body
    std::string Header = "Head.txt";   // OutputFileMode: the file for the reply header; else the header
    THeaderInfo HeaderInfo;
    bool InputFileMode = false;
    bool OutputFileMode = false;  // also: SendData names the file to send
    TSockNotifyEvent OnAboutToSend;
    TResultEvent OnSuccess;    // reply code below 299
    TResultEvent OnFailure;    // reply code 400 or above
    THandlerEvent OnRedirect;  // set Handled to stop at the redirection reply
    TSockNotifyEvent OnAuthenticationNeeded;

    // Transaction state.
    std::string RequestPath;
    TExStringList RequestHeaders;
    std::string RedirectLocation;  // of the last reply that had one
    std::string ReceivedCookie;    // of the current reply
    bool EncodePost = true;
    std::string SendData;
    std::string LinkValue;
    std::string RequestURL;
    CmdType RequestKind = CmdGET;

private:
    void Request(CmdType Kind, const std::string& URL);
    void RunTransaction();
    void RecordHeaderLine(const std::string& Line, class TFileStream* File);

    bool LocationInReply = false;
};
