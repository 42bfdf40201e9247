#pragma once
// Number and path text helpers of the serial library. Paths use the delimiters
// backslash and colon (a drive "C:" ends a path part too).
#include <cstdint>
#include <string>

std::string Long2StrZ(int32_t value);
// The runtime's integer conversion: optional blanks and sign, decimal digits or a "$"
// or "0x" hexadecimal number. True (and value set) only when the whole text converts
// to a 32-bit value.
bool Str2LongZ(const std::string& text, int32_t& value);
// At most count characters of s from the zero-based pos ("" when pos is past the end).
std::string StrStCopy(const std::string& s, int32_t pos, int32_t count);

// The folder part: "" without a delimiter; C:\x gives C:\, C:x gives C:, a\b\c gives
// a\b, \name gives \.
std::string JustPathnameZ(const std::string& pathName);
// The part after the last delimiter (at most 255 characters).
std::string JustFilenameZ(const std::string& pathName);
// The extension of the file-name part without its dot, at most three characters; ""
// when there is none.
std::string JustExtensionZ(const std::string& name);
// dirName with a backslash appended unless it is empty or ends in a delimiter.
std::string AddBackSlashZ(const std::string& dirName);
bool ExistFileZ(const std::string& fileName);
// name with its extension replaced by "." + ext, or given one when it has none.
std::string ForceExtensionZ(const std::string& name, const std::string& ext);
// name unchanged when it has an extension, else name + "." + ext.
std::string DefaultExtensionZ(const std::string& name, const std::string& ext);
// The file-name part up to its first dot.
std::string JustName(const std::string& pathName);
// As AddBackSlashZ, but a trailing double quote is kept last: "C:\dir" quoted gets its
// backslash inside the quote.
std::string AddBackSlash(const std::string& dirName);
