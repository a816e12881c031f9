#pragma once
// The wizard's globals for the life of a test: fresh services, the catalogue in Translator
// and the window in fInstall, both cleared again when the guard goes. Declare the guard
// after the catalogue and before the window, so the window goes first.
#include "i18n/traducteur.h"
#include "services_probe.h"
#include "wizard/finstall.h"

class WizardGlobals {
public:
    explicit WizardGlobals(tTranslate& catalogue) {
        probe::ResetServices();
        Translator = &catalogue;
    }
    ~WizardGlobals() {
        fInstall = nullptr;
        Translator = nullptr;
    }
    WizardGlobals(const WizardGlobals&) = delete;
    WizardGlobals& operator=(const WizardGlobals&) = delete;

    void Window(TfInstall& window) { fInstall = &window; }
};
