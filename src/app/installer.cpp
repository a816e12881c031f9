// The wizard's own start: its catalogue and its window, given what the frame read first
// and the host this executable was built for.
#include "app/installer.h"

#include <memory>

#include "app/application.h"
#include "app/startup.h"
#include "i18n/traducteur.h"
#include "wizard/finstall.h"

int RunInstaller(const std::string& downloadHost) {
    const int exitCode = RunApplication(
        [] {
            // Lives until the process ends, past the window.
            static tTranslate catalogue;
            Translator = &catalogue;
        },
        [&downloadHost] {
            auto window = std::make_unique<TfInstall>();
            window->LocaleLanguage = Application.LocaleLanguage;
            window->DownloadHost = downloadHost;
            fInstall = window.get();
            return std::unique_ptr<TForm>(std::move(window));
        });
    fInstall = nullptr;
    return exitCode;
}
