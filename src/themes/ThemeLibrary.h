#pragma once
// The visual-styles library "uxtheme.dll", bound at run time so that the program starts
// and runs where it is missing: there every themed path falls back to classic drawing.
// The library is loaded on the first InitThemeLibrary and unloaded when the last one is
// matched by FreeThemeLibrary; the entry points live in one table. Callers test
// UseThemes (or the theme services' ThemesEnabled) before they call an entry point.
#include <windows.h>

#include <uxtheme.h>

#define PELVOR_THEME_ENTRY_POINTS(X)                                                                  \
    X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeText)                         \
    X(GetThemeBackgroundContentRect) X(GetThemeBackgroundExtent) X(GetThemePartSize)                   \
    X(GetThemeTextExtent) X(GetThemeTextMetrics) X(GetThemeBackgroundRegion)                           \
    X(HitTestThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon) X(IsThemePartDefined)                  \
    X(IsThemeBackgroundPartiallyTransparent) X(GetThemeColor) X(GetThemeMetric) X(GetThemeString)      \
    X(GetThemeBool) X(GetThemeInt) X(GetThemeEnumValue) X(GetThemePosition) X(GetThemeFont)            \
    X(GetThemeRect) X(GetThemeMargins) X(GetThemeIntList) X(GetThemePropertyOrigin) X(SetWindowTheme)  \
    X(GetThemeFilename) X(GetThemeSysColor) X(GetThemeSysColorBrush) X(GetThemeSysBool)                \
    X(GetThemeSysSize) X(GetThemeSysFont) X(GetThemeSysString) X(GetThemeSysInt) X(IsThemeActive)      \
    X(IsAppThemed) X(GetWindowTheme) X(EnableThemeDialogTexture) X(IsThemeDialogTextureEnabled)        \
    X(GetThemeAppProperties) X(SetThemeAppProperties) X(GetCurrentThemeName)                           \
    X(GetThemeDocumentationProperty) X(DrawThemeParentBackground) X(EnableTheming)

// One pointer per entry point, with the platform's signature and calling convention;
// null while the library is not loaded, or when it lacks that entry point.
struct ThemeLibraryEntryPoints {
#define PELVOR_THEME_POINTER(name) decltype(&::name) name = nullptr;
    PELVOR_THEME_ENTRY_POINTS(PELVOR_THEME_POINTER)
#undef PELVOR_THEME_POINTER
};

// Written only while InitThemeLibrary and FreeThemeLibrary hold their lock; read by the
// main thread, the only one that draws themed controls.
extern ThemeLibraryEntryPoints UxTheme;

// Counts a request and loads the library when it is not loaded; the request counts even
// when the library is missing and must be released all the same. True when loaded.
bool InitThemeLibrary();
// Releases a request; the last one unloads the library and clears every entry point.
void FreeThemeLibrary();
bool ThemeLibraryLoaded();
// The library is loaded, the application is themed and a visual style is active.
bool UseThemes();
