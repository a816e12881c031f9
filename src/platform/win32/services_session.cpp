// Shell execution, locale, module name and COM on the user-interface thread.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "platform/services.h"
#include "platform/win32/thread_windows.h"
#include "platform/win32/wide_text.h"

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

// A text that may be NULL, in UTF-16 for as long as the call lasts.
class OptionalWide {
public:
    explicit OptionalWide(const std::optional<std::string>& text) : present_(text.has_value()) {
        if (text) wide_ = win32::Widen(*text);
    }
    const wchar_t* Get() const { return present_ ? wide_.c_str() : nullptr; }

private:
    bool present_;
    std::wstring wide_;
};

}  // namespace

void ExecuteShell(const ShellExecuteCall& call) {
    const OptionalWide verb(call.verb), file(call.file), parameters(call.parameters), directory(call.directory);
    ShellExecuteW(OwnerWindow(call.owner), verb.Get(), file.Get(), parameters.Get(), directory.Get(),
                  static_cast<int>(call.show));
}

int PrimaryLanguage() {
    const int primary = PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale()));
    return primary == 0 ? LANG_ENGLISH : primary;
}

// The wizard shows a one-byte separator: one beyond ASCII falls back to the point, as a
// failure does.
char DecimalSeparator() {
    wchar_t separator[4] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) < 2 || separator[0] >= 0x80) return '.';
    return static_cast<char>(separator[0]);
}

std::string ModuleName() {
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
    return win32::Narrow(std::wstring_view(name, length));
}

ComScope::ComScope() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}

ComScope::~ComScope() {
    if (initialized_) CoUninitialize();
}

}  // namespace platform
