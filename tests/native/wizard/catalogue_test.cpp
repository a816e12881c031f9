// The catalogue: every slot byte for byte in both languages (UTF-8), and the output left
// alone while no known language is in force.
#include <gtest/gtest.h>

#include <string>

#include "i18n/traducteur.h"
#include "platform/unicode.h"

namespace {

struct Slot {
    int Number;
    const char* French;
    const char* English;
};

const Slot kSlots[] = {
    {1, "\\Quorvane\\DeBase\\", "\\Quorvane\\Basic\\"},
    {2, "\\Quorvane\\Professionnelle\\", "\\Quorvane\\Professional\\"},
    {3, "\\Quorvane\\Entreprise\\", "\\Quorvane\\Enterprise\\"},
    {4, "Impossible de créer le répertoire. Vérifier la syntaxe.", "Cannot create the directory. Check the syntax."},
    {5, "Opération annulée", "Process canceled"},
    {6,
     "Il existe déjà une version de Quorvane dans le répertoire sélectionné. Êtes-vous certain de "
     "vouloir la remplacer ?",
     "There is already a version of Quorvane in the selected directory. Do you wish to overwrite it ?"},
    {7, "Répertoire non-vide", "Directory not empty"},
    {8, "C:\\Program Files\\Quorvane\\DeBase\\", "C:\\Program Files\\Quorvane\\Basic\\"},
    {9, "C:\\Program Files\\Quorvane\\Professionnelle\\", "C:\\Program Files\\Quorvane\\Professional\\"},
    {10, "C:\\Program Files\\Quorvane\\Entreprise\\", "C:\\Program Files\\Quorvane\\Enterprise\\"},
    {11, "Installation terminée. Désirez-vous exécuter Quorvane immédiatement ?",
     "Installation done. Do you want to execute Quorvane immediately ?"},
    {12, "Terminé", "Done"},
    {13, "Désirez-vous que Quorvane s'exécute automatiquement lors de chaque démarrage de Windows?",
     "Do you to want execute Quorvane automatically when Windows start up ?"},
    {14, "Démarrage automatique", "Automatic startup"},
    {15, "Quorvane De Base.Lnk", "Quorvane Basic.Lnk"},
    {16, "Quorvane Professionnelle.Lnk", "Quorvane Professional.Lnk"},
    {17, "Quorvane Entreprise.Lnk", "Quorvane Enterprise.Lnk"},
    {18, "Quorvane\\DeBase\\", "Quorvane\\Basic\\"},
    {19, "Quorvane\\Professionnelle\\", "Quorvane\\Professional\\"},
    {20, "Quorvane\\Entreprise\\", "Quorvane\\Enterprise\\"},
    {21, "Statut : Recherche du serveur Quorvane", "Status : Looking for Quorvane server"},
    {22, "Serveur ou mise à jour introuvable", "Server or update not found"},
    {23, "Processus interrompu", "Interrupted process"},
    {24, "Statut : Téléchargement de ", "Status : Downloading "},
    {25, "Êtes-vous certain de vouloir arrêter l'installation de Quorvane?",
     "Are you sure you want to cancel the installation of Quorvane?"},
    {26, "Suspendre?", "Suspend?"},
    {27, "Version de base", "Basic version"},
    {28, "Version Professionnelle", "Professional version"},
    {29, "Version Entreprise", "Enterprise version"},
    {30, "&Suivant", "&Next"},
    {31, "&Installer", "&Install"},
    {32, "Terminé", "Done"},
    {33, "Statut : Création des raccourcis", "Status : Creation of shortcuts"},
    {34, "Statut : Enregistrement du désinstallateur", "Status : Registration of uninstall"},
};

std::string Text(const tTranslate& catalogue, int slot) {
    std::string text = "untouched";
    catalogue.GetText(slot, text);
    return text;
}

// tTranslate::SetLanguage re-captions the window it can reach; there is none here.
class CatalogueTest : public ::testing::Test {
protected:
    tTranslate catalogue;
};

// Also keeps slots 12 and 32 apart: the same text, two slots.
TEST_F(CatalogueTest, EverySlotHoldsItsTextInBothLanguages) {
    catalogue.SetLanguage("francais");
    for (const Slot& slot : kSlots) EXPECT_EQ(Text(catalogue, slot.Number), slot.French) << "slot " << slot.Number;
    catalogue.SetLanguage("anglais");
    for (const Slot& slot : kSlots) EXPECT_EQ(Text(catalogue, slot.Number), slot.English) << "slot " << slot.Number;
}

// The texts reach the system as UTF-16 converted from UTF-8: a code page byte would turn
// into U+FFFD on every window.
TEST_F(CatalogueTest, AccentsAreUtf8AndTheStatusPrefixKeepsItsSpace) {
    for (const char* language : {"francais", "anglais"}) {
        catalogue.SetLanguage(language);
        for (const Slot& slot : kSlots)
            EXPECT_TRUE(platform::IsValidUtf8(Text(catalogue, slot.Number))) << language << " slot " << slot.Number;
    }
    catalogue.SetLanguage("francais");
    EXPECT_EQ(Text(catalogue, 12), std::string("Termin\xC3\xA9"));
    EXPECT_TRUE(Text(catalogue, 25).starts_with("\xC3\x8A"));  // Ê
    EXPECT_EQ(Text(catalogue, 24).back(), ' ');
    catalogue.SetLanguage("anglais");
    EXPECT_EQ(Text(catalogue, 24) + "quorvane.exe", "Status : Downloading quorvane.exe");
}

TEST_F(CatalogueTest, OutputUntouchedUntilAKnownLanguageIsInForce) {
    EXPECT_EQ(catalogue.Language(), "");
    EXPECT_EQ(Text(catalogue, 10), "untouched");
    for (const char* code : {"Francais", "english", "ANGLAIS", "français", "francais "}) {
        catalogue.SetLanguage(code);
        EXPECT_EQ(catalogue.Language(), code);
        EXPECT_EQ(Text(catalogue, 10), "untouched") << code;
    }
}

TEST_F(CatalogueTest, SlotOutsideTheTableLeavesTheOutput) {
    catalogue.SetLanguage("anglais");
    for (int slot : {0, -1, 35, 68, 1000}) EXPECT_EQ(Text(catalogue, slot), "untouched") << slot;
}

}  // namespace
