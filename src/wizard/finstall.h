#pragma once
// The wizard window: five stacked pages and the bottom bar. Controls are declared in
// creation order, each page's header first; construction order is creation order.
#include <array>
#include <memory>
#include <string>

#include "i18n/captioned_window.h"
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/checkbox.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/memo.h"
#include "ui/panel.h"
#include "ui/progressbar.h"
#include "ui/radiobutton.h"
#include "ui/shape.h"
#include "ui/shelltreeview.h"
#include "ui/speedbutton.h"

class TNMHTTP;

class TfInstall : public TForm, public TCaptionedWindow {
public:
    TfInstall();
    ~TfInstall() override;

    // Page 1: language.
    TPanel PnlStep1;
    TShape Shape1;
    TBevel Bevel2;
    TLabel Label1;
    TLabel Label2;
    TImage Image2;
    TLabel Label3;
    TRadioButton rdoFrench;
    TRadioButton RdoEnglish;

    // Page 5: finish.
    TPanel Pnlstep5;
    TShape Shape5;
    TBevel Bevel5;
    TLabel Label9;
    TLabel Label10;
    TImage Image5;
    TLabel Label11;
    TLabel Label14;
    TLabel Label13;
    TLabel Label15;
    TLabel Label16;
    TCheckBox chkStartNow;
    TCheckBox ChkAutoStart;

    // Page 4: download.
    TPanel PnlStep4;
    TShape Shape2;
    TBevel Bevel3;
    TLabel Label4;
    TLabel Label5;
    TImage Image3;
    TLabel LblStatus;
    TLabel LblBytes;
    TLabel LblFN;
    TLabel Label12;
    TProgressBar ProgBarDL;

    // Page 3: installation directory.
    TPanel PnlStep3;
    TShape Shape3;
    TBevel Bevel4;
    TLabel Label6;
    TLabel Label7;
    TImage Image4;
    TLabel Label8;
    TEdit TxtDir;
    TShellTreeView Directory;

    // Page 2: licence agreement.
    TPanel PnlStep2;
    TShape Shape4;
    TBevel Bevel1;
    TLabel Label19;
    TLabel Label20;
    TImage Image1;
    TMemo memLicenceEn;
    TRadioButton rdoagree;
    TRadioButton rdoDeny;
    TMemo memLicenseEntreFr;
    TMemo memLicenseProFr;
    TMemo memLicenseDeBaseFr;
    TMemo memLicenseDeBaseEn;

    // Bottom bar.
    TPanel PnlBottom;
    TSpeedButton BtnClose;
    TButton BtnNext;
    TButton btnBack;

    // Given by whoever creates the window, before FormCreate: the primary language of the
    // thread's locale, and the vendor's web server ("name" or "name:port").
    int LocaleLanguage = 0;
    std::string DownloadHost;

    // The window's own fields.
    std::unique_ptr<TNMHTTP> Http;
    std::string CurrentFileName;
    // 260 characters and the terminating zero; in UTF-8 a character takes up to 4 bytes.
    std::array<char, 4 * 260 + 1> TempDir{};
    bool Cancelled = false;
    bool Completed = false;
    std::string InstallDir;
    std::string DesktopDir;
    std::string ProgramsDir;

    // The caption set of a language (the catalogue's SetLanguage applies it).
    void ApplyCaptions(TCaptionSet set) override;

    // Creation and closing.
    void FormCreate(TComponent* Sender);
    void FormClose(TComponent* Sender);

    // Navigation.
    void ShowStep(bool s1, bool s2, bool s3, bool s4, bool s5);
    void SaveLanguageSetting(const std::string& Code);
    void ShowLicenceText();
    void rdoFrenchClick(TComponent* Sender);
    void RdoEnglishClick(TComponent* Sender);
    void rdoagreeClick(TComponent* Sender);
    void rdoDenyClick(TComponent* Sender);
    void TxtDirChange(TComponent* Sender);
    void DirectoryChange(TComponent* Sender);
    void BtnNextClick(TComponent* Sender);
    void BtnBackClick(TComponent* Sender);

    // Download stage.
    void StartDownload();
    void GetShowingTheEnd(const std::string& url);
    void BitBtn2Click(TComponent* Sender);
    void HttpAboutToSend();
    void HttpConnect();
    void HttpPacketRecvd();
    void HttpInvalidHost(bool& Handled);

    // Placement and registration.
    // False when the directory could not be made after both attempts: nothing may start.
    bool PrepareInstallDir();
    bool EnsureDirectory();
    void InstallFiles();
    void SaveInstallPath();
    void CreateStartMenuShortcuts();
    void CreateShortcut(const std::string& Target, const std::string& Arguments, const std::string& WorkingDir,
                        const std::string& LinkFileName, const std::string& Folder);
    void RegisterUninstall();
    void RegisterAutoStart();
    void Label13Click(TComponent* Sender);
    void Label16Click(TComponent* Sender);
};

// The vendor's addresses: shown on page 5 and opened by its two links.
inline constexpr const char* kVendorWebSite = "http://www.quorvane.com";
inline constexpr const char* kSupportMail = "support@quorvane.com";
