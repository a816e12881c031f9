#include "net/nmhttp.h"

#include <iterator>
#include <optional>
#include <string_view>

#include "net/decimal.h"
#include "net/filestream.h"
#include "net/nmurl.h"
#include "net/nmuue.h"

namespace {

constexpr const char* kVerbs[] = {"GET ",  "OPTIONS ", "HEAD ",   "POST ", "PUT ",    "PATCH ",
                                  "COPY ", "MOVE ",    "DELETE ", "LINK ", "UNLINK ", "TRACE "};

// Status line, header lines and the empty line that ends them, terminators included.
constexpr std::size_t kMaxHeaderBytes = 1 << 20;
constexpr int kMaxHeaderLines = 1000;

bool SendsData(CmdType kind) { return kind == CmdPOST || kind == CmdPUT || kind == CmdPATCH || kind == CmdTRACE; }

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view WithoutTerminator(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Position of the n-th (1-based) '/' in the text, or npos.
std::size_t NthSlash(std::string_view text, int n) {
    std::size_t at = std::string_view::npos;
    for (int i = 0; i < n; ++i) {
        at = text.find('/', at == std::string_view::npos ? 0 : at + 1);
        if (at == std::string_view::npos) break;
    }
    return at;
}

// The status line's second space-separated field as a code; 0 when it is not a number
// that fits. The line terminator is not part of the code.
std::int16_t StatusCode(std::string_view line) {
    const std::size_t first = line.find(' ');
    if (first == std::string_view::npos) return 0;
    std::string_view field = line.substr(first + 1);
    field = field.substr(0, field.find(' '));
    return net::DecimalValue<std::int16_t>(WithoutTerminator(field)).value_or(0);
}

std::int32_t ContentLength(std::string_view line) {
    const std::string_view afterColon = line.substr(line.find(':') + 1);
    const std::size_t digit = afterColon.find_first_of("0123456789");
    if (digit == std::string_view::npos) return 0;
    return net::DecimalValue<std::int32_t>(net::LeadingDigits(afterColon.substr(digit))).value_or(0);
}

}  // namespace

TNMHTTP::TNMHTTP() = default;

void TNMHTTP::Abort() {
    WaitDone = true;
    Cancel();
}

void TNMHTTP::Request(CmdType Kind, const std::string& URL) {
    RequestKind = Kind;
    RequestURL = URL;
    DoRequest();
}

void TNMHTTP::Get(const std::string& URL) { Request(CmdGET, URL); }
void TNMHTTP::Options(const std::string& URL) { Request(CmdOPTIONS, URL); }
void TNMHTTP::Head(const std::string& URL) { Request(CmdHEAD, URL); }
void TNMHTTP::Delete(const std::string& URL) { Request(CmdDELETE, URL); }

void TNMHTTP::Post(const std::string& URL, const std::string& PostData) {
    SendData = EncodePost && !OutputFileMode ? TNMURL().Encode(PostData) : PostData;
    Request(CmdPOST, URL);
}

void TNMHTTP::Put(const std::string& URL, const std::string& PutData) {
    SendData = PutData;
    Request(CmdPUT, URL);
}

void TNMHTTP::Patch(const std::string& URL, const std::string& PatchData) {
    SendData = PatchData;
    Request(CmdPATCH, URL);
}

void TNMHTTP::Trace(const std::string& URL, const std::string& TraceData) {
    SendData = TraceData;
    Request(CmdTRACE, URL);
}

void TNMHTTP::Copy(const std::string& URL, const std::string& Destination) {
    LinkValue = Destination;
    Request(CmdCOPY, URL);
}

void TNMHTTP::Move(const std::string& URL, const std::string& Destination) {
    LinkValue = Destination;
    Request(CmdMOVE, URL);
}

void TNMHTTP::Link(const std::string& URL, const std::string& LinkText) {
    LinkValue = LinkText;
    Request(CmdLINK, URL);
}

void TNMHTTP::Unlink(const std::string& URL, const std::string& LinkText) {
    LinkValue = LinkText;
    Request(CmdUNLINK, URL);
}

void TNMHTTP::DoRequest() {
    for (int followed = 0;; ++followed) {
        ParseURL();
        BuildRequestHeader();
        if (OnAboutToSend) OnAboutToSend();
        RunTransaction();
        const std::int16_t reply = ReplyCode;
        const bool follow = reply >= 300 && reply <= 302 && LocationInReply && !RedirectLocation.empty();
        if (reply >= 300 && reply <= 398) {
            bool Handled = false;
            if (!ReceivedCookie.empty()) HeaderInfo.Cookie = ReceivedCookie;
            if (OnRedirect) OnRedirect(Handled);
            if (Handled) return;
            // A bare name stays on this server, its port included.
            if (RequestURL.find('/') == std::string::npos) {
                std::string url = "http://" + Host;
                if (Port != 80) url.append(":").append(std::to_string(Port));
                RequestURL = url.append("/").append(RequestURL);
            }
        }
        if (reply == 401 && OnAuthenticationNeeded) OnAuthenticationNeeded();
        // Other redirection replies, and those without a place to go, end the request.
        if (!follow) return;
        if (followed == kMaxRedirections) throw Exception("Too many redirections");
    }
}

// One connection: request out, reply in, events by reply code; the socket is closed
// whatever happens.
void TNMHTTP::RunTransaction() {
    try {
        Connect();
        SendRequest();
        ReplyCode = 0;
        ReadResponseHeader();
        if (InputFileMode)
            CaptureFile(Body);
        else
            CaptureString(Body, -1);
        const std::int16_t reply = ReplyCode;
        if (reply < 299) {
            if (OnSuccess) OnSuccess(RequestKind);
            StatusMessage(kStatusCompleted, "Transaction Completed");
        } else if (reply >= 300 && reply <= 302) {
            if (LocationInReply && !RedirectLocation.empty()) RequestURL = RedirectLocation;
        } else if (reply >= 400) {
            if (OnFailure) OnFailure(RequestKind);
        }
    } catch (...) {
        try {
            Disconnect();
        } catch (...) {
            // The first failure is the one worth telling.
        }
        throw;
    }
    Disconnect();
}

void TNMHTTP::ParseURL() {
    if (RequestURL.empty()) throw Exception("Empty URL");
    if (Port == 0) Port = 80;
    const std::string_view url = RequestURL;
    const bool hasAuthority = url.find("//") != std::string_view::npos;

    if (hasAuthority) {
        const std::size_t third = NthSlash(url, 3);
        RequestPath =
            third == std::string_view::npos || third + 1 == url.size() ? std::string() : std::string(url.substr(third));
    } else if (const std::size_t slash = url.find('/'); slash != std::string_view::npos) {
        RequestPath = std::string(url.substr(slash));
    } else {
        RequestPath.clear();
    }

    if (const std::size_t colon = url.find(':'); colon != std::string_view::npos) {
        const std::string scheme = LowerAscii(url.substr(0, colon));
        if (scheme == "https") throw Exception("HTTP Secure Socket is not supported");
        Port = scheme == "gopher" ? 70 : scheme == "ftp" ? 21 : 80;
    }

    std::string_view hostPart;
    if (hasAuthority) {
        const std::size_t second = NthSlash(url, 2);
        const std::size_t third = NthSlash(url, 3);
        hostPart =
            url.substr(second + 1, third == std::string_view::npos ? std::string_view::npos : third - second - 1);
    } else if (!url.starts_with('/')) {
        hostPart = url.substr(0, url.find('/'));
    }
    if (const std::size_t colon = hostPart.find(':'); colon != std::string_view::npos) {
        std::string_view portText = hostPart.substr(colon + 1);
        portText = portText.substr(0, portText.find(':'));
        const std::optional<std::int32_t> port = net::DecimalValue<std::int32_t>(portText);
        if (!port) throw Exception("'" + std::string(portText) + "' is not a valid integer value", "EConvertError");
        Port = *port;
        hostPart = hostPart.substr(0, colon);
    }
    if (!hostPart.empty()) Host = std::string(hostPart);

    if (RequestPath.empty()) {
        RequestPath.assign(1, '/');
        RequestURL.push_back('/');
    }
}

void TNMHTTP::BuildRequestHeader() {
    RequestHeaders.Clear();
    if (static_cast<std::size_t>(RequestKind) >= std::size(kVerbs))
        throw Exception("Unknown request kind " + std::to_string(RequestKind));
    RequestHeaders.Add(kVerbs[RequestKind] + (Proxy.empty() ? RequestPath : RequestURL) + " HTTP/1.0");
    if (!Proxy.empty()) {
        RequestHeaders.Add("Proxy-Connection: Keep-Alive");
        RequestHeaders.Add("Host: " + Host);
    }
    RequestHeaders.SetHeader("Host", Host);
    RequestHeaders.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    RequestHeaders.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    if (!HeaderInfo.LocalProgram.empty()) RequestHeaders.SetHeader("User-Agent", HeaderInfo.LocalProgram);
    if (!HeaderInfo.LocalMailAddress.empty()) RequestHeaders.SetHeader("From", HeaderInfo.LocalMailAddress);
    if (!HeaderInfo.Cookie.empty()) RequestHeaders.SetHeader("Cookie", HeaderInfo.Cookie);
    if (!HeaderInfo.Referer.empty()) RequestHeaders.SetHeader("Referer", HeaderInfo.Referer);
    if (!HeaderInfo.UserId.empty() && !HeaderInfo.Password.empty()) {
        TNMUUProcessor encoder;
        encoder.Method = uuMime;
        const std::string credentials = encoder.Encode(HeaderInfo.UserId + ":" + HeaderInfo.Password);
        RequestHeaders.SetHeader("Authorization", "Basic " + std::string(WithoutTerminator(credentials)));
    }
    RequestHeaders.Add("Content-type: application/x-www-form-urlencoded");
    if (RequestKind == CmdCOPY || RequestKind == CmdMOVE) RequestHeaders.Add("URI-header: " + LinkValue);
    if (RequestKind == CmdLINK || RequestKind == CmdUNLINK) RequestHeaders.Add("Link: " + LinkValue);
    if (SendsData(RequestKind)) {
        const std::int64_t length =
            OutputFileMode ? TFileStream::Size(SendData) : static_cast<std::int64_t>(SendData.size());
        RequestHeaders.Add("Content-Length: " + std::to_string(length));
    }
}

void TNMHTTP::SendRequest() {
    std::string text;
    for (const std::string& line : RequestHeaders.Strings) text += line + "\r\n";
    Write(text);
    Writeln("");
    if (!SendsData(RequestKind)) return;
    if (OutputFileMode)
        SendFile(SendData);
    else
        Write(SendData);
}

void TNMHTTP::RecordHeaderLine(const std::string& Line, TFileStream* File) {
    if (File != nullptr)
        File->Write(Line.data(), Line.size());
    else
        Header += Line;
}

void TNMHTTP::ReadResponseHeader() {
    ExpectedBytes = 0;
    ReceivedCookie.clear();
    LocationInReply = false;
    std::optional<TFileStream> file;
    if (OutputFileMode)
        file.emplace(Header, TFileStream::Mode::Create);
    else
        Header.clear();
    TFileStream* headerFile = file ? &*file : nullptr;

    // The header is held whole (Header), so a server that never ends it must not make it
    // grow without bound.
    std::size_t headerBytes = 0;
    int headerLines = 0;
    const auto readHeaderLine = [&] {
        std::string line = ReadLn();
        if (line.empty()) return line;  // the server closed
        if (++headerLines > kMaxHeaderLines) throw ESockError("Reply header of more than 1000 lines");
        headerBytes += line.size();
        if (headerBytes > kMaxHeaderBytes) throw ESockError("Reply header longer than 1 MiB");
        return line;
    };

    const std::string status = readHeaderLine();
    if (!status.empty()) ReplyCode = StatusCode(status);
    RecordHeaderLine(status, headerFile);
    for (;;) {
        const std::string line = readHeaderLine();
        // A header counts only when a space follows its name and colon.
        const std::size_t space = line.find(' ');
        const std::string name =
            space == std::string::npos ? std::string() : UpperAscii(std::string_view(line).substr(0, space));
        if (name == "SET-COOKIE:") {
            ReceivedCookie = std::string(WithoutTerminator(std::string_view(line).substr(12)));
        } else if (name == "LOCATION:") {
            RedirectLocation = std::string(WithoutTerminator(std::string_view(line).substr(10)));
            LocationInReply = true;
        } else if (name == "CONTENT-LENGTH:") {
            ExpectedBytes = ContentLength(line);
        }
        RecordHeaderLine(line, headerFile);
        if (line.empty() || line == "\r\n" || line == "\n") break;
    }
    if (file) file->Close();
}
