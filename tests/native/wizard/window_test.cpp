// The window as built: every control in creation order with its geometry, tab order and
// visibility; the stored captions and fonts; the agreement texts and the logo; the two
// caption sets.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "layout_table.h"
#include "platform/messages.h"
#include "wizard/agreements.h"
#include "wizard/logo.h"
#include "wizard_window.h"

namespace {

using namespace wizard_layout;

void Walk(TWinControl& parent, std::vector<TControl*>& out) {
    for (TControl* child : parent.Children()) {
        out.push_back(child);
        if (auto* container = dynamic_cast<TWinControl*>(child)) Walk(*container, out);
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

using WindowLayoutTest = WizardWindowTest;

TEST_F(WindowLayoutTest, EveryControlInCreationOrderWithItsGeometryTabOrderAndVisibility) {
    TfInstall& w = Construct();
    EXPECT_EQ(w.Bounds(), (TBounds{0, 0, 424, 367}));
    std::vector<TControl*> controls;
    Walk(w, controls);
    ASSERT_EQ(controls.size(), std::size(kLayout));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Layout& expected = kLayout[i];
        TControl& control = *controls[i];
        ASSERT_EQ(control.Name(), expected.Name) << "position " << i;
        EXPECT_EQ(control.Parent()->Name(), expected.Parent) << expected.Name;
        ExpectLayoutBounds(control.Bounds(), expected);
        const auto* focusable = dynamic_cast<const TWinControl*>(&control);
        EXPECT_EQ(focusable ? focusable->TabOrder() : -1, expected.TabOrder) << expected.Name;
        EXPECT_EQ(control.Visible(), expected.Visible) << expected.Name;
    }
}

TEST_F(WindowLayoutTest, StoredStatesRunNoHandler) {
    TfInstall& w = Construct();
    // rdoFrench and rdoDeny are stored checked: their handlers would set a language and
    // disable Next.
    EXPECT_EQ(catalogue.Language(), "");
    EXPECT_TRUE(w.rdoFrench.Checked());
    EXPECT_FALSE(w.RdoEnglish.Checked());
    EXPECT_TRUE(w.rdoDeny.Checked());
    EXPECT_FALSE(w.rdoagree.Checked());
    EXPECT_TRUE(w.chkStartNow.Checked());
    EXPECT_TRUE(w.ChkAutoStart.Checked());
    EXPECT_TRUE(w.BtnNext.Enabled());
    EXPECT_FALSE(w.btnBack.Enabled());
    EXPECT_TRUE(w.BtnClose.Enabled());
    EXPECT_EQ(w.TxtDir.Text(), "");
    EXPECT_EQ(w.DefaultButton(), &w.BtnNext);
    EXPECT_EQ(w.ActiveControl(), &w.BtnNext);
    EXPECT_FALSE(w.ProgBarDL.TabStop());
    EXPECT_EQ(w.ProgBarDL.Max(), 100);
    EXPECT_TRUE(w.memLicenseDeBaseEn.Rich());
    EXPECT_FALSE(w.memLicenceEn.Rich());
}

TEST_F(WindowLayoutTest, StoredCaptionsByteForByte) {
    TfInstall& w = Construct();
    const std::pair<TControl*, const char*> stored[] = {
        {&w, "Installation de Quorvane"},
        {&w.Label1, "Bienvenue à l'installation de Quorvane"},
        {&w.Label3, "Choissez votre langue d'installation :"},
        {&w.rdoFrench, "Francais"},
        {&w.Label9, "Installation de Quorvane terminé"},
        {&w.Label11, "Installation terminé avec succès"},
        {&w.Label14, "Site officiel : "},
        {&w.Label15, "Courriel : "},
        {&w.ChkAutoStart, "Exécution automatiquement lors de chaque démarrage de Windows"},
        {&w.Label5,
         "Lors du premier démarrage de Quorvane, vous seré inviter à créer votre domaine sur le "
         "serveur de Quorvane"},
        {&w.Label7,
         "Choisissez le répertoire désiré pour l'installation de Quorvane ou appuyez sur "
         "'Suivant' si l'emplacement par defaut vous conviens"},
        {&w.Label19, "License d'utilisation :"},
        {&w.rdoagree, "J'accepte"},
        {&w.LblBytes, ""},
        {&w.BtnClose, "Annuler"},
        {&w.BtnNext, "&Suivant"},
        {&w.btnBack, "&Précedent"},
    };
    for (const auto& [control, caption] : stored) EXPECT_EQ(control->Caption(), caption) << control->Name();
    EXPECT_EQ(w.Label13.Caption(), kVendorWebSite);
    EXPECT_EQ(w.Label16.Caption(), kSupportMail);
}

TEST_F(WindowLayoutTest, FontsAndLabelStyles) {
    TfInstall& w = Construct();
    const TFont title{"Times New Roman", 13, true, true, clWindowText, ANSI_CHARSET};
    const TFont subtitle{"Times New Roman", 12, false, false, clWindowText, ANSI_CHARSET};
    for (TLabel* label : {&w.Label1, &w.Label19, &w.Label6, &w.Label4, &w.Label9}) {
        EXPECT_EQ(label->Font(), title) << label->Name();
        EXPECT_TRUE(label->LabelStyle().Transparent) << label->Name();
    }
    for (TLabel* label : {&w.Label2, &w.Label20, &w.Label7, &w.Label5, &w.Label10}) {
        EXPECT_EQ(label->Font(), subtitle) << label->Name();
        EXPECT_TRUE(label->LabelStyle().WordWrap) << label->Name();
        EXPECT_FALSE(label->LabelStyle().AutoSize) << label->Name();
    }
    const TFont windowFont{};
    EXPECT_EQ(w.Font(), windowFont);
    EXPECT_EQ(w.Label3.Font(), (TFont{.Bold = true, .Underline = true}));
    EXPECT_EQ(w.Label11.Font(), (TFont{.Bold = true}));
    EXPECT_EQ(w.LblStatus.Font(), (TFont{.Color = clBlack}));
    for (TLabel* link : {&w.Label13, &w.Label16}) {
        EXPECT_EQ(link->Font(), (TFont{.Underline = true, .Color = clBlue})) << link->Name();
        EXPECT_TRUE(link->LabelStyle().HandCursor) << link->Name();
    }
    for (TControl* plain : std::initializer_list<TControl*>{&w.Label8, &w.Label12, &w.TxtDir, &w.BtnNext, &w.rdoagree})
        EXPECT_EQ(plain->Font(), windowFont) << plain->Name();
    EXPECT_FALSE(w.Label12.LabelStyle().Transparent);
    EXPECT_TRUE(w.Label14.LabelStyle().Transparent);
    EXPECT_EQ(w.Shape1.Fill(), clWhite);
}

TEST_F(WindowLayoutTest, RightAlignedLabelsKeepTheirRightEdge) {
    TfInstall& w = Start(12);
    const std::pair<TLabel*, int> edges[] = {
        {&w.LblBytes, 393}, {&w.Label12, 414}, {&w.Label14, 280}, {&w.Label15, 280}};
    for (const char* language : {"anglais", "francais"}) {
        catalogue.SetLanguage(language);
        w.LblBytes.SetCaption(std::string(language) + " 123456 / 7890123");
        for (const auto& [label, right] : edges) {
            EXPECT_EQ(label->Bounds().Right(), right) << label->Name() << " " << language;
            EXPECT_GT(label->Bounds().Width, 0) << label->Name();
        }
    }
}

TEST_F(WindowLayoutTest, TreeSelectionBeforeCreationGivesTheBareRootPath) {
    TfInstall& w = Construct();
    w.OnCreate = nullptr;
    Application.CreateForm(w);
    EXPECT_EQ(w.TxtDir.Text(), "C:\\Program Files");
    EXPECT_TRUE(w.BtnNext.Enabled());
}

TEST_F(WindowLayoutTest, AgreementTextsHaveTheirStructure) {
    const std::vector<std::string> english = Lines(EnglishAgreement());
    ASSERT_EQ(english.size(), 56u);
    EXPECT_EQ(english[0], std::string(31, ' ') + "QUORVANE");
    EXPECT_EQ(english[1].substr(0, 25), std::string(24, ' ') + "E");
    EXPECT_EQ(english.back(), "");
    EXPECT_NEAR(static_cast<double>(EnglishAgreement().size()), 2700.0, 150.0);

    const std::string& enterprise = FrenchAgreement(FrenchEdition::Enterprise);
    EXPECT_NEAR(static_cast<double>(enterprise.size()), 3180.0, 250.0);
    const std::vector<std::string> reference = Lines(enterprise);
    const struct {
        FrenchEdition Edition;
        const char* EditionName;
        const char* LastLine;
    } editions[] = {{FrenchEdition::Enterprise, "ENTREPRISE", ""},
                    {FrenchEdition::Professional, "PROFESSIONNELLE", " "},
                    {FrenchEdition::Basic, "DE BASE", " "}};
    for (const auto& edition : editions) {
        const std::vector<std::string> lines = Lines(FrenchAgreement(edition.Edition));
        ASSERT_EQ(lines.size(), 59u) << edition.EditionName;
        EXPECT_TRUE(lines[0].ends_with(std::string("QUORVANE ") + edition.EditionName)) << lines[0];
        EXPECT_EQ(lines[1].substr(0, 3), "\t\tC");
        EXPECT_EQ(lines.back(), edition.LastLine) << edition.EditionName;
        EXPECT_TRUE(std::equal(lines.begin() + 1, lines.end() - 1, reference.begin() + 1)) << edition.EditionName;
    }

    TfInstall& w = Construct();
    EXPECT_EQ(w.memLicenceEn.Text(), EnglishAgreement());
    EXPECT_EQ(w.memLicenseDeBaseEn.Text(), EnglishAgreement());
    EXPECT_EQ(w.memLicenseEntreFr.Text(), enterprise);
    EXPECT_EQ(w.memLicenseProFr.Text(), FrenchAgreement(FrenchEdition::Professional));
    EXPECT_EQ(w.memLicenseDeBaseFr.Text(), FrenchAgreement(FrenchEdition::Basic));
}

TEST_F(WindowLayoutTest, LogoIsAnUncompressedBottomUpBitmapShownByAllFiveImages) {
    const std::span<const std::uint8_t> logo = LogoBitmap();
    const std::size_t stride = 148;  // 49 * 3 padded to four bytes
    ASSERT_EQ(logo.size(), 54 + stride * 57);
    EXPECT_EQ(logo[0], 'B');
    EXPECT_EQ(logo[1], 'M');
    EXPECT_EQ(Read32(logo, 2), logo.size());
    EXPECT_EQ(Read32(logo, 10), 54u);
    EXPECT_EQ(Read32(logo, 14), 40u);
    EXPECT_EQ(Read32(logo, 18), 49u);
    EXPECT_EQ(Read32(logo, 22), 57u);  // positive height: bottom-up
    EXPECT_EQ(Read32(logo, 26), 1u | 24u << 16);
    EXPECT_EQ(Read32(logo, 30), 0u);
    EXPECT_EQ(Read32(logo, 38), 2835u);
    EXPECT_EQ(Read32(logo, 42), 2835u);
    // A picture, not a blank: more than one colour.
    const auto pixels = logo.subspan(54);
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), pixels[0]), static_cast<std::ptrdiff_t>(pixels.size()));

    TfInstall& w = Construct();
    for (TImage* image : {&w.Image1, &w.Image2, &w.Image3, &w.Image4, &w.Image5})
        EXPECT_EQ(image->Bitmap().data(), logo.data()) << image->Name();
}

