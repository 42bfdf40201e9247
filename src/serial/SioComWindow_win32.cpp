// The port component's Win32 platform: the hidden window class "sioComWindow" whose
// procedure hands the dispatcher's notifications to the port, the built-in dispatchers
// and the port selection dialog.
#include <windows.h>

#include <memory>
#include <mutex>

#include "serial/SioComPortPlatform.h"
#include "serial/SioSelCom.h"
#include "serial/SioWin32Dispatcher.h"
#include "serial/SioWin32Services.h"

namespace {

const wchar_t kComWindowClass[] = L"sioComWindow";
// The timer that brings PortClosingMessage back; its lParam waits in the window's extra
// bytes meanwhile.
constexpr UINT_PTR kClosingTimer = PortClosingMessage;

LRESULT CALLBACK ComWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == kClosingTimer) {
        KillTimer(hwnd, kClosingTimer);
        msg = PortClosingMessage;
        wParam = 0;
        lParam = GetWindowLongW(hwnd, 0);
    }
    if (!IsSioComWindowMessage(msg))
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return SioComWindowProc(reinterpret_cast<SioWindow>(hwnd), msg, wParam, lParam);
    } catch (...) {
        return 0;  // the port handles its own exceptions; nothing crosses the procedure
    }
}

class Win32Platform : public SioComPortPlatform {
public:
    SioWindow CreateComWindow() override
    {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        std::call_once(registered_, [instance] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ComWindowProc;
            wc.cbWndExtra = 4;
            wc.hInstance = instance;
            wc.lpszClassName = kComWindowClass;
            RegisterClassW(&wc);
        });
        HWND hwnd = CreateWindowExW(0, kComWindowClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
        return reinterpret_cast<SioWindow>(hwnd);
    }
    void DestroyComWindow(SioWindow window) override { DestroyWindow(reinterpret_cast<HWND>(window)); }
    void PostComMessage(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) override
    {
        PostMessageW(reinterpret_cast<HWND>(window), msg, wParam, static_cast<LPARAM>(lParam));
    }
    void PostClosingMessageLater(SioWindow window, int32_t lParam) override
    {
        HWND hwnd = reinterpret_cast<HWND>(window);
        SetWindowLongW(hwnd, 0, lParam);
        SetTimer(hwnd, kClosingTimer, 10, nullptr);
    }
    std::unique_ptr<TSioBaseDispatcher> CreateDispatcher(TComponent* owner, bool tapi, intptr_t tapiHandle) override
    {
        if (tapi)
            return std::make_unique<TSioTAPI32Dispatcher>(owner, tapiHandle);
        return std::make_unique<TSioWin32Dispatcher>(owner);
    }
    uint16_t SelectComPort() override
    {
        auto* form = new TComSelectForm(nullptr);
        FreeScope free(form);
        return form->ShowModal() == mrOk ? form->SelectedComNum() : 0;
    }

private:
    std::once_flag registered_;
};

} // namespace

SioComPortPlatform& Win32ComPortPlatform()
{
    static Win32Platform platform;
    return platform;
}
