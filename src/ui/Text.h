#pragma once
// Conversions between the program's 8-bit Windows-1251 text and the UTF-16 text of the
// Win32 W functions. Explicit code page, so the system's ANSI page never matters.
#include <string>

std::wstring ToWide(const std::string& text);
std::string FromWide(const std::wstring& text);
std::string FromWide(const wchar_t* text);
// Converts without approximations (no "e" for "é"): out gets '?' for every character
// Windows-1251 lacks, and the result is false when there was any. For file names, where
// a look-alike would name a different file.
bool FromWideExact(const std::wstring& text, std::string& out);

// The system's text for a Win32 error number, without its trailing line end; "" when
// the system has none.
std::string SysErrorMessage(unsigned long code);
// The same text exactly as the system gives it, line end included.
std::string SysErrorMessageText(unsigned long code);
