#pragma once
// The message catalogue: every text the wizard produces at run time, in French (slots 1
// to 34) and English (held at slot + 34), and the language in force.
#include <array>
#include <string>

inline const std::string kFrancais = "francais";
inline const std::string kAnglais = "anglais";

class tTranslate {
public:
    tTranslate();

    // Writes the text of slot 1..34 in the language in force; for any other language
    // (empty included) the output is left as the caller had it.
    void GetText(int Slot, std::string& Text) const;

    // "francais", "anglais", or empty before the first SetLanguage.
    const std::string& Language() const { return language_; }

    // Switches the language and re-captions the wizard window; nothing at all for the
    // language already in force, only the language for an unknown code.
    void SetLanguage(const std::string& Code);

private:
    std::array<std::string, 68> texts_;
    std::string language_;
};

// Created before the window, never destroyed before the process ends.
extern tTranslate* Translator;
