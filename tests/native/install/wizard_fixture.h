#pragma once
// A wizard window on the stand-in, with the start state its creation handler would give
// it, and helpers to put files in the sandbox and read them back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "i18n/traducteur.h"
#include "platform/exception.h"
#include "platform/posix/standin.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"

namespace standin = platform::standin;

// The message of the error an operation raised, or nothing.
template <class Operation>
std::optional<std::string> RaisedMessage(Operation&& operation) {
    try {
        operation();
    } catch (const Exception& error) {
        return error.Message;
    }
    return std::nullopt;
}

class WizardFixture : public ::testing::Test {
protected:
    void SetUp() override {
        standin::Reset();
        catalogue = std::make_unique<tTranslate>();
        Translator = catalogue.get();
        form = std::make_unique<TfInstall>();
        fInstall = form.get();
        form->OnClose = [this](TComponent* sender) { form->FormClose(sender); };
        UseLanguage(kFrancais);
        form->ProgramsDir = WithTrailingBackslash(platform::SpecialFolderPath(platform::SpecialFolder::Programs));
        form->DesktopDir = platform::SpecialFolderPath(platform::SpecialFolder::DesktopDirectory);
        const std::string temp = platform::TempPath();
        std::copy(temp.begin(), temp.end(), form->TempDir.begin());
    }

    void TearDown() override {
        form.reset();
        fInstall = nullptr;
        Translator = nullptr;
    }

    void UseLanguage(const std::string& code) { catalogue->SetLanguage(code); }

    // Page 3 with the directory typed and Next enabled, as the user leaves it.
    void OnDirectoryPage(const std::string& typed) {
        form->ShowStep(false, false, true, false, false);
        form->TxtDir.SetText(typed);
        form->btnBack.SetEnabled(true);
        form->BtnNext.SetEnabled(true);
    }

    static void WriteFile(const std::string& windowsPath, const std::string& content) {
        std::ofstream(standin::HostPath(windowsPath), std::ios::binary) << content;
    }

    static std::optional<std::string> ReadFile(const std::string& windowsPath) {
        const std::string host = standin::HostPath(windowsPath);
        if (host.empty() || !std::filesystem::is_regular_file(host)) return std::nullopt;
        std::ifstream in(host, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Every file directly in the directory, by name, with its content.
    static std::map<std::string, std::string> FilesIn(const std::string& windowsDirectory) {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(standin::HostPath(windowsDirectory)))
            files[entry.path().filename().string()] =
                ReadFile(windowsDirectory + entry.path().filename().string()).value_or("(a directory)");
        return files;
    }

    static constexpr const char* kProductFiles[] = {"quorvane.exe", "quorvane.ini", "miseajour.exe", "uninstall.exe"};

    // What a finished download leaves in the temporary directory: each file's own content.
    static void PutDownloadedFiles() {
        for (const char* name : kProductFiles) WriteFile(platform::TempPath() + name, std::string("new ") + name);
    }

    std::unique_ptr<tTranslate> catalogue;
    std::unique_ptr<TfInstall> form;
};
