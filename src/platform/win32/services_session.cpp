// Shell execution, locale, module name and COM on the user-interface thread.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "platform/services.h"
#include "platform/win32/thread_windows.h"

namespace platform {
namespace {

HWND OwnerWindow(ShellOwner owner) {
    switch (owner) {
        case ShellOwner::MainWindow:
            return win32::MainWindow();
        case ShellOwner::Desktop:
            return GetDesktopWindow();
        case ShellOwner::None:
            break;
    }
    return nullptr;
}

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

void ExecuteShell(const ShellExecuteCall& call) {
    ShellExecuteA(OwnerWindow(call.owner), OrNull(call.verb), OrNull(call.file), OrNull(call.parameters),
                  OrNull(call.directory), static_cast<int>(call.show));
}

int PrimaryLanguage() {
    const int primary = PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale()));
    return primary == 0 ? LANG_ENGLISH : primary;
}

char DecimalSeparator() {
    char separator[4] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) < 2) return '.';
    return separator[0];
}

std::string ModuleName() {
    char name[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    return std::string(name, length);
}

ComScope::ComScope() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}

ComScope::~ComScope() {
    if (initialized_) CoUninitialize();
}

}  // namespace platform
