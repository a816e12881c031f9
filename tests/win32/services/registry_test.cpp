// What only Windows can show of the registry and INI files: a key whose access list
// refuses writing, the system's limit on value names, the INI file's own bytes. The rest
// is in the services contract (tests/support).
#include <windows.h>

#include <gtest/gtest.h>

#include "files.h"
#include "platform/services.h"
#include "platform/win32/handle.h"
#include "raised.h"
#include "services_probe.h"

namespace {

using namespace platform;

class Registry : public ::testing::Test {
protected:
    void TearDown() override {
        for (RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser})
            probe::DeleteRegistryTree(root, "Software\\QuorvaneTest");
    }
};

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
    EXPECT_EQ(probe::RegistryString(RootKey::LocalMachine, "Software\\QuorvaneTest\\Locked", "emplacement"),
              std::nullopt);
}

// The system refuses a value name beyond 16383 characters; the stand-in takes any.
TEST_F(Registry, AValueNameBeyondWhatTheSystemTakesRaisesItsText) {
    ExpectRaised(
        [] {
            auto key = RegistryKey::Create(RootKey::CurrentUser, "Software\\QuorvaneTest");
            if (key) key->WriteString(std::string(20000, 'n'), "x");
        },
        "Failed to set data for '" + std::string(20000, 'n') + "'");
}

TEST(Profile, BareFileNameIsWrittenInTheWindowsDirectoryAsOneSection) {
    const std::string file = probe::WindowsDirectory() + "\\QuorvaneTest_e.ini";
    DeleteFileA(file.c_str());

    WriteIniString("QuorvaneTest_e.ini", "Settings", "langue", "francais");
    WriteIniString("QuorvaneTest_e.ini", "Settings", "langue", "anglais");  // replaced, not added

    EXPECT_EQ(ReadFile(file), "[Settings]\r\nlangue=anglais\r\n");
    DeleteFileA(file.c_str());
}

}  // namespace
