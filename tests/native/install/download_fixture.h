#pragma once
// The wizard against the transport tests' loopback server, with recorders on what page 4
// shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "recording_peer.h"
#include "reply.h"
#include "script_server.h"
#include "wizard_fixture.h"

inline std::string Served(const std::string& name) { return "served " + name; }

inline std::string RequestLine(const std::string& name) { return "GET /download/qventreprise/" + name + " HTTP/1.0"; }

class DownloadTest : public WizardFixture {
protected:
    void SetUp() override {
        WizardFixture::SetUp();
        UseHost("127.0.0.1:" + std::to_string(server.Port()));
    }

    void UseHost(const std::string& host) { form->DownloadHost = host; }

    // What the transport saved for one file, at the path the stage gave it.
    static std::optional<std::string> Downloaded(const std::string& name) {
        return ReadFile(platform::TempPath() + name);
    }

    std::vector<std::string> RequestLines() const {
        std::vector<std::string> lines;
        for (const std::string& request : server.Requests()) lines.push_back(FirstLine(request));
        return lines;
    }

    // Page 3 with C:\Apps typed, then Next: the whole installation.
    std::optional<std::string> InstallFromPage3() {
        OnDirectoryPage("C:\\Apps");
        return RaisedMessage([&] { form->BtnNextClick(&form->BtnNext); });
    }

    void ExpectNothingPlaced() {
        for (const char* name : kProductFiles) EXPECT_FALSE(ReadFile(std::string("C:\\Apps\\") + name)) << name;
        EXPECT_TRUE(standin::Links().empty());
        EXPECT_TRUE(standin::RegistryValues().empty());
        EXPECT_FALSE(form->Completed);
    }

    void ExpectStillOnPage4WithOnlyCancel() {
        EXPECT_TRUE(form->PnlStep4.Visible());
        EXPECT_FALSE(form->btnBack.Enabled());
        EXPECT_FALSE(form->BtnNext.Enabled());
        EXPECT_TRUE(form->BtnClose.Enabled());
    }

    ScriptServer server;
};
