// Reads the version block through the W functions and converts its texts from UTF-16 to
// the program's Windows-1251, whatever the system's ANSI code page is.
#include "setup/VersionInfo.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "ui/Text.h"

namespace {

// The value of a version string, never read past the length the block gives for it.
bool QueryText(std::vector<BYTE>& block, const std::string& query, std::string& value)
{
    void* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), ToWide(query).c_str(), &data, &length) || !data)
        return false;
    const wchar_t* text = static_cast<const wchar_t*>(data);
    value = FromWide(std::wstring(text, wcsnlen(text, length)));
    return true;
}

} // namespace

void ReadVersionInfo(const std::string& fileName, VersionRecord& record)
{
    std::memset(&record, 0, sizeof record);
    std::wstring file = ToWide(fileName);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return;
    std::vector<BYTE> block(size, 0);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return;
    void* data = nullptr;
    UINT length = 0;
    // A translation entry is a 16-bit language id and a 16-bit code page; a shorter
    // entry (a damaged block) holds no translation to read.
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &data, &length) || !data ||
        length < 2 * sizeof(WORD))
        return;
    WORD translation[2];
    std::memcpy(translation, data, sizeof translation);

    wchar_t language[80] = {};
    if (VerLanguageNameW(translation[0], language, 80))
        StoreVersionText(record.language, sizeof record.language, FromWide(language));
    StoreVersionText(record.fileName, sizeof record.fileName, fileName);
    VersionStringField fields[kVersionStringCount];
    VersionStringFields(record, fields);
    for (const VersionStringField& field : fields) {
        std::string value;
        if (QueryText(block, VersionStringQuery(translation[0], translation[1], field.key), value))
            StoreVersionText(field.text, field.size, value);
    }
}
