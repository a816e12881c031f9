// The two caption sets of the wizard window, applied in table order.
#include "i18n/traducteur.h"
#include "wizard/finstall.h"

namespace {

struct CaptionRow {
    TControl& Control;
    const char* English;
    const char* French;
};

void ApplyCaptions(TfInstall& w, bool english) {
    const CaptionRow rows[] = {
        {w, "Quorvane installation", "Installation de Quorvane"},
        {w.Label4, "Downloading Quorvane", "Téléchargement de Quorvane"},
        {w.Label5,
         "When you'll first start Quorvane, you will be invited to create your account on the Quorvane server",
         "Lors du premier démarrage de Quorvane, vous serez inviter à créer votre compte sur le serveur de "
         "Quorvane"},
        {w.LblStatus, "Status : Waiting", "Statut : En attente"},
        {w.Label12, "Download may take a few minutes depending of your internet connection speed",
         "Le téléchargement peut prendre quelques minutes selon la vitesse de votre connexion"},
        {w.Label6, "Quorvane path", "Emplacement de Quorvane"},
        {w.Label7,
         "Choose the directory you want Quorvane to be installed in, or press 'Next' if you are satisfied with "
         "the default path",
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
    for (const CaptionRow& row : rows) row.Control.SetCaption(english ? row.English : row.French);
}

}  // namespace

void tTranslate::SetLanguage(const std::string& Code) {
    if (Code == language_) return;
    language_ = Code;
    if (!fInstall) return;
    if (Code == kAnglais)
        ApplyCaptions(*fInstall, true);
    else if (Code == kFrancais)
        ApplyCaptions(*fInstall, false);
}
