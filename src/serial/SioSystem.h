#pragma once
// Operating-system facts the serial library reports: the version record of the system
// and the description the dispatch log prints in its header.
#include <cstdint>
#include <string>

struct SioOsVersion {
    uint32_t PlatformId = 0;  // 0 Win32s, 1 Windows 95 family, 2 NT family
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    std::string ServicePack;  // the service-pack text
};

// The system description of the log header (without the 80-character cut).
std::string SioDescribeSystem(const SioOsVersion& v);
bool IsWinNT(const SioOsVersion& v);
bool IsWin2000(const SioOsVersion& v);

// Win32 only (SioSystem_win32.cpp): the running system's version record, and the
// tests above applied to it.
SioOsVersion SioGetOsVersion();
bool IsWinNT();
bool IsWin2000();
// Runs fileName + commandLine (appended without a blank) in a new console with the
// given show state, waits for it and returns its exit code; -1 when it cannot start.
int32_t SioWinExecAndWait32(const std::string& fileName, const char* commandLine, int visibility);
