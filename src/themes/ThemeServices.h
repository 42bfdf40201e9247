#pragma once
// The theme services: whether controls are drawn with the platform's visual style, one
// theme handle per element class (opened on first use), and the library's drawing calls
// for an element's {part, state}. They watch the application's hidden window for the
// platform's theme-change message, read the state again and tell their listener. Main
// thread only. The drawing calls do not test ThemesEnabled themselves: callers do, and
// draw classically when it is false.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "themes/ThemedElements.h"
#include "ui/Controls.h"

class TApplication;

class TThemeServices : public TObject {
public:
    // Takes one reference to the visual-styles library for the object's life and, when
    // the application has its window, hooks that window's messages.
    explicit TThemeServices(TApplication* application);
    ~TThemeServices() override;
    TThemeServices(const TThemeServices&) = delete;
    TThemeServices& operator=(const TThemeServices&) = delete;

    bool ThemesAvailable() const { return themesAvailable_; }
    // The library is there, a style is in use and the application lets it draw controls.
    bool ThemesEnabled() const { return themesAvailable_ && themesInUse_ && controlsEnabled_; }
    // The element class's theme handle, opened on first use; null while no style is in
    // use or when the style has nothing for the class.
    HTHEME Theme(TThemedElement element);

    // Reads the state again after a theme change; handles of the old theme are closed.
    void UpdateThemes();
    // Closes every open handle (they open again on their next use). Once the window the
    // services were made for is gone, the handles are left alone.
    void UnloadThemeData();

    template <TThemedElement E>
    TThemedElementDetails GetElementDetails(TThemedValue<E> value) const
    {
        return ::GetElementDetails(value);
    }

    // A system colour as the element's theme has it (without details, or without the
    // library, the system's own colour); any other colour is returned unchanged.
    TColor ColorToRGB(TColor color, const TThemedElementDetails* details = nullptr);
    // The part of boundingRect that holds the element's content.
    TRect ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& boundingRect);
    HRESULT DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& r, UINT edge, UINT flags,
                     TRect* contentRect = nullptr);
    HRESULT DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& r, const TRect* clipRect = nullptr);
    HRESULT DrawIcon(HDC dc, const TThemedElementDetails& details, const TRect& r, HIMAGELIST images, int index);
    HRESULT DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text, const TRect& r,
                     DWORD flags, DWORD flags2);
    bool HasTransparentParts(const TThemedElementDetails& details);
    // Paints the parent's background of window into target. With onlyIfTransparent and
    // details, only when the element has transparent parts. details and bounds may be null.
    HRESULT DrawParentBackground(HWND window, HDC target, const TThemedElementDetails* details,
                                 bool onlyIfTransparent, const TRect* bounds);
    // Draws the themed edit-control border in the non-client area of a control with a
    // client edge; a grid (eraseLRCorner) also gets the corner between its scroll bars
    // filled.
    void PaintBorder(TWinControl* control, bool eraseLRCorner);

    TNotifyEvent OnThemeChange;

protected:
    virtual void DoOnThemeChange();

private:
    bool WindowHook(TMessage& message);
    void Unhook();

    bool themesAvailable_ = false;
    bool themesInUse_ = false;
    bool controlsEnabled_ = false;
    HWND window_ = nullptr;
    TApplication* application_ = nullptr;  // not owned
    int hookId_ = 0;                       // 0: not hooked
    HTHEME themeHandles_[ThemedElementCount] = {};
};

// The process's theme services, made on the first call for the application's window and
// freed at the end of the run.
TThemeServices* ThemeServices();
