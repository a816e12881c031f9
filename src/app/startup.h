#pragma once
// The program from its first step to its end, with the main window and the catalogue
// supplied by the caller so that the order can be exercised with any window.
#include <functional>
#include <memory>

class TForm;

// Reads the locale's language, initialises COM, sets the title, creates the catalogue,
// then the window (CreateForm), and runs the loop until the window closes. An error
// before the loop shows the "Application Error" box. Returns the process exit code.
int RunApplication(const std::function<void()>& createCatalogue,
                   const std::function<std::unique_ptr<TForm>()>& createWindow);
