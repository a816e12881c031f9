#include "wizard/finstall.h"

#include <functional>

#include "net/nmhttp.h"
#include "wizard/agreements.h"
#include "wizard/logo.h"

namespace {

// The page header, the same on every page but for the subtitle width of page 3.
constexpr TBounds kPage{0, 0, 424, 337};
constexpr TBounds kBand{1, 1, 422, 65};
constexpr TBounds kSeparator{0, 66, 483, 2};
constexpr TBounds kTitle{8, 8, 0, 13};
constexpr TBounds Subtitle(int width) { return {20, 25, width, 32}; }
constexpr TBounds kLogo{366, 3, 49, 57};
constexpr TBounds kAgreementBox{15, 96, 394, 193};

// Auto-sized labels start with no width; their caption sizes them.
constexpr TBounds AutoLabel(int left, int top) { return {left, top, 0, 13}; }

constexpr TLabel::Style kTitleStyle{.Transparent = true};
constexpr TLabel::Style kSubtitleStyle{.AutoSize = false, .WordWrap = true, .Transparent = true};
constexpr TLabel::Style kOpaque{};
constexpr TLabel::Style kRightOpaque{.Alignment = TAlignment::RightJustify};
constexpr TLabel::Style kRightTransparent{.Alignment = TAlignment::RightJustify, .Transparent = true};
constexpr TLabel::Style kLink{.Transparent = true, .HandCursor = true};

const TFont kWindowFont{};
const TFont kTitleFont{
    .Name = "Times New Roman", .Height = 13, .Bold = true, .Underline = true, .Charset = ANSI_CHARSET};
const TFont kSubtitleFont{.Name = "Times New Roman", .Height = 12, .Charset = ANSI_CHARSET};
const TFont kBoldUnderlinedFont{.Bold = true, .Underline = true};
const TFont kBoldFont{.Bold = true};
const TFont kBlackFont{.Color = clBlack};
const TFont kLinkFont{.Underline = true, .Color = clBlue};

struct StoredCaption {
    TControl& Control;
    const char* Caption;
    const TFont& Font;
};

struct StoredTabOrder {
    TWinControl& Control;
    int Order;
};

}  // namespace

