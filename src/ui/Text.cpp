#include "ui/Text.h"

#include <windows.h>

static const UINT kCodePage = 1251;

std::wstring ToWide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string FromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(kCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string FromWide(const wchar_t* text) { return text ? FromWide(std::wstring(text)) : std::string(); }

bool FromWideExact(const std::wstring& text, std::string& out)
{
    out.clear();
    if (text.empty())
        return true;
    // No best fit: a character the code page lacks becomes '?' instead of a look-alike.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(kCodePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, "?",
                                &usedDefault);
    out.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, flags, text.data(), static_cast<int>(text.size()), &out[0], n, "?", &usedDefault);
    return !usedDefault;
}

std::string SysErrorMessageText(unsigned long code)
{
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf)
        LocalFree(buf);
    return FromWide(text);
}

std::string SysErrorMessage(unsigned long code)
{
    std::string text = SysErrorMessageText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}
