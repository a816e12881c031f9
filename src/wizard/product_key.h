#pragma once
// The product's own registry key under HKEY_LOCAL_MACHINE: the language and the install path.
inline constexpr const char* kProductKey = "Software\\Quorvane\\Quorvane\\entreprise";
