// Placement and registration against the real system under Wine: files placed from a
// temporary directory, then everything read back through the system's own interfaces.
// The links are also listed in C:\quorvane-placement-links.txt for the host-side
// lnkinfo check.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "i18n/traducteur.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"

namespace {

using platform::win32::ComPtr;
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

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::string> ReadRegistry(HKEY root, const std::string& key, const std::string& name) {
    RegistryKeyHandle handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    char value[1024];
    DWORD size = sizeof value;
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size == 0 || value[size - 1] != '\0')
        return std::nullopt;
    return std::string(value, size - 1);
}

void DeleteRegistryValue(HKEY root, const std::string& key, const std::string& name) {
    RegistryKeyHandle handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, handle.Put()) == ERROR_SUCCESS)
        RegDeleteValueA(handle.Get(), name.c_str());
}

struct LinkContents {
    std::string Target, WorkingDirectory, Arguments;
    bool operator==(const LinkContents&) const = default;
};

std::optional<LinkContents> ReadLink(const std::string& path) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())))
        return std::nullopt;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return std::nullopt;
    const std::wstring widePath(path.begin(), path.end());
    if (FAILED(file->Load(widePath.c_str(), STGM_READ))) return std::nullopt;
    char target[MAX_PATH] = {}, directory[MAX_PATH] = {}, arguments[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(directory, MAX_PATH);
    link->GetArguments(arguments, MAX_PATH);
    return LinkContents{target, directory, arguments};
}

std::string WindowsDirectory() {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

class PlacementOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        Translator = &catalogue;
        fInstall = &form;
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
        for (const char* name : kProductFiles) std::ofstream(tempDir + name, std::ios::binary) << SampleContent(name);

        // Nothing of an earlier run may pass for this one's work.
        for (const char* name : kProductFiles) DeleteFileA((kDir + name).c_str());
        for (const std::string& link : Links()) DeleteFileA(link.c_str());
        DeleteFileA((WindowsDirectory() + "\\Quorvane_e.ini").c_str());
        DeleteFileA(kLinkManifest);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, kProductKey, "emplacement");
        DeleteRegistryValue(HKEY_CURRENT_USER, kRunKey, "QuorvaneEntreprise");
    }

    void TearDown() override {
        fInstall = nullptr;
        Translator = nullptr;
    }

    std::vector<std::string> Links() const {
        const std::string group = form.ProgramsDir + "Quorvane\\Enterprise\\";
        return {group + "Quorvane.Lnk", group + "miseajour.Lnk", group + "uninstall.Lnk",
                form.DesktopDir + "\\Quorvane Enterprise.Lnk"};
    }

    platform::ComScope com;
    tTranslate catalogue;
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
        const LinkContents expected{kDir + targets[index], kDir, ""};
        EXPECT_EQ(ReadLink(links[index]), expected) << links[index];
        manifest << links[index] << '|' << expected.Target << '|' << expected.WorkingDirectory << '\n';
    }

    EXPECT_EQ(ReadRegistry(HKEY_LOCAL_MACHINE, kProductKey, "emplacement"), kTyped);
    EXPECT_EQ(ReadRegistry(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Quorvane Enterprise version");
    EXPECT_EQ(ReadRegistry(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + kDir + "Uninstall.exe\"");
    EXPECT_EQ(ReadRegistry(HKEY_CURRENT_USER, kRunKey, "QuorvaneEntreprise"), "\"" + kDir + "Quorvane.exe\"");

    const std::string iniPath = WindowsDirectory() + "\\Quorvane_e.ini";
    char langue[32] = {};
    GetPrivateProfileStringA("Settings", "langue", "", langue, sizeof langue, iniPath.c_str());
    EXPECT_EQ(std::string(langue), "anglais");
}

}  // namespace
