#pragma once
// A wizard window on the stand-in, with the start state its creation handler would give
// it, and helpers to put files in the sandbox and read them back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "files.h"
#include "i18n/traducteur.h"
#include "platform/posix/standin.h"
#include "raised.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"
#include "wizard_globals.h"

namespace standin = platform::standin;

class WizardFixture : public ::testing::Test {
protected:
    void SetUp() override {
        globals.emplace(catalogue);
        form = std::make_unique<TfInstall>();
        globals->Window(*form);
        form->OnClose = [this](TComponent* sender) { form->FormClose(sender); };
        UseLanguage(kFrancais);
        form->ProgramsDir = WithTrailingBackslash(platform::SpecialFolderPath(platform::SpecialFolder::Programs));
        form->DesktopDir = platform::SpecialFolderPath(platform::SpecialFolder::DesktopDirectory);
        const std::string temp = platform::TempPath();
        std::copy(temp.begin(), temp.end(), form->TempDir.begin());
    }

    void TearDown() override {
        form.reset();
        globals.reset();
    }

    void UseLanguage(const std::string& code) { catalogue.SetLanguage(code); }

    // Page 3 with the directory typed and Next enabled, as the user leaves it.
    void OnDirectoryPage(const std::string& typed) {
        form->ShowStep(false, false, true, false, false);
        form->TxtDir.SetText(typed);
        form->btnBack.SetEnabled(true);
        form->BtnNext.SetEnabled(true);
    }

    // Files in the sandbox, named by their Windows paths.
    static void WriteFile(const std::string& windowsPath, const std::string& content) {
        ::WriteFile(standin::HostPath(windowsPath), content);
    }
    static std::optional<std::string> ReadFile(const std::string& windowsPath) {
        return ::ReadFile(standin::HostPath(windowsPath));
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

    tTranslate catalogue;
    std::optional<WizardGlobals> globals;
    std::unique_ptr<TfInstall> form;
};