struct CaptionRow {
    TControl& Control;
    const char* English;
    const char* French;
};

std::vector<CaptionRow> CaptionSets(TfInstall& w) {
    return {
        {w, "Quorvane installation", "Installation de Quorvane"},
        {w.Label4, "Downloading Quorvane", "Téléchargement de Quorvane"},
        {w.Label5,
         "When you'll first start Quorvane, you will be invited to create your account on the Quorvane server",
         "Lors du premier démarrage de Quorvane, vous serez inviter à créer votre compte sur le serveur de Quorvane"},
        {w.LblStatus, "Status : Waiting", "Statut : En attente"},
        {w.Label12, "Download may take a few minutes depending of your internet connection speed",
         "Le téléchargement peut prendre quelques minutes selon la vitesse de votre connexion"},
        {w.Label6, "Quorvane path", "Emplacement de Quorvane"},
        {w.Label7,
         "Choose the directory you want Quorvane to be installed in, or press 'Next' if you are satisfied with the "
         "default path",
         "Choisissez le répertoire désiré pour l'installation de Quorvane ou appuyez sur 'Suivant' si "
         "l'emplacement par défaut vous convient"},
        {w.Label8, "Path", "Emplacement :"},
        {w.Label19, "Usage license : ", "License d' utilisation: "},
        {w.Label20, "Please read carefully these general conditions before using this product",
         "Veuillez lire attentivement ces conditions générales avant d' utiliser ce logiciel"},
        {w.rdoagree, "I agree", "J' accepte"},
        {w.rdoDeny, "I disagree", "Je refuse"},
        {w.Label1, "Welcome to the installation of Quorvane", "Bienvenue à l' installation de Quorvane"},
        {w.Label2, "Please follow these simple steps to install Quorvane on your system",
         "Nous vous invitons à suivre ces quelques étapes afin d' installer Quorvane sur votre système"},
        {w.Label3, "Choose your language for the installation: ", "Choisissez votre langue d' installation: "},
        {w.rdoFrench, "Français", "Français"},
        {w.RdoEnglish, "English", "English"},
        {w.Label9, "Installation of Quorvane done", "Installation de Quorvane terminée"},
        {w.Label10, "We appreciate your trust towards Quorvane", "Nous vous remercions de faire confiance à Quorvane"},
        {w.Label11, "Installation done successfully", "Installation terminée avec succès"},
        {w.Label14, "Offical web site : ", "Site officiel : "},
        {w.Label13, kVendorWebSite, kVendorWebSite},
        {w.Label15, "Email : ", "Courriel : "},
        {w.Label16, kSupportMail, kSupportMail},
        {w.chkStartNow, "Launch Quorvane immediately", "Démarrer Quorvane immédiatement"},
        {w.ChkAutoStart, "Start automatically with Windows",
         "Exécution automatique lors de chaque démarrage de Windows"},
        {w.BtnClose, "Cancel", "Annuler"},
        {w.BtnNext, "&Next", "&Suivant"},
        {w.btnBack, "&Back", "&Précédent"},
    };
}