TfInstall::TfInstall()
    : TForm("fInstall", 424, 367),
      PnlStep1(this, "PnlStep1", kPage),
      Shape1(&PnlStep1, "Shape1", kBand, clWhite),
      Bevel2(&PnlStep1, "Bevel2", kSeparator),
      Label1(&PnlStep1, "Label1", kTitle, kTitleStyle),
      Label2(&PnlStep1, "Label2", Subtitle(312), kSubtitleStyle),
      Image2(&PnlStep1, "Image2", kLogo, LogoBitmap()),
      Label3(&PnlStep1, "Label3", AutoLabel(24, 152), kOpaque),
      rdoFrench(&PnlStep1, "rdoFrench", {40, 176, 81, 17}),
      RdoEnglish(&PnlStep1, "RdoEnglish", {40, 200, 73, 17}),

      Pnlstep5(this, "Pnlstep5", kPage),
      Shape5(&Pnlstep5, "Shape5", kBand, clWhite),
      Bevel5(&Pnlstep5, "Bevel5", kSeparator),
      Label9(&Pnlstep5, "Label9", kTitle, kTitleStyle),
      Label10(&Pnlstep5, "Label10", Subtitle(312), kSubtitleStyle),
      Image5(&Pnlstep5, "Image5", kLogo, LogoBitmap()),
      Label11(&Pnlstep5, "Label11", AutoLabel(24, 128), kOpaque),
      Label14(&Pnlstep5, "Label14", {220, 288, 60, 13}, kRightTransparent),
      Label13(&Pnlstep5, "Label13", AutoLabel(282, 288), kLink),
      Label15(&Pnlstep5, "Label15", {236, 312, 44, 13}, kRightTransparent),
      Label16(&Pnlstep5, "Label16", AutoLabel(282, 312), kLink),
      chkStartNow(&Pnlstep5, "chkStartNow", {48, 160, 249, 17}),
      ChkAutoStart(&Pnlstep5, "ChkAutoStart", {48, 184, 369, 17}),

      PnlStep4(this, "PnlStep4", kPage),
      Shape2(&PnlStep4, "Shape2", kBand, clWhite),
      Bevel3(&PnlStep4, "Bevel3", kSeparator),
      Label4(&PnlStep4, "Label4", kTitle, kTitleStyle),
      Label5(&PnlStep4, "Label5", Subtitle(312), kSubtitleStyle),
      Image3(&PnlStep4, "Image3", kLogo, LogoBitmap()),
      LblStatus(&PnlStep4, "LblStatus", AutoLabel(16, 163), kOpaque),
      LblBytes(&PnlStep4, "LblBytes", {390, 208, 3, 13}, kRightOpaque),
      LblFN(&PnlStep4, "LblFN", AutoLabel(19, 208), kOpaque),
      Label12(&PnlStep4, "Label12", {9, 312, 405, 13}, kRightOpaque),
      ProgBarDL(&PnlStep4, "ProgBarDL", {14, 180, 398, 16}),

      PnlStep3(this, "PnlStep3", kPage),
      Shape3(&PnlStep3, "Shape3", kBand, clWhite),
      Bevel4(&PnlStep3, "Bevel4", kSeparator),
      Label6(&PnlStep3, "Label6", kTitle, kTitleStyle),
      Label7(&PnlStep3, "Label7", Subtitle(342), kSubtitleStyle),
      Image4(&PnlStep3, "Image4", kLogo, LogoBitmap()),
      Label8(&PnlStep3, "Label8", AutoLabel(16, 80), kOpaque),
      TxtDir(&PnlStep3, "TxtDir", {16, 96, 393, 21}),
      Directory(&PnlStep3, "Directory", {16, 123, 393, 201}, "C:\\Program Files"),

      PnlStep2(this, "PnlStep2", kPage),
      Shape4(&PnlStep2, "Shape4", kBand, clWhite),
      Bevel1(&PnlStep2, "Bevel1", kSeparator),
      Label19(&PnlStep2, "Label19", kTitle, kTitleStyle),
      Label20(&PnlStep2, "Label20", Subtitle(312), kSubtitleStyle),
      Image1(&PnlStep2, "Image1", kLogo, LogoBitmap()),
      memLicenceEn(&PnlStep2, "memLicenceEn", kAgreementBox),
      rdoagree(&PnlStep2, "rdoagree", {126, 304, 78, 17}),
      rdoDeny(&PnlStep2, "rdoDeny", {222, 304, 78, 17}),
      memLicenseEntreFr(&PnlStep2, "memLicenseEntreFr", kAgreementBox),
      memLicenseProFr(&PnlStep2, "memLicenseProFr", kAgreementBox),
      memLicenseDeBaseFr(&PnlStep2, "memLicenseDeBaseFr", kAgreementBox),
      memLicenseDeBaseEn(&PnlStep2, "memLicenseDeBaseEn", kAgreementBox, true),

      PnlBottom(this, "PnlBottom", {0, 337, 424, 32}),
      BtnClose(&PnlBottom, "BtnClose", {317, 5, 93, 22}),
      BtnNext(&PnlBottom, "BtnNext", {200, 5, 93, 22}),
      btnBack(&PnlBottom, "btnBack", {96, 5, 93, 22}) {
    const StoredCaption captions[] = {
        {*this, "Installation de Quorvane", kWindowFont},
        {Label1, "Bienvenue à l'installation de Quorvane", kTitleFont},
        {Label2, "Nous vous invitons à suivre ces quelques étapes afin d'installer Quorvane sur votre système",
         kSubtitleFont},
        {Label3, "Choissez votre langue d'installation :", kBoldUnderlinedFont},
        {rdoFrench, "Francais", kWindowFont},
        {RdoEnglish, "English", kWindowFont},
        {Label9, "Installation de Quorvane terminé", kTitleFont},
        {Label10, "Nous vous remercions de faire confiance à Quorvane", kSubtitleFont},
        {Label11, "Installation terminé avec succès", kBoldFont},
        {Label14, "Site officiel : ", kWindowFont},
        {Label13, kVendorWebSite, kLinkFont},
        {Label15, "Courriel : ", kWindowFont},
        {Label16, kSupportMail, kLinkFont},
        {chkStartNow, "Démarrer Quorvane immédiatement", kWindowFont},
        {ChkAutoStart, "Exécution automatiquement lors de chaque démarrage de Windows", kWindowFont},
        {Label4, "Téléchargement de Quorvane", kTitleFont},
        {Label5,
         "Lors du premier démarrage de Quorvane, vous seré inviter à créer votre domaine sur le serveur de "
         "Quorvane",
         kSubtitleFont},
        {LblStatus, "Statut : En attente", kBlackFont},
        {Label12, "Le téléchargement peut prendre quelques minutes selon la vitesse de votre connexion", kWindowFont},
        {Label6, "Emplacement de Quorvane", kTitleFont},
        {Label7,
         "Choisissez le répertoire désiré pour l'installation de Quorvane ou appuyez sur 'Suivant' si "
         "l'emplacement par defaut vous conviens",
         kSubtitleFont},
        {Label8, "Emplacement :", kWindowFont},
        {Label19, "License d'utilisation :", kTitleFont},
        {Label20, "Veuillez lire attentivement ces conditions générales avant d'utiliser ce logiciel", kSubtitleFont},
        {rdoagree, "J'accepte", kWindowFont},
        {rdoDeny, "Je refuse", kWindowFont},
        {BtnClose, "Annuler", kWindowFont},
        {BtnNext, "&Suivant", kWindowFont},
        {btnBack, "&Précedent", kWindowFont},
    };
    for (const StoredCaption& stored : captions) {
        stored.Control.SetFont(stored.Font);
        stored.Control.SetCaption(stored.Caption);
    }

    memLicenceEn.SetText(EnglishAgreement());
    memLicenseEntreFr.SetText(FrenchAgreement(FrenchEdition::Enterprise));
    memLicenseProFr.SetText(FrenchAgreement(FrenchEdition::Professional));
    memLicenseDeBaseFr.SetText(FrenchAgreement(FrenchEdition::Basic));
    memLicenseDeBaseEn.SetText(EnglishAgreement());

    const StoredTabOrder tabOrders[] = {
        {PnlStep2, 0},          {PnlBottom, 1},       {PnlStep1, 2},           {PnlStep4, 3},
        {PnlStep3, 4},          {Pnlstep5, 5},        {rdoFrench, 0},          {RdoEnglish, 1},
        {chkStartNow, 0},       {ChkAutoStart, 1},    {ProgBarDL, 0},          {TxtDir, 0},
        {Directory, 1},         {memLicenceEn, 0},    {rdoagree, 1},           {rdoDeny, 2},
        {memLicenseEntreFr, 3}, {memLicenseProFr, 4}, {memLicenseDeBaseFr, 5}, {memLicenseDeBaseEn, 6},
        {BtnNext, 0},           {btnBack, 1},
    };
    for (const StoredTabOrder& stored : tabOrders) stored.Control.SetTabOrder(stored.Order);
    // They change at every received block.
    for (TControl* progress : std::initializer_list<TControl*>{&ProgBarDL, &LblBytes, &LblFN})
        progress->SetCoalescedUpdates(true);

    for (TPanel* hidden : {&Pnlstep5, &PnlStep4, &PnlStep3, &PnlStep2}) hidden->SetVisible(false);
    memLicenceEn.SetVisible(false);
    rdoFrench.SetChecked(true);
    rdoDeny.SetChecked(true);
    chkStartNow.SetChecked(true);
    ChkAutoStart.SetChecked(true);
    btnBack.SetEnabled(false);
    SetDefaultButton(&BtnNext);
    SetActiveControl(&BtnNext);

    // Handlers come last, so none runs for a stored state.
    OnCreate = std::bind_front(&TfInstall::FormCreate, this);
    OnClose = std::bind_front(&TfInstall::FormClose, this);
    rdoFrench.OnClick = std::bind_front(&TfInstall::rdoFrenchClick, this);
    RdoEnglish.OnClick = std::bind_front(&TfInstall::RdoEnglishClick, this);
    rdoagree.OnClick = std::bind_front(&TfInstall::rdoagreeClick, this);
    rdoDeny.OnClick = std::bind_front(&TfInstall::rdoDenyClick, this);
    TxtDir.OnChange = std::bind_front(&TfInstall::TxtDirChange, this);
    Directory.OnChange = std::bind_front(&TfInstall::DirectoryChange, this);
    BtnNext.OnClick = std::bind_front(&TfInstall::BtnNextClick, this);
    btnBack.OnClick = std::bind_front(&TfInstall::BtnBackClick, this);
    BtnClose.OnClick = std::bind_front(&TfInstall::BitBtn2Click, this);
    Label13.OnClick = std::bind_front(&TfInstall::Label13Click, this);
    Label16.OnClick = std::bind_front(&TfInstall::Label16Click, this);
}

TfInstall::~TfInstall() = default;
