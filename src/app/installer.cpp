// The wizard's own start: its catalogue and its window.
#include "app/startup.h"
#include "i18n/traducteur.h"
#include "wizard/finstall.h"

int RunInstaller() {
    const int exitCode = RunApplication(
        [] {
            // Lives until the process ends, past the window.
            static tTranslate catalogue;
            Translator = &catalogue;
        },
        [] {
            auto window = std::make_unique<TfInstall>();
            fInstall = window.get();
            return std::unique_ptr<TForm>(std::move(window));
        });
    fInstall = nullptr;
    return exitCode;
}
