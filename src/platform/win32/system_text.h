#pragma once
// Conversions between the program's code page 1252 texts and the system's UTF-16, and
// the system's own wording for a failure.
#include <windows.h>

#include <string>

namespace platform::win32 {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text);

// The system's message for an error code, without its trailing line break; empty when the
// system has none.
std::string SystemMessage(DWORD code);
// The system's message for a COM result, else "OLE error %.8X" (upper-case digits).
std::string OleErrorText(HRESULT result);

// Kept for SystemErrorText(): what the last failed copy, directory creation or link save said.
void RememberFailure(std::string text);
void RememberLastError();

}  // namespace platform::win32
