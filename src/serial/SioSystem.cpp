#include "serial/SioSystem.h"

#include "ui/SysUtils.h"

namespace {

// The second character of the service-pack text (" A", " B"), blanks ignored.
char ServicePackLetter(const SioOsVersion& v)
{
    std::string letter = v.ServicePack.size() >= 2 ? Trim(v.ServicePack.substr(1, 1)) : std::string();
    return letter.empty() ? '\0' : letter[0];
}

std::string SystemName(const SioOsVersion& v)
{
    switch (v.PlatformId) {
    case 0:
        return "Win32s on Windows ";
    case 1:
        switch (v.Minor) {
        case 0:
            return ServicePackLetter(v) == 'B' ? "Win32 on Windows 95 OSR 2 " : "Win32 on Windows 95 OSR 1 ";
        case 10:
            return ServicePackLetter(v) == 'A' ? "Win32 on Windows 98 OSR 2 " : "Win32 on Windows 98 OSR 1 ";
        case 90:
            return v.Build == 0x045A0BB8 ? "Win32 on Windows ME " : "";
        default:
            return "Win32 on Windows 9x";
        }
    case 2:
        switch (v.Major) {
        case 3:
            return "Windows NT 3.5 ";
        case 4:
            return "Windows NT 4 ";
        case 5:
            return v.Minor == 0 ? "Windows 2000 " : v.Minor == 1 ? "Windows XP " : "";
        default:
            return "WinNT ";
        }
    default:
        return "Unknown";
    }
}

} // namespace

std::string SioDescribeSystem(const SioOsVersion& v)
{
    std::string text = SystemName(v) + IntToStr(v.Major) + "." + IntToStr(v.Minor) + " ";
    if (v.PlatformId == 0 || v.PlatformId == 2)
        text += v.ServicePack;
    return text;
}

bool IsWinNT(const SioOsVersion& v) { return v.PlatformId == 2; }
bool IsWin2000(const SioOsVersion& v) { return v.PlatformId == 2 && v.Minor == 0; }
