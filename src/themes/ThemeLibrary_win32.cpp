#include "themes/ThemeLibrary.h"

#include "themes/RefCountedLibrary.h"

ThemeLibraryEntryPoints UxTheme;

namespace {

class UxThemeLoader : public LibraryLoader {
public:
    bool Load() override
    {
        module_ = LoadLibraryW(L"uxtheme.dll");
        if (!module_)
            return false;
        // An entry point the library lacks stays null.
#define PELVOR_BIND_THEME_ENTRY(name) \
    UxTheme.name = reinterpret_cast<decltype(UxTheme.name)>(Proc(#name));
        PELVOR_THEME_ENTRY_POINTS(PELVOR_BIND_THEME_ENTRY)
#undef PELVOR_BIND_THEME_ENTRY
        return true;
    }
    void Unload() override
    {
        UxTheme = ThemeLibraryEntryPoints{};
        FreeLibrary(module_);
        module_ = nullptr;
    }

private:
    // Through a function type without parameters, which converts to any other silently.
    void (*Proc(const char* name))()
    {
        return reinterpret_cast<void (*)()>(GetProcAddress(module_, name));
    }

    HMODULE module_ = nullptr;
};

// Made on first use; at the end of the run every request still held is released, which
// unloads the library.
RefCountedLibrary& Library()
{
    static UxThemeLoader loader;
    static RefCountedLibrary library(loader);
    return library;
}

} // namespace

bool InitThemeLibrary() { return Library().Acquire(); }

void FreeThemeLibrary() { Library().Release(); }

bool ThemeLibraryLoaded() { return Library().Loaded(); }

bool UseThemes()
{
    return ThemeLibraryLoaded() && UxTheme.IsAppThemed && UxTheme.IsAppThemed() && UxTheme.IsThemeActive &&
           UxTheme.IsThemeActive();
}
