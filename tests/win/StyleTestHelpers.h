#pragma once
// Helpers of the visual-style manager's tests: a manager for one test, a recorder put
// beneath a control's handler, pictures of DCs and windows, and screenshots saved where
// the run says (PELVOR_SCREENSHOTS).
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ThemeTestStyle.h"
#include "UiTestHelpers.h"
#include "themes/ThemeServices.h"
#include "themes/VisualStyleMgr.h"

// A manager owned by the application, so that the forms of the tests announce
// themselves to it; freed with the test.
struct TestManager {
    TestManager() : manager(new TVisualStyleManager(Application)) { manager->Loaded(); }
    ~TestManager() { TComponent::Free(manager); }
    TVisualStyleManager* operator->() const { return manager; }
    // Every control any list holds.
    int Entries() const
    {
        int n = 0;
        for (int kind = 0; kind < StyleListCount; ++kind)
            n += manager->List(static_cast<TStyleList>(kind))->Count();
        return n;
    }
    bool Holds(TStyleList kind, TControl* control) const
    {
        int index;
        return manager->List(kind)->Find(control, index);
    }
    TVisualStyleManager* manager;
};

// Sits beneath whatever handles a control's messages (put in before the manager
// subclasses it) and records the messages that reach the control's own handling. The
// record outlives the recorder, as the control may outlive it.
struct MessageRecorder {
    explicit MessageRecorder(TControl* control) : messages(std::make_shared<std::vector<TMessage>>())
    {
        TWndMethod own = control->WindowProc;
        std::shared_ptr<std::vector<TMessage>> record = messages;
        control->WindowProc = [record, own](TMessage& m) {
            record->push_back(m);
            own(m);
        };
    }
    int Count(UINT msg) const
    {
        int n = 0;
        for (const TMessage& m : *messages)
            n += m.Msg == msg;
        return n;
    }
    // The first parameters of the messages msg that came.
    std::vector<WPARAM> WParams(UINT msg) const
    {
        std::vector<WPARAM> params;
        for (const TMessage& m : *messages)
            if (m.Msg == msg)
                params.push_back(m.WParam);
        return params;
    }
    std::shared_ptr<std::vector<TMessage>> messages;
};

inline const COLORREF kMagenta = RGB(255, 0, 255);  // a colour no style draws with

// The pixels (0x00RRGGBB) of a bitmap filled with magenta (or another background) after
// draw has drawn on it.
inline std::vector<uint32_t> DrawnPixels(int w, int h, const std::function<void(HDC)>& draw,
                                         TColor background = kMagenta)
{
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush.Color = background;
    bitmap.Canvas()->FillRect(Rect(0, 0, w, h));
    draw(bitmap.Canvas()->Handle());
    GdiFlush();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        pixels.insert(pixels.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + w);
    return pixels;
}

inline uint32_t RGBOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// What the screen shows of a window (its whole area), as 0x00RRGGBB pixels.
struct WindowPicture {
    explicit WindowPicture(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        RECT r;
        GetWindowRect(window, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
        bitmap.SetSize(width, height);
        HDC screen = GetDC(nullptr);
        BitBlt(bitmap.Canvas()->Handle(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
        origin = r;
    }
    uint32_t At(int x, int y) { return bitmap.ScanLine(y)[x] & 0xFFFFFF; }
    // A pixel of a child control, in the control's window coordinates.
    uint32_t AtControl(HWND control, int x, int y)
    {
        RECT r;
        GetWindowRect(control, &r);
        return At(r.left - origin.left + x, r.top - origin.top + y);
    }
    // Saves the picture as a .bmp in the screenshot folder of the run (when set).
    std::string Save(const std::string& name)
    {
        const char* folder = std::getenv("PELVOR_SCREENSHOTS");
        if (!folder)
            return std::string();
        CreateDirectoryA(folder, nullptr);
        std::string path = std::string(folder) + "\\" + name + (StyleActiveRun() ? "-styled" : "-classic") + ".bmp";
        // 24 bits per pixel: the screen's fourth byte is no transparency.
        const int stride = (width * 3 + 3) & ~3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&file, sizeof file, 1, f);
            std::fwrite(&info, sizeof info, 1, f);
            std::vector<unsigned char> row(static_cast<size_t>(stride), 0);
            for (int y = 0; y < height; ++y) {
                const uint32_t* pixels = bitmap.ScanLine(y);
                for (int x = 0; x < width; ++x) {
                    row[static_cast<size_t>(x * 3)] = static_cast<unsigned char>(pixels[x]);
                    row[static_cast<size_t>(x * 3 + 1)] = static_cast<unsigned char>(pixels[x] >> 8);
                    row[static_cast<size_t>(x * 3 + 2)] = static_cast<unsigned char>(pixels[x] >> 16);
                }
                std::fwrite(row.data(), 1, row.size(), f);
            }
            std::fclose(f);
        }
        return path;
    }
    TBitmap bitmap;
    int width = 0, height = 0;
    RECT origin{};
};
