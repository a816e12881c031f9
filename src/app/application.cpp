#include "app/application.h"

#include <cstdint>
#include <cstdio>
#include <typeinfo>

#include "platform/exception.h"
#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/peers.h"
#include "platform/services.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/shelltreeview.h"

TApplication Application;

namespace {

// Letters and digits get a full stop; a closing quote, a bracket or a space does not.
std::string WithFullStop(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

// The start-up failure's rule: a full stop unless there is one already.
std::string EndingInFullStop(std::string text) {
    if (text.empty() || text.back() != '.') text += '.';
    return text;
}

struct ErrorDescription {
    bool Silent = false;
    std::string ClassName;
    std::string Message;
    const void* Address = nullptr;  // the error object: it identifies the raise
};

ErrorDescription Describe(const std::exception_ptr& error) {
    ErrorDescription description;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort& abort) {
        description = {true, abort.ClassName, abort.Message, &abort};
    } catch (const Exception& exception) {
        description = {false, exception.ClassName, exception.Message, &exception};
    } catch (const std::bad_alloc& exception) {
        description = {false, "EOutOfMemory", "Out of memory", &exception};
    } catch (const std::exception& exception) {
        description = {false, "Exception", exception.what(), &exception};
    } catch (...) {
        description = {false, "Exception", "Unknown error", nullptr};
    }
    return description;
}

std::string BaseName(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string HexAddress(const void* address) {
    char text[2 * sizeof(void*) + 1] = {};
    std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    return text;
}

// Parents before children, each parent's children in creation order.
void CreatePeers(TControl& control) {
    control.SetPeer(platform::CreatePeer(control));
    // Real metrics exist only now.
    if (auto* label = dynamic_cast<TLabel*>(&control)) label->AdjustSize();
    if (auto* container = dynamic_cast<TWinControl*>(&control))
        for (TControl* child : container->Children()) CreatePeers(*child);
}

void CreateTreeRoots(TWinControl& container) {
    for (TControl* child : container.Children()) {
        if (auto* tree = dynamic_cast<TShellTreeView*>(child)) tree->CreateRoot();
        if (auto* nested = dynamic_cast<TWinControl*>(child)) CreateTreeRoots(*nested);
    }
}

}  // namespace

TApplication::TApplication() {
    platform::CurrentErrorHandler() = [this](std::exception_ptr error) { HandleException(std::move(error)); };
}

void TApplication::HandleException(std::exception_ptr error) {
    if (!error) return;
    const ErrorDescription description = Describe(error);
    if (description.Silent) return;
    platform::ShowMessageBox(WithFullStop(description.Message), Title, platform::MessageBoxKind::Error);
}

void TApplication::ShowStartupError(std::exception_ptr error) {
    if (!error) return;
    const ErrorDescription description = Describe(error);
    const std::string text = "Exception " + description.ClassName + " in module " + BaseName(platform::ModuleName()) +
                             " at " + HexAddress(description.Address) + ".\r\n" + EndingInFullStop(description.Message);
    platform::ShowMessageBox(text, "Application Error", platform::MessageBoxKind::Error);
}

void TApplication::CreateForm(TForm& form) {
    CreatePeers(form);
    CreateTreeRoots(form);
    if (form.OnCreate) platform::Guarded([&form] { form.OnCreate(&form); });
}

void TApplication::Run(TForm& form) {
    form.Show();
    if (!form.ActiveControl()) form.SelectNext(true);
    while (!platform::QuitReceived()) {
        platform::WaitMessage();
        platform::ProcessMessages();
    }
}
