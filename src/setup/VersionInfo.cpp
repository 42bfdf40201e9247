#include "setup/VersionInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void VersionStringFields(VersionRecord& r, VersionStringField (&fields)[kVersionStringCount])
{
    VersionStringField all[kVersionStringCount] = {
        {"FileVersion", r.fileVersion, sizeof r.fileVersion},
        {"CompanyName", r.companyName, sizeof r.companyName},
        {"FileDescription", r.fileDescription, sizeof r.fileDescription},
        {"InternalName", r.internalName, sizeof r.internalName},
        {"LegalCopyright", r.legalCopyright, sizeof r.legalCopyright},
        {"OriginalFilename", r.originalFilename, sizeof r.originalFilename},
        {"ProductName", r.productName, sizeof r.productName},
        {"ProductVersion", r.productVersion, sizeof r.productVersion},
        {"Comments", r.comments, sizeof r.comments},
    };
    for (int i = 0; i < kVersionStringCount; ++i)
        fields[i] = all[i];
}

void StoreVersionText(char* field, size_t size, const std::string& value)
{
    if (size == 0)
        return;
    size_t n = std::min(value.size(), size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, value.data(), n);
}

std::string VersionStringQuery(uint16_t language, uint16_t codePage, const char* key)
{
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\", unsigned{language}, unsigned{codePage});
    return prefix + std::string(key);
}

std::string ShortVersion(const std::string& fileVersion)
{
    size_t dot = fileVersion.rfind('.');
    return dot == std::string::npos ? std::string() : fileVersion.substr(0, dot);
}

std::string AboutMessageLink(const std::string& address, const std::string& shortVersion)
{
    return "mailto:" + address + "?subject=" + "Редактор сценария" + " " + shortVersion;
}
