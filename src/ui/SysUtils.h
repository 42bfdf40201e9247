#pragma once
// Small text and path helpers of the class library. Portable: text is 8-bit
// Windows-1251, paths use "\" (and, for the native build, "/") as separators.
#include <string>

std::string IntToStr(long long value);
// The text as a decimal integer (leading blanks and a sign allowed), or def when it is
// not one or does not fit in 32 bits.
int StrToIntDef(const std::string& text, int def);
// ASCII letters only, like the class library's plain UpperCase.
std::string UpperCase(std::string text);
// Every letter of Windows-1251 (Latin and Cyrillic) in upper case, for comparisons that
// ignore case the way file names and INI names do.
std::string AnsiUpperCase(std::string text);
std::string Trim(const std::string& text);

// Folder part with its trailing separator ("" when there is none).
std::string ExtractFilePath(const std::string& fileName);
// The part after the last separator or drive colon.
std::string ExtractFileName(const std::string& fileName);
// The name with its extension (from the last dot of the file-name part) replaced.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
std::string IncludeTrailingPathDelimiter(const std::string& path);

// Platform file queries (implemented per platform).
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& path);
bool RemoveFile(const std::string& fileName);
