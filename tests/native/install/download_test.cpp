// The download stage on the stand-in against the transport tests' loopback server: what
// page 4 shows per event, the progress rule, and the replies that must not be installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "download_fixture.h"
#include "net/nmhttp.h"

namespace {

// Status per event and the final progress of each file, in each language.
struct LocaleCase {
    const char* Language;
    char Separator;
    std::vector<std::string> Statuses;
    const char* LastBytes;
};

void PrintTo(const LocaleCase& locale, std::ostream* out) { *out << locale.Language; }

class DownloadLocaleTest : public DownloadTest, public ::testing::WithParamInterface<LocaleCase> {};

TEST_P(DownloadLocaleTest, ShowsEachEventThenPlacesTheFiles) {
    const LocaleCase& locale = GetParam();
    UseLanguage(locale.Language);
    standin::SetDecimalSeparator(locale.Separator);
    // The last file is 2.25 Megs long, so the byte counts show two real decimals.
    const std::string big(2359296, 'q');
    server.Play({Send(Ok(Served("quorvane.exe")))});
    server.Play({Send(Ok(Served("quorvane.ini")))});
    server.Play({Send(Ok(Served("miseajour.exe")))});
    server.Play({Send(Ok(big))});
    RecordingPeer& status = Record(form->LblStatus);
    RecordingPeer& bytes = Record(form->LblBytes);
    RecordingPeer& fileName = Record(form->LblFN);

    EXPECT_EQ(InstallFromPage3(), std::nullopt);

    EXPECT_EQ(status.Captions, locale.Statuses);
    ASSERT_FALSE(bytes.Captions.empty());
    EXPECT_EQ(bytes.Captions.back(), locale.LastBytes);
    EXPECT_EQ(fileName.Captions.back(), "uninstall.exe (100 %)");
    EXPECT_EQ(form->ProgBarDL.Max(), 2359296);
    EXPECT_EQ(form->ProgBarDL.Position(), 2359296);
    EXPECT_EQ(RequestLines(), (std::vector{RequestLine("quorvane.exe"), RequestLine("quorvane.ini"),
                                           RequestLine("miseajour.exe"), RequestLine("uninstall.exe")}));
    EXPECT_NE(server.Requests().front().find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
    EXPECT_EQ(Downloaded("quorvane.ini"), Served("quorvane.ini"));
    EXPECT_EQ(Downloaded("uninstall.exe"), big);
    EXPECT_TRUE(form->Completed);
    EXPECT_TRUE(form->Pnlstep5.Visible());
    EXPECT_EQ(ReadFile("C:\\Apps\\quorvane.exe"), Served("quorvane.exe"));
}

std::vector<std::string> StatusSequence(const std::string& looking, const std::string& downloading,
                                        const std::string& shortcuts, const std::string& uninstall) {
    std::vector<std::string> sequence;
    for (const char* name : {"quorvane.exe", "quorvane.ini", "miseajour.exe", "uninstall.exe"}) {
        sequence.push_back(looking);
        sequence.push_back(downloading + name);
    }
    sequence.push_back(shortcuts);
    sequence.push_back(uninstall);
    return sequence;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DownloadLocaleTest,
    ::testing::Values(LocaleCase{"francais", ',',
                                 StatusSequence("Statut : Recherche du serveur Quorvane", "Statut : Téléchargement de ",
                                                "Statut : Création des raccourcis",
                                                "Statut : Enregistrement du désinstallateur"),
                                 "2,25 / 2,25 Megs"},
                      LocaleCase{"anglais", '.',
                                 StatusSequence("Status : Looking for Quorvane server", "Status : Downloading ",
                                                "Status : Creation of shortcuts", "Status : Registration of uninstall"),
                                 "2.25 / 2.25 Megs"}));

TEST_F(DownloadTest, ReplyWithoutLengthMovesNeitherBarNorCounts) {
    for (const char* name : kProductFiles) server.Play({Send(Reply("200 OK", "", Served(name)))});
    RecordingPeer& status = Record(form->LblStatus);
    RecordingPeer& bytes = Record(form->LblBytes);
    RecordingPeer& fileName = Record(form->LblFN);

    EXPECT_EQ(InstallFromPage3(), std::nullopt);

    EXPECT_EQ(bytes.Captions, std::vector<std::string>{});
    EXPECT_EQ(fileName.Captions, std::vector<std::string>{});
    EXPECT_EQ(form->ProgBarDL.Max(), 100);
    EXPECT_EQ(form->ProgBarDL.Position(), 0);
    EXPECT_EQ(status.Captions.at(1), "Statut : Téléchargement de quorvane.exe");
    for (const char* name : kProductFiles) EXPECT_EQ(ReadFile(std::string("C:\\Apps\\") + name), Served(name)) << name;
    EXPECT_TRUE(form->Completed);
}

// No temporary directory: nothing is fetched into the current directory, nor placed.
TEST_F(DownloadTest, NoTemporaryDirectoryStopsBeforeAnyRequest) {
    form->TempDir.fill('\0');
    EXPECT_EQ(InstallFromPage3(), "No temporary directory is available");
    EXPECT_TRUE(RequestLines().empty());
    EXPECT_EQ(form->Http, nullptr);
    ExpectNothingPlaced();
}

// A second file that did not arrive whole: the error names it and why, the files after
// it are not fetched and nothing is placed.
struct FailureCase {
    const char* Name;
    std::vector<ScriptStep> SecondReply;
    const char* Message;
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.Name; }

class FailedDownloadTest : public DownloadTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedDownloadTest, IsNotInstalled) {
    server.Play({Send(Ok(Served("quorvane.exe")))});
    server.Play(GetParam().SecondReply);
    server.Play({Send(Ok(Served("miseajour.exe")))});
    server.Play({Send(Ok(Served("uninstall.exe")))});

