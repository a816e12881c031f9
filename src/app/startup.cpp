#include "app/startup.h"

#include "app/application.h"
#include "platform/services.h"
#include "ui/form.h"

int RunApplication(const std::function<void()>& createCatalogue,
                   const std::function<std::unique_ptr<TForm>()>& createWindow) {
    Application.LocaleLanguage = platform::PrimaryLanguage();
    const platform::ComScope com;
    Application.Title = "Installation";
    // The window is destroyed before COM is uninitialised.
    std::unique_ptr<TForm> window;
    try {
        createCatalogue();
        window = createWindow();
        Application.CreateForm(*window);
        Application.Run(*window);
    } catch (...) {
        Application.ShowStartupError(std::current_exception());
        return 1;
    }
    return 0;
}
