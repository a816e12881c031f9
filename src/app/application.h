#pragma once
// The application frame: start-up order, the message loop, the guard around every
// dispatched message and the error box it shows.
#include <exception>
#include <string>

class TForm;

class TApplication {
public:
    // Installs the error box as the handler of the guard around every dispatched message.
    TApplication();

    // The caption of the error box.
    std::string Title;
    // Primary language of the thread's locale, read once before anything else.
    int LocaleLanguage = 0;

    // Shows an error that escaped an event handler: its text with a full stop appended
    // when the last character compares above "." as a byte, the title as caption, OK and
    // the error icon. The silent kind shows nothing.
    void HandleException(std::exception_ptr error);
    // An error that ended start-up: the "Application Error" box with the error's class,
    // the module and the address of the error, then its text.
    void ShowStartupError(std::exception_ptr error);

    // Builds the main window's peers and folder-tree roots, then runs OnCreate behind the
    // guard. An error before OnCreate goes on to the caller.
    void CreateForm(TForm& form);
    // Shows the main window centred with the focus on its first control and dispatches
    // messages until the application is asked to end.
    void Run(TForm& form);
};

extern TApplication Application;