using CaptionSetTest = WizardWindowTest;

TEST_F(CaptionSetTest, FrenchSetReplacesTheStoredCaptionsAtCreationThenEnglishOnSwitch) {
    TfInstall& w = Start(7);
    for (const CaptionRow& row : CaptionSets(w)) EXPECT_EQ(row.Control.Caption(), row.French) << row.Control.Name();
    w.RdoEnglish.Click();
    for (const CaptionRow& row : CaptionSets(w)) EXPECT_EQ(row.Control.Caption(), row.English) << row.Control.Name();
    w.rdoFrench.Click();
    for (const CaptionRow& row : CaptionSets(w)) EXPECT_EQ(row.Control.Caption(), row.French) << row.Control.Name();
}

TEST_F(CaptionSetTest, TheLanguageInForceOrAnUnknownCodeChangesNoCaption) {
    TfInstall& w = Start(9);
    w.Label1.SetCaption("changed");
    w.RdoEnglish.Click();
    catalogue.SetLanguage("anglais");
    EXPECT_EQ(w.Label1.Caption(), "changed");

    catalogue.SetLanguage("deutsch");
    EXPECT_EQ(catalogue.Language(), "deutsch");
    EXPECT_EQ(w.Label1.Caption(), "changed");
    EXPECT_EQ(w.BtnClose.Caption(), "Cancel");
    std::string text = "kept";
    catalogue.GetText(30, text);
    EXPECT_EQ(text, "kept");
}

}  // namespace
