// Text between the wizard's ANSI strings and COM's wide ones (BSTR).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// A new BSTR of an ANSI text (the caller frees it); null for null or when memory runs out.
BSTR KZToBstr(const char* text);
// The ANSI text of a wide one; empty for null.
std::string KZFromWide(const wchar_t* text);
