#include "programming/EnumComPorts.h"

#include <windows.h>

#include "programming/ComPortNames.h"
#include "ui/Handles.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {

// The system's list of device names, the buffer grown until the whole list fits.
std::wstring DosDeviceList()
{
    std::vector<wchar_t> buffer(65536, L'\0');
    for (;;) {
        DWORD n = QueryDosDeviceW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n != 0)
            return std::wstring(buffer.data(), n);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= (1u << 24))
            return std::wstring();
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

} // namespace

std::vector<std::string> EnumComPorts()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        // The device names are plain ASCII; one conversion keeps the list's layout.
        std::string list = FromWide(DosDeviceList());
        return ComPortsFromDeviceList(list.data(), list.size());
    }
    std::vector<std::string> ports;
    for (int n = 1; n <= 255; ++n) {
        std::wstring device = L"\\\\.\\COM" + std::to_wstring(n);
        TKernelHandle port(CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
        DWORD error = port ? 0 : GetLastError();
        if (port || error == ERROR_ACCESS_DENIED || error == ERROR_GEN_FAILURE)
            ports.push_back("COM" + IntToStr(n));
    }
    return ports;
}
