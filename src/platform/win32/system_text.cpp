#include "platform/win32/system_text.h"

#include <cstdio>

#include "platform/services.h"

namespace platform::win32 {
namespace {
std::string& LastFailure() {
    static std::string text;
    return text;
}
}  // namespace

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back();  // the terminating zero
    return narrow;
}

std::string SystemMessage(DWORD code) {
    char buffer[1024];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
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
