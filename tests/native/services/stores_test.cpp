// The in-memory registry, INI and link stores as the tests list them, and the refusals
// that drive callers' failure paths. What Windows does the same way is in the services
// contract (tests/support).
#include <gtest/gtest.h>

#include <functional>

#include "platform/posix/standin.h"
#include "platform/services.h"
#include "raised.h"

namespace {

using namespace platform;

class Stores : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_F(Stores, RegistryValuesAreListedSpeltAsFirstWritten) {
    auto key = RegistryKey::Create(RootKey::LocalMachine, "Software\\Quorvane\\Quorvane\\entreprise");
    ASSERT_TRUE(key);
    key->WriteString("Language", "francais");
    key->WriteString("emplacement", "C:\\A\\B");
    WriteSectionString(RootKey::LocalMachine, "SOFTWARE\\quorvane\\Quorvane\\Entreprise", "LANGUAGE", "anglais");
    WriteSectionString(RootKey::CurrentUser, "Software\\Quorvane\\Quorvane\\entreprise", "Language", "other root");

    const std::vector<standin::RegistryValue> expected = {
        {RootKey::LocalMachine, "Software\\Quorvane\\Quorvane\\entreprise", "emplacement", "C:\\A\\B"},
        {RootKey::LocalMachine, "Software\\Quorvane\\Quorvane\\entreprise", "Language", "anglais"},
        {RootKey::CurrentUser, "Software\\Quorvane\\Quorvane\\entreprise", "Language", "other root"},
    };
    EXPECT_EQ(standin::RegistryValues(), expected);
    EXPECT_TRUE(standin::RegistryKeyExists(RootKey::LocalMachine, "software\\quorvane"));
}

TEST_F(Stores, RefusedRegistryRootFailsTheWayCallersSeeIt) {
    standin::Refuse().LocalMachineKeys = true;
    EXPECT_FALSE(RegistryKey::Create(RootKey::LocalMachine, "Software\\Quorvane"));
    ExpectRaised([] { WriteSectionString(RootKey::LocalMachine, "SoftWare\\Uninstall\\Q", "DisplayName", "Q"); },
                 "Failed to create key SoftWare\\Uninstall\\Q");
    WriteSectionString(RootKey::CurrentUser, "Software\\Run", "QuorvaneEntreprise", "x");
    EXPECT_EQ(standin::RegistryValues().size(), 1u);  // the other root still works

    standin::Refuse().ValueWrites = true;
    auto key = RegistryKey::Create(RootKey::CurrentUser, "Software\\Quorvane");
    ASSERT_TRUE(key);
    ExpectRaised([&] { key->WriteString("emplacement", "x"); }, "Failed to set data for 'emplacement'");
    EXPECT_FALSE(standin::ReadRegistry(RootKey::CurrentUser, "Software\\Quorvane", "emplacement"));
}

TEST_F(Stores, ProfileEntriesAreListedWithTheirFullPath) {
    WriteIniString("Quorvane_e.ini", "Settings", "langue", "francais");
    WriteIniString("C:\\WINDOWS\\quorvane_E.INI", "settings", "LANGUE", "anglais");
    const std::vector<standin::ProfileEntry> expected = {
        {"C:\\Windows\\Quorvane_e.ini", "Settings", "langue", "anglais"}};
    EXPECT_EQ(standin::ProfileEntries(), expected);

    standin::Refuse().ProfileWrites = true;
    ExpectRaised([] { WriteIniString("Quorvane_e.ini", "Settings", "langue", "x"); },
                 "Unable to write to Quorvane_e.ini");
    EXPECT_EQ(standin::ReadProfile("Quorvane_e.ini", "Settings", "langue"), "anglais");
}

TEST_F(Stores, LinksAreListedOnceWithTheirFirstSpelling) {
    const std::string desktop = SpecialFolderPath(SpecialFolder::DesktopDirectory);
    ASSERT_TRUE(CreateShellLink("C:\\Q\\quorvane.exe", "", "C:\\Q\\", desktop + "\\\\Quorvane Entreprise.Lnk"));
    ASSERT_TRUE(CreateShellLink("C:\\R\\quorvane.exe", "-x", "C:\\R\\", desktop + "\\quorvane entreprise.lnk"));
    const std::vector<standin::SavedLink> expected = {
        {desktop + "\\Quorvane Entreprise.Lnk", "C:\\R\\quorvane.exe", "-x", "C:\\R\\"}};  // first spelling kept
    EXPECT_EQ(standin::Links(), expected);

    EXPECT_FALSE(CreateShellLink("C:\\Q\\quorvane.exe", "", "C:\\Q\\", "C:\\No\\Such\\Folder\\Q.Lnk"));
    EXPECT_EQ(standin::Links().size(), 1u);
}

TEST_F(Stores, EachRefusalFailsItsOperationWithTheSystemsReason) {
    const struct {
        const char* name;
        bool standin::Refusals::*refusal;
        std::function<bool()> operation;
    } cases[] = {
        {"copy", &standin::Refusals::Copies, [] { return CopyFileOverwrite("C:\\Q\\a.Lnk", "C:\\Q\\b"); }},
        {"directory", &standin::Refusals::DirectoryCreation, [] { return MakeDirectory("C:\\Q\\New"); }},
        {"link save", &standin::Refusals::LinkSaves,
         [] { return CreateShellLink("C:\\Q\\a", "", "C:\\Q", "C:\\Q\\a.Lnk"); }},
    };
    for (const auto& c : cases) {
        standin::Reset();
        ASSERT_TRUE(MakeDirectory("C:\\Q"));
        ASSERT_TRUE(CreateShellLink("C:\\Q\\a", "", "C:\\Q", "C:\\Q\\a.Lnk"));  // a file to copy
        standin::Refuse().*c.refusal = true;
        EXPECT_FALSE(c.operation()) << c.name;
        EXPECT_EQ(SystemErrorText(), "Access is denied.") << c.name;
        standin::Refuse().*c.refusal = false;
        EXPECT_TRUE(c.operation()) << c.name << " works again once allowed";
    }

    standin::Refuse().LinkObjects = true;
    ExpectRaised([] { CreateShellLink("C:\\Q\\a", "", "C:\\Q", "C:\\Q\\a.Lnk"); }, "Interface not supported");
}

}  // namespace
