#include "ui/Handles.h"

#include "ui/Exceptions.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

std::string Win32ErrorText(const char* call, DWORD error)
{
    std::string text = std::string(call) + " failed: error " + IntToStr(error);
    std::string words = SysErrorMessage(error);
    if (!words.empty())
        text += " (" + words + ")";
    return text;
}

std::string LastWin32ErrorText(const char* call)
{
    DWORD error = GetLastError();
    return Win32ErrorText(call, error);
}

void RaiseLastWin32Error(const char* call)
{
    DWORD error = GetLastError();
    throw EInOutError(Win32ErrorText(call, error), static_cast<int>(error));
}
