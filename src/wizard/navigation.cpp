// Page navigation: the start state, the language and agreement choices, the directory
// page, and the Next and Back buttons up to the start of the installation.
#include <algorithm>

#include "i18n/traducteur.h"
#include "platform/services.h"
#include "platform/unicode.h"
#include "wizard/catalogue_text.h"
#include "wizard/finstall.h"
#include "wizard/paths.h"
#include "wizard/product_key.h"

namespace {

constexpr int kSlotFolderSuffix = 3;
constexpr int kSlotOverwriteQuestion = 6;
constexpr int kSlotOverwriteCaption = 7;
constexpr int kSlotDefaultDirectory = 10;
constexpr int kSlotNext = 30;
constexpr int kSlotInstall = 31;
constexpr int kSlotDone = 32;

constexpr int kLocaleFrench = 12;
constexpr int kLocaleEnglish = 9;

constexpr TColor kProgressBarColor = 0xFF8000;  // red 0, green 128, blue 255

const char* const kProductExecutable = "quorvane.exe";

}  // namespace

void TfInstall::FormCreate(TComponent*) {
    Translator->SetLanguage(kFrancais);
    if (LocaleLanguage == kLocaleFrench) {
        Translator->SetLanguage(kFrancais);
        rdoFrench.SetChecked(true);
    } else if (LocaleLanguage == kLocaleEnglish) {
        Translator->SetLanguage(kAnglais);
        RdoEnglish.SetChecked(true);
    }
    rdoDeny.SetChecked(true);
    ProgBarDL.PostBarColor(kProgressBarColor);
    Cancelled = false;
    Completed = false;

    ProgramsDir = platform::SpecialFolderPath(platform::SpecialFolder::Programs);
    if (!ProgramsDir.empty() && ProgramsDir.back() != '\\') ProgramsDir += '\\';
    DesktopDir = platform::SpecialFolderPath(platform::SpecialFolder::DesktopDirectory);

    // At most 260 characters, never cut inside one.
    const std::string temp = platform::TempPath();
    std::size_t length = 0;
    for (int characters = 0; characters < 260 && length < temp.size(); ++characters) platform::DecodeUtf8(temp, length);
    std::copy_n(temp.begin(), length, TempDir.begin());
    TempDir[length] = '\0';

    TxtDir.SetText(CatalogueText(kSlotDefaultDirectory));
    ShowLicenceText();
    ShowStep(true, false, false, false, false);
}

void TfInstall::ShowStep(bool s1, bool s2, bool s3, bool s4, bool s5) {
    PnlStep1.SetVisible(s1);
    PnlStep2.SetVisible(s2);
    PnlStep3.SetVisible(s3);
    PnlStep4.SetVisible(s4);
    Pnlstep5.SetVisible(s5);
    if (s2) SaveLanguageSetting(Translator->Language());
}

void TfInstall::SaveLanguageSetting(const std::string& Code) {
    // Without the right to create the product key the language is simply not kept.
    if (std::optional<platform::RegistryKey> key =
            platform::RegistryKey::Create(platform::RootKey::LocalMachine, kProductKey))
        key->WriteString("Language", Code);
}

void TfInstall::ShowLicenceText() {
    TxtDir.SetText(CatalogueText(kSlotDefaultDirectory));
    const std::string& language = Translator->Language();
    if (language == kFrancais) {
        memLicenseEntreFr.SetVisible(true);
        for (TMemo* box : {&memLicenceEn, &memLicenseDeBaseFr, &memLicenseProFr, &memLicenseDeBaseEn})
            box->SetVisible(false);
    } else if (language == kAnglais) {
        memLicenceEn.SetVisible(true);
        for (TMemo* box : {&memLicenseDeBaseFr, &memLicenseProFr, &memLicenseEntreFr, &memLicenseDeBaseEn})
            box->SetVisible(false);
    }
}

void TfInstall::rdoFrenchClick(TComponent*) {
    Translator->SetLanguage(kFrancais);
    ShowLicenceText();
}

void TfInstall::RdoEnglishClick(TComponent*) {
    Translator->SetLanguage(kAnglais);
    ShowLicenceText();
}

void TfInstall::rdoagreeClick(TComponent*) {
    btnBack.SetEnabled(true);
    BtnNext.SetEnabled(true);
    BtnNext.SetCaption(CatalogueText(kSlotNext));
}

void TfInstall::rdoDenyClick(TComponent*) {
    btnBack.SetEnabled(true);
    BtnNext.SetEnabled(false);
    BtnNext.SetCaption(CatalogueText(kSlotNext));
}

void TfInstall::TxtDirChange(TComponent*) { BtnNext.SetEnabled(!TxtDir.Text().empty()); }

void TfInstall::DirectoryChange(TComponent*) { TxtDir.SetText(Directory.Path() + CatalogueText(kSlotFolderSuffix)); }

void TfInstall::BtnNextClick(TComponent*) {
    if (PnlStep1.Visible()) {
        ShowStep(false, true, false, false, false);
        btnBack.SetEnabled(true);
        BtnNext.SetEnabled(false);
        rdoDeny.SetChecked(true);
        BtnNext.SetCaption(CatalogueText(kSlotNext));
    } else if (PnlStep2.Visible()) {
        ShowStep(false, false, true, false, false);
        btnBack.SetEnabled(true);
        BtnNext.SetEnabled(!TxtDir.Text().empty());
        BtnNext.SetCaption(CatalogueText(kSlotInstall));
    } else if (PnlStep3.Visible()) {
        if (platform::FileExists(WithTrailingBackslash(TxtDir.Text()) + kProductExecutable) &&
            platform::ShowMessageBox(CatalogueText(kSlotOverwriteQuestion), CatalogueText(kSlotOverwriteCaption),
                                     platform::MessageBoxKind::YesNoExclamation) == platform::MessageBoxAnswer::No)
            return;

        const bool backWasEnabled = btnBack.Enabled();
        const bool nextWasEnabled = BtnNext.Enabled();
        ShowStep(false, false, false, true, false);
        btnBack.SetEnabled(false);
        BtnNext.SetEnabled(false);
        if (!PrepareInstallDir()) {
            // The directory could not be made: the user is back where Next was pressed.
            ShowStep(false, false, true, false, false);
            btnBack.SetEnabled(backWasEnabled);
            BtnNext.SetEnabled(nextWasEnabled);
            return;
        }
        StartDownload();
        btnBack.SetEnabled(false);
        BtnNext.SetEnabled(true);
        BtnClose.SetEnabled(false);
        BtnNext.SetCaption(CatalogueText(kSlotDone));
        ShowStep(false, false, false, false, true);
    } else if (Pnlstep5.Visible()) {
        Close();
    }
}

void TfInstall::BtnBackClick(TComponent*) {
    if (PnlStep2.Visible()) {
        ShowStep(true, false, false, false, false);
        btnBack.SetEnabled(false);
        BtnNext.SetEnabled(true);
        BtnNext.SetCaption(CatalogueText(kSlotNext));
    }
    if (PnlStep3.Visible()) {
        ShowStep(false, true, false, false, false);
        btnBack.SetEnabled(true);
        BtnNext.SetEnabled(true);
        BtnNext.SetCaption(CatalogueText(kSlotNext));
        rdoDeny.SetChecked(true);
    }
}
