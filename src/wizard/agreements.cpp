#include "wizard/agreements.h"

#include <array>
#include <span>

namespace {

// Every line but the last, which is empty. No line is wider than the box (365 pixels
// of text in the window font), so the box never wraps one.
constexpr std::array<const char*, 55> kEnglish = {
    "                               QUORVANE",
    "                        End-User License Agreement",
    "",
    "WARRANTY DISCLAIMER",
    "THIS SOFTWARE AND THE ACCOMPANYING FILES ARE PROVIDED",
    "\"AS IS\" AND WITHOUT WARRANTIES AS TO PERFORMANCE,",
    "MERCHANTABILITY OR ANY OTHER WARRANTIES WHETHER",
    "EXPRESSED OR IMPLIED. BECAUSE OF THE VARIOUS HARDWARE",
    "AND SOFTWARE ENVIRONMENTS INTO WHICH QUORVANE MAY",
    "BE PUT, NO WARRANTY OF FITNESS FOR A PARTICULAR",
    "PURPOSE IS OFFERED. THE USER MUST ASSUME THE ENTIRE",
    "RISK OF USING THE PROGRAM. ANY LIABILITY OF THE VENDOR",
    "WILL BE LIMITED EXCLUSIVELY TO PRODUCT REPLACEMENT OR",
    "REFUND OF THE PURCHASE PRICE. IN NO EVENT SHALL THE",
    "VENDOR BE LIABLE FOR ANY LOSS OF DATA, OF PROFIT OR OF",
    "BUSINESS, NOR FOR ANY OTHER DAMAGE ARISING FROM THE",
    "USE OF THIS SOFTWARE.",
    "",
    "You may not reverse engineer, decompile or disassemble the",
    "software, nor alter, modify or tamper with any of its files, its",
    "installation program or its communication with the Quorvane",
    "server, except where the law expressly permits it despite this",
    "limitation. Any such attempt ends this licence at once.",
    "",
    "DISTRIBUTION",
    "You are hereby licensed to make as many copies of the",
    "installation program of Quorvane as you wish, to give exact",
    "copies of it to anyone, and to distribute it in its unmodified form",
    "by electronic means. You may not charge any fee for the copy",
    "or the use of the program itself, nor sell it, rent it or lend it, nor",
    "distribute it together with another product without the prior",
    "written consent of the vendor. Every copy must include this",
    "agreement and all the files of the original package.",
    "",
    "TERMS OF USE",
    "One copy of Quorvane may be used by a single person who",
    "uses the software personally on one or more computers, or",
    "installed on a single workstation used non-simultaneously by",
    "several people, but not both. A copy may not be installed on a",
    "network server for the use of several workstations at the same",
    "time.",
    "",
    "You may access the Quorvane server only with the account",
    "that you create at the first start of the program. You are",
    "responsible for keeping your password secret and for every",
    "use made of your account. You may not share it, sell it or",
    "transfer it to another person.",
    "",
    "ASSOCIATION OF SHAREWARE PROFESSIONALS",
    "The vendor of Quorvane is a member of an association of",
    "shareware professionals, which wants to make sure that the",
    "shareware principle works for you. If you are unable to resolve",
    "a shareware-related problem with a member by contacting the",
    "member directly, the association may be able to help. It does",
    "not, however, give technical support for its members' products.",
};

// The lines shared by the three French editions: everything after the title line, up to
// the last line, which differs.
constexpr std::array<const char*, 57> kFrenchBody = {
    "\t\tContrat de licence de l'utilisateur final",
    "",
    "EXCLUSION DE GARANTIE",
    "CE LOGICIEL ET LES FICHIERS QUI L'ACCOMPAGNENT SONT",
    "FOURNIS \"TELS QUELS\" ET SANS AUCUNE GARANTIE QUANT À",
    "LEUR PERFORMANCE, À LEUR QUALITÉ MARCHANDE OU TOUTE",
    "AUTRE GARANTIE, EXPRESSE OU IMPLICITE. EN RAISON DE LA",
    "DIVERSITÉ DES ENVIRONNEMENTS MATÉRIELS ET LOGICIELS",
    "DANS LESQUELS QUORVANE PEUT ÊTRE UTILISÉ, AUCUNE",
    "GARANTIE D'ADÉQUATION À UN USAGE PARTICULIER N'EST",
    "OFFERTE. L'UTILISATEUR ASSUME L'ENTIÈRE RESPONSABILITÉ",
    "DE L'UTILISATION DU PROGRAMME. LA RESPONSABILITÉ DU",
    "FOURNISSEUR SE LIMITE EXCLUSIVEMENT AU REMPLACEMENT",
    "DU PRODUIT OU AU REMBOURSEMENT DE SON PRIX D'ACHAT.",
    "EN AUCUN CAS LE FOURNISSEUR NE POURRA ÊTRE TENU",
    "RESPONSABLE DE LA PERTE DE DONNÉES, DE PROFITS OU",
    "D'AFFAIRES, NI D'AUCUN AUTRE DOMMAGE RÉSULTANT DE",
    "L'UTILISATION OU DE L'IMPOSSIBILITÉ D'UTILISER CE LOGICIEL.",
    "",
    "Il est interdit de désassembler, de décompiler ou de faire de",
    "l'ingénierie inverse du logiciel, ainsi que d'altérer, de modifier",
    "ou de falsifier ses fichiers, son programme d'installation ou ses",
    "échanges avec le serveur Quorvane, sauf dans la mesure où la",
    "loi l'autorise expressément malgré cette restriction.",
    "",
    "DISTRIBUTION",
    "Vous êtes autorisé à faire autant de copies du programme",
    "d'installation de Quorvane que vous le désirez, à en remettre",
    "des copies exactes à quiconque et à le distribuer sous sa forme",
    "originale par voie électronique. Vous ne pouvez exiger aucun",
    "paiement pour la copie ou l'utilisation du programme lui-même,",
    "ni le vendre, le louer ou le prêter, ni le distribuer avec un autre",
    "produit sans l'accord écrit préalable du fournisseur. Chaque",
    "copie doit comprendre le présent contrat et tous les fichiers de",
    "l'ensemble original, tels qu'ils vous ont été remis.",
    "",
    "CONDITIONS D'UTILISATION",
    "Une copie de Quorvane peut être utilisée par une seule",
    "personne qui utilise le logiciel personnellement sur un ou",
    "plusieurs ordinateurs, ou installée sur un seul poste de travail",
    "utilisé à tour de rôle par plusieurs personnes, mais pas les",
    "deux à la fois. Une copie ne peut être installée sur un serveur",
    "de réseau pour être utilisée par plusieurs postes de travail en",
    "même temps. Vous ne pouvez accéder au serveur Quorvane",
    "qu'avec le compte que vous créez au premier démarrage du",
    "programme ; vous êtes responsable de la confidentialité de",
    "votre mot de passe et de toute utilisation faite de votre",
    "compte, que vous ne pouvez ni partager, ni vendre, ni céder à",
    "une autre personne, même temporairement.",
    "",
    "ASSOCIATION DES PROFESSIONNELS DU PARTAGICIEL",
    "Le fournisseur de Quorvane est membre d'une association de",
    "professionnels du partagiciel, qui regroupe des auteurs de",
    "logiciels et qui veille à ce que le principe du partagiciel",
    "fonctionne pour vous. Si vous ne parvenez pas à régler un",
    "problème lié au partagiciel avec un membre en vous adressant",
    "directement à lui, l'association pourra peut-être vous aider.",
};

// Each line followed by CR LF, then the last line.
std::string Join(std::string head, std::span<const char* const> lines, const char* last) {
    for (const char* line : lines) {
        head += line;
        head += "\r\n";
    }
    return head + last;
}

std::string FrenchTitle(const char* edition) { return std::string(24, ' ') + "QUORVANE " + edition + "\r\n"; }

}  // namespace

const std::string& EnglishAgreement() {
    static const std::string text = Join("", kEnglish, "");
    return text;
}

const std::string& FrenchAgreement(FrenchEdition edition) {
    static const std::string enterprise = Join(FrenchTitle("ENTREPRISE"), kFrenchBody, "");
    static const std::string professional = Join(FrenchTitle("PROFESSIONNELLE"), kFrenchBody, " ");
    static const std::string basic = Join(FrenchTitle("DE BASE"), kFrenchBody, " ");
    switch (edition) {
        case FrenchEdition::Professional:
            return professional;
        case FrenchEdition::Basic:
            return basic;
        case FrenchEdition::Enterprise:
            break;
    }
    return enterprise;
}