    EXPECT_EQ(InstallFromPage3(), GetParam().Message);

    EXPECT_EQ(RequestLines(), (std::vector{RequestLine("quorvane.exe"), RequestLine("quorvane.ini")}));
    ExpectNothingPlaced();
    ExpectStillOnPage4WithOnlyCancel();
    // The error that ended the stage takes the client out of file mode too.
    EXPECT_FALSE(form->Http->InputFileMode);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FailedDownloadTest,
    ::testing::Values(FailureCase{"NotFound",
                                  {Send(Reply("404 Not Found", "Content-Length: 9\r\n", "not found"))},
                                  "quorvane.ini: the server answered 404 Not Found"},
                      FailureCase{"ServerError",
                                  {Send(Reply("500 Internal Server Error", "", ""))},
                                  "quorvane.ini: the server answered 500 Internal Server Error"},
                      FailureCase{"ShortBody",
                                  {Send(Reply("200 OK", "Content-Length: 10\r\n", "1234"))},
                                  "quorvane.ini: 4 bytes received of the 10 announced"},
                      FailureCase{
                          "ClosedWithoutReply", {}, "quorvane.ini: the server closed the connection without replying"}),
    [](const auto& test) { return std::string(test.param.Name); });

// The progress rule on its own, from the client's two counters.
struct ProgressCase {
    std::int32_t Received, Expected;
    char Separator;
    const char* Bytes;
    const char* FileName;
};

void PrintTo(const ProgressCase& progress, std::ostream* out) {
    *out << progress.Received << " of " << progress.Expected << " with '" << progress.Separator << "'";
}

class ProgressTest : public WizardFixture, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressTest, ShowsBarCountsAndPercentage) {
    const ProgressCase& progress = GetParam();
    standin::SetDecimalSeparator(progress.Separator);
    form->Http = std::make_unique<TNMHTTP>();
    form->CurrentFileName = "quorvane.exe";
    form->Http->ExpectedBytes = progress.Expected;
    form->Http->ReceivedBytes = progress.Received;

    form->HttpPacketRecvd();

