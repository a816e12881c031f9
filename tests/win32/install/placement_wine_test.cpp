// Placement and registration against the real system under Wine: files placed from a
// temporary directory, then everything read back through the system's own interfaces.
// The links are also listed in C:\quorvane-placement-links.txt for the host-side
// lnkinfo check.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "files.h"
#include "i18n/traducteur.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "services_probe.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"
#include "wizard_globals.h"

namespace {

using platform::RootKey;
using platform::win32::RegistryKeyHandle;

const std::string kTyped = "C:\\Quorvane Test\\Install";
const std::string kDir = kTyped + "\\";
const std::string kProductKey = "Software\\Quorvane\\Quorvane\\entreprise";
const std::string kUninstallKey =
    "SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane Enterprise version";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kLinkManifest = "C:\\quorvane-placement-links.txt";
const char* const kProductFiles[] = {"quorvane.exe", "quorvane.ini", "miseajour.exe", "uninstall.exe"};

// Every byte value, so a copy that alters any of them shows.
std::string SampleContent(const std::string& name) {
    std::string content = name + "\n";
    for (int value = 0; value < 256; ++value) content += static_cast<char>(value);
    return content;
}

void DeleteRegistryValue(HKEY root, const std::string& key, const std::string& name) {
    RegistryKeyHandle handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, handle.Put()) == ERROR_SUCCESS)
        RegDeleteValueA(handle.Get(), name.c_str());
}

class PlacementOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        globals.Window(form);
        catalogue.SetLanguage(kAnglais);
        form.ProgramsDir = WithTrailingBackslash(platform::SpecialFolderPath(platform::SpecialFolder::Programs));
        form.DesktopDir = platform::SpecialFolderPath(platform::SpecialFolder::DesktopDirectory);
        ASSERT_FALSE(form.ProgramsDir.empty());
        ASSERT_FALSE(form.DesktopDir.empty());

        // A temporary directory of our own holding what a download would have left.
        tempDir = platform::TempPath() + "quorvane-placement\\";
        CreateDirectoryA(tempDir.c_str(), nullptr);
        ASSERT_LT(tempDir.size(), form.TempDir.size());
        std::copy(tempDir.begin(), tempDir.end(), form.TempDir.begin());
        for (const char* name : kProductFiles) WriteFile(tempDir + name, SampleContent(name));

        // Nothing of an earlier run may pass for this one's work.
        for (const char* name : kProductFiles) DeleteFileA((kDir + name).c_str());
        for (const std::string& link : Links()) DeleteFileA(link.c_str());
        DeleteFileA((probe::WindowsDirectory() + "\\Quorvane_e.ini").c_str());
        DeleteFileA(kLinkManifest);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, kProductKey, "emplacement");
        DeleteRegistryValue(HKEY_CURRENT_USER, kRunKey, "QuorvaneEntreprise");
    }

    std::vector<std::string> Links() const {
        const std::string group = form.ProgramsDir + "Quorvane\\Enterprise\\";
        return {group + "Quorvane.Lnk", group + "miseajour.Lnk", group + "uninstall.Lnk",
                form.DesktopDir + "\\Quorvane Enterprise.Lnk"};
    }

    platform::ComScope com;
    tTranslate catalogue;
    WizardGlobals globals{catalogue};
    TfInstall form;
    std::string tempDir;
};

TEST_F(PlacementOnWine, InstallationAndCloseLeaveEverythingBehind) {
    form.TxtDir.SetText(kTyped);
    ASSERT_TRUE(form.PrepareInstallDir());
    form.InstallFiles();
    ASSERT_TRUE(form.Completed);
    form.ChkAutoStart.SetChecked(true);
    form.chkStartNow.SetChecked(false);  // the placed files are not programs
    form.FormClose(&form);

    for (const char* name : kProductFiles) EXPECT_EQ(ReadFile(kDir + name), SampleContent(name)) << name;

    const std::vector<std::string> links = Links();
    const std::string targets[] = {"quorvane.exe", "miseajour.exe", "uninstall.exe", "quorvane.exe"};
    std::ofstream manifest(kLinkManifest);
    for (std::size_t index = 0; index < links.size(); ++index) {
        const probe::LinkFields expected{kDir + targets[index], "", kDir};
        EXPECT_EQ(probe::ReadLink(links[index]), expected) << links[index];
        manifest << links[index] << '|' << expected.Target << '|' << expected.WorkingDirectory << '\n';
    }

    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, kProductKey, "emplacement"), kTyped);
    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, kUninstallKey, "DisplayName"),
              "Quorvane Enterprise version");
    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, kUninstallKey, "UninstallString"),
              "\"" + kDir + "Uninstall.exe\"");
    EXPECT_EQ(probe::RegistryString(RootKey::CurrentUser, kRunKey, "QuorvaneEntreprise"),
              "\"" + kDir + "Quorvane.exe\"");

    EXPECT_EQ(probe::IniString(probe::WindowsDirectory() + "\\Quorvane_e.ini", "Settings", "langue"), "anglais");
}

}  // namespace
