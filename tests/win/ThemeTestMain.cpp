// The theme tests run once without a visual style and once with one (--style); each test
// expects what the style state of its run calls for.
//
// What works under this Wine: the visual-styles library takes the style state from the
// registry when a process loads it. A process that sets ThemeActive to "1" just for its
// first load of the library, and keeps the library loaded for the whole run, has the
// style active for itself while the prefix keeps "0". This must happen before the first
// window is made: user32 loads the library for it and lets it go again while no style is
// active. EnableTheming(TRUE) does not turn a style on, but EnableTheming(FALSE) turns
// it off for the process, for good (see ThemeSwitchOff).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "ThemeTestStyle.h"
#include "ui/Application.h"

namespace {
const wchar_t kThemeManagerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
bool styleActiveRun = false;
} // namespace

bool StyleActiveRun() { return styleActiveRun; }

void WithThemeActiveValue(const wchar_t* value, const std::function<void()>& action)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kThemeManagerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        action();
        return;
    }
    wchar_t previous[64] = {};
    DWORD size = sizeof previous - sizeof(wchar_t);
    bool had = RegQueryValueExW(key, L"ThemeActive", nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) ==
               ERROR_SUCCESS;
    auto set = [key](const wchar_t* text) {
        RegSetValueExW(key, L"ThemeActive", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    };
    set(value);
    action();
    if (had)
        set(previous);
    else
        RegDeleteValueW(key, L"ThemeActive");
    RegCloseKey(key);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--style") == 0)
            styleActiveRun = true;
    if (styleActiveRun)
        WithThemeActiveValue(L"1", [] { LoadLibraryW(L"uxtheme.dll"); });  // held for the run
    TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
