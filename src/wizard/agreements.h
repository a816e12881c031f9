#pragma once
// The licence agreements shown on page 2: lines joined with CR LF.
#include <string>

enum class FrenchEdition { Enterprise, Professional, Basic };

// 56 lines, the last one empty.
const std::string& EnglishAgreement();
// 59 lines; the editions differ in the title line and the last line (empty for the
// enterprise edition, one blank for the other two).
const std::string& FrenchAgreement(FrenchEdition edition);
