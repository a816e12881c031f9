#include "platform/win32/system_text.h"

#include <cstdio>
#include <iterator>

#include "platform/services.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {
std::string& LastFailure() {
    static std::string text;
    return text;
}
}  // namespace

std::string SystemMessage(DWORD code) {
    wchar_t buffer[1024];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::string text = Narrow(std::wstring_view(buffer, length));
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
}

std::string OleErrorText(HRESULT result) {
    std::string text = SystemMessage(static_cast<DWORD>(result));
    if (!text.empty()) return text;
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "OLE error %.8lX", static_cast<unsigned long>(result));
    return fallback;
}

void RememberFailure(std::string text) { LastFailure() = std::move(text); }

void RememberLastError() {
    const DWORD code = GetLastError();
    std::string text = SystemMessage(code);
    if (text.empty()) text = "System error " + std::to_string(code);
    RememberFailure(std::move(text));
}

}  // namespace platform::win32

std::string platform::SystemErrorText() { return win32::LastFailure(); }
