#pragma once
// The catalogue's text of a slot in the language in force, as a value.
#include <string>

#include "i18n/traducteur.h"

inline std::string CatalogueText(int slot) {
    std::string text;
    Translator->GetText(slot, text);
    return text;
}
