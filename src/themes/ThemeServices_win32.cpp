#include "themes/ThemeServices.h"

#include <shlwapi.h>

#include <memory>

#include "themes/ThemeLibrary.h"
#include "ui/Application.h"
#include "ui/PaintScopes.h"

namespace {

// The common-controls library our controls are made by (the one that serves
// InitCommonControlsEx), as major * 65536 + minor from its DllGetVersion.
DWORD CommonControlsVersion()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&InitCommonControlsEx), &module))
        return 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info)))
        return 0;
    return info.dwMajorVersion * 0x10000 + info.dwMinorVersion;
}

bool RunningOnWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Whether the common controls draw with the visual style themselves, so that ours may
// too: version 6 of the library does, earlier ones do not. Wine's common controls draw
// with the active style in every process, yet their DllGetVersion answers 5.81 (with or
// without the version-6 manifest, in the 64- and 32-bit builds alike).
bool CommonControlsDrawStyles()
{
    return CommonControlsVersion() >= 0x60000 || RunningOnWine();
}

} // namespace

TThemeServices::TThemeServices(TApplication* application)
{
    if (application && application->Handle()) {
        application_ = application;
        window_ = application->Handle();
        hookId_ = application->HookMainWindow([this](TMessage& message) { return WindowHook(message); });
    }
    themesAvailable_ = InitThemeLibrary();
    UpdateThemes();
}

TThemeServices::~TThemeServices()
{
    Unhook();
    UnloadThemeData();
    FreeThemeLibrary();
}

void TThemeServices::Unhook()
{
    if (hookId_) {
        application_->UnhookMainWindow(hookId_);
        hookId_ = 0;
    }
}

bool TThemeServices::WindowHook(TMessage& message)
{
    if (message.Msg == WM_DESTROY) {
        Unhook();  // the window goes away
    } else if (message.Msg == WM_THEMECHANGED) {
        UpdateThemes();
        DoOnThemeChange();
    }
    return false;  // the window handles the message as usual
}

void TThemeServices::DoOnThemeChange()
{
    if (OnThemeChange)
        OnThemeChange(this);
}

HTHEME TThemeServices::Theme(TThemedElement element)
{
    HTHEME& handle = themeHandles_[element];
    if (themesInUse_ && !handle && UxTheme.OpenThemeData)
        handle = UxTheme.OpenThemeData(window_, ThemedElements[element].ClassName);
    return handle;
}

void TThemeServices::UnloadThemeData()
{
    if (window_ && !IsWindow(window_))
        return;
    for (HTHEME& handle : themeHandles_) {
        if (handle && UxTheme.CloseThemeData)
            UxTheme.CloseThemeData(handle);
        handle = nullptr;
    }
}

void TThemeServices::UpdateThemes()
{
    if (themesInUse_)
        UnloadThemeData();
    themesInUse_ = UseThemes() && CommonControlsDrawStyles();
    controlsEnabled_ = themesInUse_ && UxTheme.GetThemeAppProperties &&
                       (UxTheme.GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

TColor TThemeServices::ColorToRGB(TColor color, const TThemedElementDetails* details)
{
    if ((color & 0xFF000000u) != clSystemColor)
        return color;
    if (!details || !UxTheme.GetThemeSysColor)
        return ::ColorToRGB(color);
    return UxTheme.GetThemeSysColor(Theme(details->Element), static_cast<int>(color & 0xFF));
}

TRect TThemeServices::ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& boundingRect)
{
    RECT bounds = boundingRect.ToRECT();
    RECT content = bounds;
    if (UxTheme.GetThemeBackgroundContentRect)
        UxTheme.GetThemeBackgroundContentRect(Theme(details.Element), dc, details.Part, details.State, &bounds,
                                              &content);
    return TRect::From(content);
}

HRESULT TThemeServices::DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& r, UINT edge,
                                 UINT flags, TRect* contentRect)
{
    if (!UxTheme.DrawThemeEdge)
        return E_NOTIMPL;
    RECT rect = r.ToRECT();
    RECT content{};
    HRESULT result = UxTheme.DrawThemeEdge(Theme(details.Element), dc, details.Part, details.State, &rect, edge,
                                           flags, contentRect ? &content : nullptr);
    if (contentRect)
        *contentRect = TRect::From(content);
    return result;
}

HRESULT TThemeServices::DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& r,
                                    const TRect* clipRect)
{
    if (!UxTheme.DrawThemeBackground)
        return E_NOTIMPL;
    RECT rect = r.ToRECT();
    RECT clip = clipRect ? clipRect->ToRECT() : RECT{};
    return UxTheme.DrawThemeBackground(Theme(details.Element), dc, details.Part, details.State, &rect,
                                       clipRect ? &clip : nullptr);
}

HRESULT TThemeServices::DrawIcon(HDC dc, const TThemedElementDetails& details, const TRect& r, HIMAGELIST images,
                                 int index)
{
    if (!UxTheme.DrawThemeIcon)
        return E_NOTIMPL;
    RECT rect = r.ToRECT();
    return UxTheme.DrawThemeIcon(Theme(details.Element), dc, details.Part, details.State, &rect, images, index);
}

HRESULT TThemeServices::DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text,
                                 const TRect& r, DWORD flags, DWORD flags2)
{
    if (!UxTheme.DrawThemeText)
        return E_NOTIMPL;
    RECT rect = r.ToRECT();
    return UxTheme.DrawThemeText(Theme(details.Element), dc, details.Part, details.State, text.c_str(),
                                 static_cast<int>(text.size()), flags, flags2, &rect);
}

bool TThemeServices::HasTransparentParts(const TThemedElementDetails& details)
{
    return UxTheme.IsThemeBackgroundPartiallyTransparent &&
           UxTheme.IsThemeBackgroundPartiallyTransparent(Theme(details.Element), details.Part, details.State);
}

HRESULT TThemeServices::DrawParentBackground(HWND window, HDC target, const TThemedElementDetails* details,
                                             bool onlyIfTransparent, const TRect* bounds)
{
    if (!UxTheme.DrawThemeParentBackground)
        return E_NOTIMPL;
    if (onlyIfTransparent && details && !HasTransparentParts(*details))
        return S_OK;
    RECT rect = bounds ? bounds->ToRECT() : RECT{};
    return UxTheme.DrawThemeParentBackground(window, target, bounds ? &rect : nullptr);
}

void TThemeServices::PaintBorder(TWinControl* control, bool eraseLRCorner)
{
    if (!control->HandleAllocated())
        return;
    HWND window = control->Handle();
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        return;
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    WindowDCScope dc(window);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    if (eraseLRCorner && (style & WS_HSCROLL) && (style & WS_VSCROLL)) {
        RECT corner{r.right - 2 - GetSystemMetrics(SM_CXVSCROLL), r.bottom - 2 - GetSystemMetrics(SM_CYHSCROLL),
                    r.right - 2, r.bottom - 2};
        FillRect(dc.DC(), &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(dc.DC(), r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    DrawElement(dc.DC(), GetElementDetails(teEditTextNormal), TRect::From(r));
}

TThemeServices* ThemeServices()
{
    static std::unique_ptr<TThemeServices> services(new TThemeServices(Application));
    return services.get();
}
