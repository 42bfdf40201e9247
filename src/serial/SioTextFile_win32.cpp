// The file primitive of the program: names in Windows-1251 opened with the W functions;
// errors are GetLastError numbers.
#include <windows.h>

#include "serial/SioTextFile.h"
#include "ui/Text.h"

intptr_t SioFileOpen(const std::string& name, bool append, int& error)
{
    HANDLE h = CreateFileW(ToWide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return -1;
    }
    if (append && SetFilePointer(h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        error = static_cast<int>(GetLastError());
        CloseHandle(h);
        return -1;
    }
    return reinterpret_cast<intptr_t>(h);
}

int SioFileWrite(intptr_t handle, const char* data, size_t size)
{
    while (size > 0) {
        DWORD put = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle), data, static_cast<DWORD>(size), &put, nullptr))
            return static_cast<int>(GetLastError());
        if (put == 0)
            return ERROR_WRITE_FAULT;
        data += put;
        size -= put;
    }
    return 0;
}

int SioFileClose(intptr_t handle)
{
    return CloseHandle(reinterpret_cast<HANDLE>(handle)) ? 0 : static_cast<int>(GetLastError());
}
