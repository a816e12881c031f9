// Registry and INI writes made for real, read back through the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/exception.h"
#include "platform/services.h"
#include "platform/win32/handle.h"

namespace {

using namespace platform;

struct ReadValue {
    LONG status;
    DWORD type;
    std::string bytes;  // as stored, terminating zero included
};

ReadValue Query(HKEY root, const char* key, const char* name) {
    win32::RegistryKeyHandle opened;
    ReadValue result{RegOpenKeyExA(root, key, 0, KEY_READ, opened.Put()), 0, {}};
    if (result.status != ERROR_SUCCESS) return result;
    char data[512];
    DWORD size = sizeof data;
    result.status = RegQueryValueExA(opened.Get(), name, nullptr, &result.type, reinterpret_cast<BYTE*>(data), &size);
    if (result.status == ERROR_SUCCESS) result.bytes.assign(data, size);
    return result;
}

std::string ErrorOf(void (*operation)()) {
    try {
        operation();
    } catch (const Exception& error) {
        return error.Message;
    }
    return "(nothing raised)";
}

class Registry : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QuorvaneTest");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuorvaneTest");
    }
};

TEST_F(Registry, KeyWriteCreatesTheKeyAndStoresZeroTerminatedStrings) {
    auto key = RegistryKey::Create(RootKey::LocalMachine, "Software\\QuorvaneTest\\Quorvane\\entreprise");
    ASSERT_TRUE(key);
    key->WriteString("Language", "francais");
    key->WriteString("emplacement", "C:\\Répertoire à moi");
    key->WriteString("Empty", "");

    const struct {
        const char* name;
        std::string stored;
    } cases[] = {
        {"Language", std::string("francais") + '\0'},
        {"emplacement", std::string("C:\\Répertoire à moi") + '\0'},
        {"Empty", std::string(1, '\0')},
    };
    for (const auto& c : cases) {
        const auto value = Query(HKEY_LOCAL_MACHINE, "Software\\QuorvaneTest\\Quorvane\\entreprise", c.name);
        EXPECT_EQ(value.status, ERROR_SUCCESS) << c.name;
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << c.name;
        EXPECT_EQ(value.bytes, c.stored) << c.name;
    }
}

TEST_F(Registry, KeyThatCannotBeOpenedIsSkippedSilently) {
    // A key whose access list grants reading only cannot be opened with full access.
    {
        win32::RegistryKeyHandle locked;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\QuorvaneTest\\Locked", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, locked.Put(), nullptr),
                  ERROR_SUCCESS);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        win32::Handle<PSID, FreeSid> everyone;
        ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Put()));
        alignas(DWORD) char aclBuffer[256];
        auto* acl = reinterpret_cast<ACL*>(aclBuffer);
        InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone.Get());
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        ASSERT_EQ(RegSetKeySecurity(locked.Get(), DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    }

    EXPECT_FALSE(RegistryKey::Create(RootKey::LocalMachine, "Software\\QuorvaneTest\\Locked"));
    EXPECT_FALSE(RegistryKey::Create(RootKey::LocalMachine, "\\Software\\QuorvaneTest\\BadPath"));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, "Software\\QuorvaneTest\\Locked", "emplacement").status, ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, SectionWriteCreatesReopensAndWrites) {
    WriteSectionString(RootKey::CurrentUser, "Software\\QuorvaneTest\\Run", "QuorvaneEntreprise",
                       "\"C:\\Program Files\\Quorvane\\Entreprise\\Quorvane.exe\"");
    const auto value = Query(HKEY_CURRENT_USER, "Software\\QuorvaneTest\\Run", "QuorvaneEntreprise");
    EXPECT_EQ(value.status, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes, std::string("\"C:\\Program Files\\Quorvane\\Entreprise\\Quorvane.exe\"") + '\0');
}

TEST_F(Registry, FailuresRaiseTheirTexts) {
    EXPECT_EQ(ErrorOf([] { WriteSectionString(RootKey::LocalMachine, "\\Bad\\Key", "DisplayName", "x"); }),
              "Failed to create key \\Bad\\Key");
    // The system refuses a value name beyond 16383 characters.
    EXPECT_EQ(ErrorOf([] {
                  auto key = RegistryKey::Create(RootKey::CurrentUser, "Software\\QuorvaneTest");
                  if (key) key->WriteString(std::string(20000, 'n'), "x");
              }),
              "Failed to set data for '" + std::string(20000, 'n') + "'");
}

TEST(Profile, BareFileNameIsWrittenInTheWindowsDirectory) {
    char windows[MAX_PATH + 1];
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    const std::string file = std::string(windows) + "\\QuorvaneTest_e.ini";
    DeleteFileA(file.c_str());

    WriteIniString("QuorvaneTest_e.ini", "Settings", "langue", "francais");
    WriteIniString("QuorvaneTest_e.ini", "Settings", "langue", "anglais");  // replaced, not added

    std::ifstream read(file, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(read), {}};
    EXPECT_EQ(content, "[Settings]\r\nlangue=anglais\r\n");
    read.close();
    DeleteFileA(file.c_str());

    EXPECT_EQ(ErrorOf([] { WriteIniString("C:\\no\\such\\folder\\x.ini", "Settings", "langue", "x"); }),
              "Unable to write to C:\\no\\such\\folder\\x.ini");
}

}  // namespace
