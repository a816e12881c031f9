// The two caption sets of the wizard window, applied in table order.
#include "wizard/finstall.h"

namespace {

struct CaptionRow {
    TControl& Control;
    const char* English;
    const char* French;
};

}  // namespace

void TfInstall::ApplyCaptions(TCaptionSet set) {
    const bool english = set == TCaptionSet::English;
    const CaptionRow rows[] = {
        {*this, "Quorvane installation", "Installation de Quorvane"},
        {Label4, "Downloading Quorvane", "Téléchargement de Quorvane"},
        {Label5, "When you'll first start Quorvane, you will be invited to create your account on the Quorvane server",
         "Lors du premier démarrage de Quorvane, vous serez inviter à créer votre compte sur le serveur de "
         "Quorvane"},
        {LblStatus, "Status : Waiting", "Statut : En attente"},
        {Label12, "Download may take a few minutes depending of your internet connection speed",
         "Le téléchargement peut prendre quelques minutes selon la vitesse de votre connexion"},
        {Label6, "Quorvane path", "Emplacement de Quorvane"},
        {Label7,
         "Choose the directory you want Quorvane to be installed in, or press 'Next' if you are satisfied with "
         "the default path",
         "Choisissez le répertoire désiré pour l'installation de Quorvane ou appuyez sur 'Suivant' si "
         "l'emplacement par défaut vous convient"},
        {Label8, "Path", "Emplacement :"},
        {Label19, "Usage license : ", "License d' utilisation: "},
        {Label20, "Please read carefully these general conditions before using this product",
         "Veuillez lire attentivement ces conditions générales avant d' utiliser ce logiciel"},
        {rdoagree, "I agree", "J' accepte"},
        {rdoDeny, "I disagree", "Je refuse"},
        {Label1, "Welcome to the installation of Quorvane", "Bienvenue à l' installation de Quorvane"},
        {Label2, "Please follow these simple steps to install Quorvane on your system",
         "Nous vous invitons à suivre ces quelques étapes afin d' installer Quorvane sur votre système"},
        {Label3, "Choose your language for the installation: ", "Choisissez votre langue d' installation: "},
        {rdoFrench, "Français", "Français"},
        {RdoEnglish, "English", "English"},
        {Label9, "Installation of Quorvane done", "Installation de Quorvane terminée"},
        {Label10, "We appreciate your trust towards Quorvane", "Nous vous remercions de faire confiance à Quorvane"},
        {Label11, "Installation done successfully", "Installation terminée avec succès"},
        {Label14, "Offical web site : ", "Site officiel : "},
        {Label13, kVendorWebSite, kVendorWebSite},
        {Label15, "Email : ", "Courriel : "},
        {Label16, kSupportMail, kSupportMail},
        {chkStartNow, "Launch Quorvane immediately", "Démarrer Quorvane immédiatement"},
        {ChkAutoStart, "Start automatically with Windows", "Exécution automatique lors de chaque démarrage de Windows"},
        {BtnClose, "Cancel", "Annuler"},
        {BtnNext, "&Next", "&Suivant"},
        {btnBack, "&Back", "&Précédent"},
    };
    for (const CaptionRow& row : rows) row.Control.SetCaption(english ? row.English : row.French);
}
