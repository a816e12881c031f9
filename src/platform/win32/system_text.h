#pragma once
// The system's own wording for a failure.
#include <windows.h>

#include <string>

namespace platform::win32 {

// The system's message for an error code, without its trailing line break; empty when the
// system has none.
std::string SystemMessage(DWORD code);
// The system's message for a COM result, else "OLE error %.8X" (upper-case digits).
std::string OleErrorText(HRESULT result);

// Kept for SystemErrorText(): what the last failed copy, directory creation or link save said.
void RememberFailure(std::string text);
void RememberLastError();

}  // namespace platform::win32
