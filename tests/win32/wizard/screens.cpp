// The wizard shown on one page in one language, for screenshots:
//   wizard_screens <francais|anglais> <page 1..5>
// Pages 2 and 3 are reached through the Next handler as a user reaches them; pages 4 and 5
// get the states the Next handler gives them, with a download shown part way through.
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "i18n/traducteur.h"
#include "platform/services.h"
#include "wizard/catalogue_text.h"
#include "wizard/finstall.h"
#include "wizard_globals.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string language = argv[1];
    const int page = std::atoi(argv[2]);
    if (page < 1 || page > 5) return 2;

    platform::ComScope com;
    static tTranslate catalogue;
    WizardGlobals globals(catalogue);
    TfInstall window;
    window.LocaleLanguage = language == kAnglais ? 9 : 12;
    globals.Window(window);
    Application.CreateForm(window);

    if (page == 2 || page == 3) window.BtnNext.Click();
    if (page == 3) {
        window.rdoagree.Click();
        window.BtnNext.Click();
    }
    if (page == 4) {
        window.ShowStep(false, false, false, true, false);
        window.btnBack.SetEnabled(false);
        window.BtnNext.SetEnabled(false);
        window.BtnNext.SetCaption(CatalogueText(31));
        window.LblStatus.SetCaption(CatalogueText(24) + "quorvane.exe");
        window.ProgBarDL.SetMax(1000000);
        window.ProgBarDL.SetPosition(400000);
        window.LblBytes.SetCaption("0.38 / 0.95 Megs");
        window.LblFN.SetCaption("quorvane.exe (40 %)");
    }
    if (page == 5) {
        window.ShowStep(false, false, false, false, true);
        window.btnBack.SetEnabled(false);
        window.BtnClose.SetEnabled(false);
        window.BtnNext.SetCaption(CatalogueText(32));
    }
    Application.Run(window);
    return 0;
}
