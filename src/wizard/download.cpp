// The download stage: the four product files fetched from the vendor's server into the
// temporary directory, with status and progress on page 4, then handed to the placement.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>

#include "net/nmhttp.h"
#include "platform/exception.h"
#include "platform/scoped_value.h"
#include "platform/services.h"
#include "ui/peer_updates.h"
#include "wizard/catalogue_text.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"

namespace {

constexpr int kSlotLookingForServer = 21;
constexpr int kSlotServerNotFound = 22;
constexpr int kSlotServerNotFoundCaption = 23;
constexpr int kSlotDownloading = 24;
constexpr int kSlotCancelQuestion = 25;
constexpr int kSlotCancelCaption = 26;

constexpr const char* kDownloadOrder[] = {"quorvane.exe", "quorvane.ini", "miseajour.exe", "uninstall.exe"};
constexpr std::int64_t kBytesPerMeg = 1048576;

std::string DownloadUrl(const std::string& host, const std::string& name) {
    return "http://" + host + "/download/qventreprise/" + name;
}

// numerator / denominator rounded to the nearest whole number, a half to the even one;
// numerator >= 0, denominator > 0.
std::int64_t RoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) ++quotient;
    return quotient;
}

// Megabytes with exactly two decimals, as "%0.02f" rounds them, with the locale's separator.
std::string FormatMegs(std::int64_t bytes, char decimalSeparator) {
    const std::int64_t hundredths = RoundHalfEven(bytes * 100, kBytesPerMeg);
    const std::int64_t fraction = hundredths % 100;
    return std::to_string(hundredths / 100) + decimalSeparator + (fraction < 10 ? "0" : "") + std::to_string(fraction);
}

// The status line's code and reason, without the protocol and the line terminator.
std::string StatusOf(const std::string& header) {
    std::string line = header.substr(0, header.find_first_of("\r\n"));
    const auto space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

// A transfer that ended without an error may still have brought no file: only a 2xx
// reply with every announced byte counts.
void CheckDownloaded(const TNMHTTP& http, const std::string& name) {
    if (http.Header.empty()) throw Exception(name + ": the server closed the connection without replying");
    if (http.ReplyCode < 200 || http.ReplyCode > 299)
        throw Exception(name + ": the server answered " + StatusOf(http.Header));
    if (http.ExpectedBytes > 0 && http.ReceivedBytes != http.ExpectedBytes)
        throw Exception(name + ": " + std::to_string(http.ReceivedBytes) + " bytes received of the " +
                        std::to_string(http.ExpectedBytes) + " announced");
}

}  // namespace

void TfInstall::StartDownload() {
    if (Cancelled) return;
    // An empty prefix would download into the current directory.
    if (TempDir[0] == '\0') throw Exception("No temporary directory is available");
    if (!Http) {
        Http = std::make_unique<TNMHTTP>();
        Http->OnPacketRecvd = [this] { HttpPacketRecvd(); };
        Http->OnAboutToSend = [this] { HttpAboutToSend(); };
        Http->OnInvalidHost = [this](bool& Handled) { HttpInvalidHost(Handled); };
        Http->OnConnect = [this] { HttpConnect(); };
    }
    const std::string tempDir = WithTrailingBackslash(ZeroTerminated(TempDir));
    {
        const platform::ScopedValue toFiles(Http->InputFileMode, true);
        for (const char* name : kDownloadOrder) {
            CurrentFileName = name;
            Http->Body = tempDir + name;
            GetShowingTheEnd(DownloadUrl(DownloadHost, name));
            CheckDownloaded(*Http, name);
        }
    }
    if (!Cancelled) InstallFiles();
}

// The progress reaches the screen once per look at the queue; a file's last values are
// shown however its transfer ends.
void TfInstall::GetShowingTheEnd(const std::string& url) {
    std::exception_ptr failure;
    try {
        Http->Get(url);
    } catch (...) {
        failure = std::current_exception();
    }
    TPeerUpdates::Instance().Flush();
    if (failure) std::rethrow_exception(failure);
}

void TfInstall::BitBtn2Click(TComponent*) {
    if (platform::ShowMessageBox(CatalogueText(kSlotCancelQuestion), CatalogueText(kSlotCancelCaption),
                                 platform::MessageBoxKind::YesNoQuestion) != platform::MessageBoxAnswer::Yes)
        return;
    if (Http) {
        Http->Abort();
        Cancelled = true;
    }
    Close();
}

void TfInstall::HttpAboutToSend() { LblStatus.SetCaption(CatalogueText(kSlotLookingForServer)); }

void TfInstall::HttpConnect() { LblStatus.SetCaption(CatalogueText(kSlotDownloading) + CurrentFileName); }

void TfInstall::HttpPacketRecvd() {
    const std::int32_t expected = Http->ExpectedBytes;
    if (expected <= 0) return;
    const std::int32_t received = std::max<std::int32_t>(Http->ReceivedBytes, 0);
    ProgBarDL.SetMax(expected);
    ProgBarDL.SetPosition(received);
    const char separator = platform::DecimalSeparator();
    LblBytes.SetCaption(FormatMegs(received, separator) + " / " + FormatMegs(expected, separator) + " Megs");
    LblFN.SetCaption(CurrentFileName + " (" + std::to_string(RoundHalfEven(std::int64_t{received} * 100, expected)) +
                     " %)");
}

void TfInstall::HttpInvalidHost(bool&) {
    platform::ShowMessageBox(CatalogueText(kSlotServerNotFound), CatalogueText(kSlotServerNotFoundCaption),
                             platform::MessageBoxKind::Error);
    Close();
}
