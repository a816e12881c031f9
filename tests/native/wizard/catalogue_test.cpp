// The catalogue: every slot byte for byte in both languages (accents written as code page
// 1252 bytes, independently of the compiler's charset), and the output left alone while no
// known language is in force.
#include <gtest/gtest.h>

#include <string>

#include "i18n/traducteur.h"

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
    {4,
     "Impossible de cr\xE9"
     "er le r\xE9pertoire. V\xE9rifier la syntaxe.",
     "Cannot create the directory. Check the syntax."},
    {5,
     "Op\xE9ration annul\xE9"
     "e",
     "Process canceled"},
    {6,
     "Il existe d\xE9j\xE0 une version de Quorvane dans le r\xE9pertoire s\xE9lectionn\xE9. \xCAtes-vous certain de "
     "vouloir la remplacer ?",
     "There is already a version of Quorvane in the selected directory. Do you wish to overwrite it ?"},
    {7, "R\xE9pertoire non-vide", "Directory not empty"},
    {8, "C:\\Program Files\\Quorvane\\DeBase\\", "C:\\Program Files\\Quorvane\\Basic\\"},
    {9, "C:\\Program Files\\Quorvane\\Professionnelle\\", "C:\\Program Files\\Quorvane\\Professional\\"},
    {10, "C:\\Program Files\\Quorvane\\Entreprise\\", "C:\\Program Files\\Quorvane\\Enterprise\\"},
    {11,
     "Installation termin\xE9"
     "e. D\xE9sirez-vous ex\xE9"
     "cuter Quorvane imm\xE9"
     "diatement ?",
     "Installation done. Do you want to execute Quorvane immediately ?"},
    {12, "Termin\xE9", "Done"},
    {13,
     "D\xE9sirez-vous que Quorvane s'ex\xE9"
     "cute automatiquement lors de chaque d\xE9marrage de Windows?",
     "Do you to want execute Quorvane automatically when Windows start up ?"},
    {14, "D\xE9marrage automatique", "Automatic startup"},
    {15, "Quorvane De Base.Lnk", "Quorvane Basic.Lnk"},
    {16, "Quorvane Professionnelle.Lnk", "Quorvane Professional.Lnk"},
    {17, "Quorvane Entreprise.Lnk", "Quorvane Enterprise.Lnk"},
    {18, "Quorvane\\DeBase\\", "Quorvane\\Basic\\"},
    {19, "Quorvane\\Professionnelle\\", "Quorvane\\Professional\\"},
    {20, "Quorvane\\Entreprise\\", "Quorvane\\Enterprise\\"},
    {21, "Statut : Recherche du serveur Quorvane", "Status : Looking for Quorvane server"},
    {22, "Serveur ou mise \xE0 jour introuvable", "Server or update not found"},
    {23, "Processus interrompu", "Interrupted process"},
    {24,
     "Statut : T\xE9l\xE9"
     "chargement de ",
     "Status : Downloading "},
    {25, "\xCAtes-vous certain de vouloir arr\xEAter l'installation de Quorvane?",
     "Are you sure you want to cancel the installation of Quorvane?"},
    {26, "Suspendre?", "Suspend?"},
    {27, "Version de base", "Basic version"},
    {28, "Version Professionnelle", "Professional version"},
    {29, "Version Entreprise", "Enterprise version"},
    {30, "&Suivant", "&Next"},
    {31, "&Installer", "&Install"},
    {32, "Termin\xE9", "Done"},
    {33,
     "Statut : Cr\xE9"
     "ation des raccourcis",
     "Status : Creation of shortcuts"},
    {34, "Statut : Enregistrement du d\xE9sinstallateur", "Status : Registration of uninstall"},
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

TEST_F(CatalogueTest, AccentsAreSingleBytesAndTheStatusPrefixKeepsItsSpace) {
    catalogue.SetLanguage("francais");
    EXPECT_EQ(Text(catalogue, 12), std::string("Termin\xE9"));
    EXPECT_EQ(Text(catalogue, 12).size(), 7u);
    EXPECT_EQ(Text(catalogue, 25).front(), '\xCA');
    EXPECT_EQ(Text(catalogue, 24).back(), ' ');
    catalogue.SetLanguage("anglais");
    EXPECT_EQ(Text(catalogue, 24) + "quorvane.exe", "Status : Downloading quorvane.exe");
}

TEST_F(CatalogueTest, OutputUntouchedUntilAKnownLanguageIsInForce) {
    EXPECT_EQ(catalogue.Language(), "");
    EXPECT_EQ(Text(catalogue, 10), "untouched");
    for (const char* code : {"Francais", "english", "ANGLAIS",
                             "fran\xE7"
                             "ais",
                             "francais "}) {
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