    EXPECT_EQ(form->LblBytes.Caption(), progress.Bytes);
    EXPECT_EQ(form->LblFN.Caption(), progress.FileName);
    EXPECT_EQ(form->ProgBarDL.Max(), progress.Expected);
    EXPECT_EQ(form->ProgBarDL.Position(), std::min(progress.Received, progress.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Counters, ProgressTest,
    ::testing::Values(ProgressCase{524288, 2359296, '.', "0.50 / 2.25 Megs", "quorvane.exe (22 %)"},
                      ProgressCase{524288, 2359296, ',', "0,50 / 2,25 Megs", "quorvane.exe (22 %)"},
                      // Halves go to the even neighbour: 42.5 and 43.5 %, 0.125 and 0.375 Megs.
                      ProgressCase{85, 200, '.', "0.00 / 0.00 Megs", "quorvane.exe (42 %)"},
                      ProgressCase{87, 200, '.', "0.00 / 0.00 Megs", "quorvane.exe (44 %)"},
                      ProgressCase{131072, 1048576, '.', "0.12 / 1.00 Megs", "quorvane.exe (12 %)"},
                      ProgressCase{393216, 1048576, ',', "0,38 / 1,00 Megs", "quorvane.exe (38 %)"},
                      // Counters near the 32-bit limit: the products must not overflow.
                      ProgressCase{INT32_MAX, INT32_MAX, '.', "2048.00 / 2048.00 Megs", "quorvane.exe (100 %)"},
                      ProgressCase{INT32_MAX / 3, INT32_MAX, '.', "682.67 / 2048.00 Megs", "quorvane.exe (33 %)"},
                      // More than announced keeps the bar full and says so.
                      ProgressCase{300, 200, '.', "0.00 / 0.00 Megs", "quorvane.exe (150 %)"}));

// The handler runs for every block and what it set is read back at once; the screen
// follows once per look at the queue: a thousand blocks in between are one update each.
using ProgressOnScreenTest = WizardFixture;

TEST_F(ProgressOnScreenTest, AThousandBlocksBetweenTwoLooksAreOneUpdateEachAndReadBackAtOnce) {
    constexpr std::int32_t kBlock = 65536;
    standin::SetDecimalSeparator('.');
    form->Http = std::make_unique<TNMHTTP>();
    form->CurrentFileName = "quorvane.exe";
    form->Http->ExpectedBytes = 1002 * kBlock;
    RecordingPeer& bar = Record(form->ProgBarDL);
    RecordingPeer& bytes = Record(form->LblBytes);
    RecordingPeer& fileName = Record(form->LblFN);
    form->Http->ReceivedBytes = kBlock;
    form->HttpPacketRecvd();
    platform::ProcessMessages();
    for (RecordingPeer* peer : {&bar, &bytes, &fileName}) {
        peer->Changes.clear();
        peer->Captions.clear();
    }

    std::string lastBytes, lastFileName;
    for (std::int32_t block = 2; block <= 1001; ++block) {
        form->Http->ReceivedBytes = block * kBlock;
        form->HttpPacketRecvd();
        char megs[32];
        std::snprintf(megs, sizeof megs, "%.2f / %.2f Megs", block / 16.0, 1002 / 16.0);
        ASSERT_EQ(form->ProgBarDL.Position(), block * kBlock);
        ASSERT_EQ(form->LblBytes.Caption(), megs);
        ASSERT_EQ(form->LblFN.Caption(), "quorvane.exe (" + std::to_string(std::lrint(block * 100.0 / 1002)) + " %)");
        lastBytes = megs;
        lastFileName = form->LblFN.Caption();
    }
    EXPECT_TRUE(bar.Changes.empty());
    EXPECT_TRUE(bytes.Changes.empty());
    EXPECT_TRUE(fileName.Changes.empty());

    platform::ProcessMessages();

    EXPECT_EQ(bar.Changes, std::vector<platform::PeerChange>{platform::PeerChange::Position});
    EXPECT_EQ(bytes.Captions, std::vector<std::string>{lastBytes});
    EXPECT_EQ(fileName.Captions, std::vector<std::string>{lastFileName});
}

}  // namespace
