#pragma once
// The program file's own version block as the About box shows it: the fixed-size
// record the block is read into, and the texts made from it.
#include <cstddef>
#include <cstdint>
#include <string>

// Every field is zero-terminated; a longer value is cut to the field's size - 1.
struct VersionRecord {
    char fileName[256];
    char language[32];
    char fileVersion[32];
    char companyName[32];
    char fileDescription[80];
    char internalName[32];
    char legalCopyright[80];
    char originalFilename[32];
    char productName[80];
    char productVersion[32];
    char comments[32];
};

// One version string of the block and the field it is stored in.
struct VersionStringField {
    const char* key;
    char* text;
    size_t size;
};
constexpr int kVersionStringCount = 9;
// The nine version strings, in the order they are read.
void VersionStringFields(VersionRecord& record, VersionStringField (&fields)[kVersionStringCount]);
// Copies value into a field of size bytes, cut to size - 1 characters and terminated.
void StoreVersionText(char* field, size_t size, const std::string& value);
// "\StringFileInfo\041904E3\FileVersion": the query of a version string of a translation.
std::string VersionStringQuery(uint16_t language, uint16_t codePage, const char* key);

// The version up to, not including, its last "." ("" when it has none).
std::string ShortVersion(const std::string& fileVersion);
// The link of a new message to address whose subject names the editor and its version.
std::string AboutMessageLink(const std::string& address, const std::string& shortVersion);

// Windows builds: zeroes the record and fills it from the version block of the file;
// a file without one leaves the record empty.
void ReadVersionInfo(const std::string& fileName, VersionRecord& record);
