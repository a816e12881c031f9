#pragma once
// The wizard window built on the stand-in as the application builds it: peers, the tree's
// root (which runs DirectoryChange), then FormCreate.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/application.h"
#include "i18n/traducteur.h"
#include "platform/posix/standin.h"
#include "wizard/finstall.h"
#include "wizard_globals.h"

namespace standin = platform::standin;

class WizardWindowTest : public ::testing::Test {
protected:
    void SetUp() override { globals.emplace(catalogue); }
    void TearDown() override {
        window.reset();
        globals.reset();
    }

    // The window as constructed, before the application frame has touched it.
    TfInstall& Construct() {
        window = std::make_unique<TfInstall>();
        globals->Window(*window);
        return *window;
    }

    TfInstall& Start(int localeLanguage) {
        Construct();
        window->LocaleLanguage = localeLanguage;
        Application.CreateForm(*window);
        return *window;
    }

    tTranslate catalogue;
    std::optional<WizardGlobals> globals;
    std::unique_ptr<TfInstall> window;
};
