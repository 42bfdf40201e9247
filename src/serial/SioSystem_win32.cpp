#include <windows.h>

#include <vector>

#include "serial/SioSystem.h"
#include "ui/Handles.h"
#include "ui/Text.h"

SioOsVersion SioGetOsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    SioOsVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info))
        return v;
#pragma GCC diagnostic pop
    v.PlatformId = info.dwPlatformId;
    v.Major = info.dwMajorVersion;
    v.Minor = info.dwMinorVersion;
    v.Build = info.dwBuildNumber;
    v.ServicePack = FromWide(info.szCSDVersion);
    return v;
}

bool IsWinNT() { return IsWinNT(SioGetOsVersion()); }
bool IsWin2000() { return IsWin2000(SioGetOsVersion()); }

int32_t SioWinExecAndWait32(const std::string& fileName, const char* commandLine, int visibility)
{
    std::wstring line = ToWide(fileName + (commandLine ? commandLine : ""));
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(visibility);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return -1;
    TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.Get(), &exitCode);
    return static_cast<int32_t>(exitCode);
}
