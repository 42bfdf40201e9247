#include "programming/EnumComPorts.h"

#include <windows.h>

#include <vector>

#include "programming/ComPortNames.h"
#include "ui/StdCtrls.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

void EnumComPorts(TComboBox* box)
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        std::vector<wchar_t> buffer(65535, L'\0');
        DWORD n = QueryDosDeviceW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        // The device names are plain ASCII; one conversion keeps the list's layout.
        std::string list = FromWide(std::wstring(buffer.data(), n));
        for (const std::string& port : ComPortsFromDeviceList(list.data(), list.size()))
            box->Items().Add(port);
        return;
    }
    for (int n = 1; n <= 255; ++n) {
        std::wstring device = L"\\\\.\\COM" + std::to_wstring(n);
        HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
        if (h != INVALID_HANDLE_VALUE || error == ERROR_ACCESS_DENIED || error == ERROR_GEN_FAILURE)
            box->Items().Add("COM" + IntToStr(n));
    }
}
