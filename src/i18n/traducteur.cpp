#include "i18n/traducteur.h"

#include "i18n/captioned_window.h"

tTranslate* Translator = nullptr;
TCaptionedWindow* fInstall = nullptr;

namespace {

constexpr int kSlots = 34;

// French in slots 1..34, English at slot + 34; index 0 is slot 1.
const std::array<const char*, 2 * kSlots> kTexts = {
    // French
    "\\Quorvane\\DeBase\\",
    "\\Quorvane\\Professionnelle\\",
    "\\Quorvane\\Entreprise\\",
    "Impossible de créer le répertoire. Vérifier la syntaxe.",
    "Opération annulée",
    "Il existe déjà une version de Quorvane dans le répertoire sélectionné. Êtes-vous certain de vouloir la "
    "remplacer ?",
    "Répertoire non-vide",
    "C:\\Program Files\\Quorvane\\DeBase\\",
    "C:\\Program Files\\Quorvane\\Professionnelle\\",
    "C:\\Program Files\\Quorvane\\Entreprise\\",
    "Installation terminée. Désirez-vous exécuter Quorvane immédiatement ?",
    "Terminé",
    "Désirez-vous que Quorvane s'exécute automatiquement lors de chaque démarrage de Windows?",
    "Démarrage automatique",
    "Quorvane De Base.Lnk",
    "Quorvane Professionnelle.Lnk",
    "Quorvane Entreprise.Lnk",
    "Quorvane\\DeBase\\",
    "Quorvane\\Professionnelle\\",
    "Quorvane\\Entreprise\\",
    "Statut : Recherche du serveur Quorvane",
    "Serveur ou mise à jour introuvable",
    "Processus interrompu",
    "Statut : Téléchargement de ",
    "Êtes-vous certain de vouloir arrêter l'installation de Quorvane?",
    "Suspendre?",
    "Version de base",
    "Version Professionnelle",
    "Version Entreprise",
    "&Suivant",
    "&Installer",
    "Terminé",
    "Statut : Création des raccourcis",
    "Statut : Enregistrement du désinstallateur",
    // English
    "\\Quorvane\\Basic\\",
    "\\Quorvane\\Professional\\",
    "\\Quorvane\\Enterprise\\",
    "Cannot create the directory. Check the syntax.",
    "Process canceled",
    "There is already a version of Quorvane in the selected directory. Do you wish to overwrite it ?",
    "Directory not empty",
    "C:\\Program Files\\Quorvane\\Basic\\",
    "C:\\Program Files\\Quorvane\\Professional\\",
    "C:\\Program Files\\Quorvane\\Enterprise\\",
    "Installation done. Do you want to execute Quorvane immediately ?",
    "Done",
    "Do you to want execute Quorvane automatically when Windows start up ?",
    "Automatic startup",
    "Quorvane Basic.Lnk",
    "Quorvane Professional.Lnk",
    "Quorvane Enterprise.Lnk",
    "Quorvane\\Basic\\",
    "Quorvane\\Professional\\",
    "Quorvane\\Enterprise\\",
    "Status : Looking for Quorvane server",
    "Server or update not found",
    "Interrupted process",
    "Status : Downloading ",
    "Are you sure you want to cancel the installation of Quorvane?",
    "Suspend?",
    "Basic version",
    "Professional version",
    "Enterprise version",
    "&Next",
    "&Install",
    "Done",
    "Status : Creation of shortcuts",
    "Status : Registration of uninstall",
};

}  // namespace

tTranslate::tTranslate() {
    for (std::size_t i = 0; i < texts_.size(); ++i) texts_[i] = kTexts[i];
}

void tTranslate::GetText(int Slot, std::string& Text) const {
    // Callers pass only the catalogue's constants; a slot outside 1..34 leaves the text
    // as it was rather than reading past the table.
    if (Slot < 1 || Slot > kSlots) return;
    const auto index = static_cast<std::size_t>(Slot - 1);
    if (language_ == kFrancais)
        Text = texts_[index];
    else if (language_ == kAnglais)
        Text = texts_[index + kSlots];
}

void tTranslate::SetLanguage(const std::string& Code) {
    if (Code == language_) return;
    language_ = Code;
    if (!fInstall) return;
    if (Code == kAnglais)
        fInstall->ApplyCaptions(TCaptionSet::English);
    else if (Code == kFrancais)
        fInstall->ApplyCaptions(TCaptionSet::French);
}
