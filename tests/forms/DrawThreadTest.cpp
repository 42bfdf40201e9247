// The preview's drawing thread: frames keep coming while a modal form or a system message
// box runs its own message loop, destroying the thread while it waits for a frame neither
// deadlocks nor draws, and a frame reaches the lamp column's window.
#include <gtest/gtest.h>

#include "preview/DrawThread.h"
#include "support/WaitUntil.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Messages.h"

namespace {

constexpr UINT kGiveUpMs = 10000;

class DrawThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TForm(Application);
        form->SetBounds(50, 50, 300, 300);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(200, 0, 40, 250);
        panel->SetBevelOuter(bvNone);
        box = new TPaintBox(form);
        box->SetParent(panel);
        box->SetBounds(0, 0, 40, 250);
    }
    void TearDown() override
    {
        delete draw;
        TComponent::Free(form);
    }
    void StartCounting(std::function<void()> onFrame = {})
    {
        draw = new TDraw(box, [this, onFrame](unsigned, TBitmap*) {
            ++frames;
            if (onFrame)
                onFrame();
        });
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TPaintBox* box = nullptr;
    TDraw* draw = nullptr;
    int frames = 0;
};

TEST_F(DrawThreadTest, FramesKeepComingWhileAModalFormIsShown)
{
    TForm* dialog = new TForm(Application);
    int framesAtShow = -1;
    StartCounting([&] {
        if (dialog->IsModal() && framesAtShow >= 0 && frames >= framesAtShow + 3)
            dialog->ModalResult = mrOk;
    });
    auto* giveUp = new TTimer(dialog);
    giveUp->SetInterval(kGiveUpMs);
    giveUp->OnTimer = [&](TObject*) { dialog->ModalResult = mrAbort; };
    dialog->OnShow = [&](TObject*) { framesAtShow = frames; };
    EXPECT_EQ(dialog->ShowModal(), mrOk) << "no frame ran inside the modal loop";
    TComponent::Free(dialog);
}

// The system's own message box loop serves the frames too.
TEST_F(DrawThreadTest, FramesKeepComingInsideASystemMessageBox)
{
    static bool gaveUp;
    gaveUp = false;
    int framesInBox = 0;
    auto closeBox = [] {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(w, cls, 16);
                if (wcscmp(cls, L"#32770") == 0)
                    PostMessageW(w, WM_COMMAND, IDOK, 0);
                return TRUE;
            },
            0);
    };
    bool inBox = false;
    StartCounting([&] {
        if (inBox && ++framesInBox == 3)
            closeBox();
    });
    UINT_PTR timer = SetTimer(nullptr, 0, kGiveUpMs, [](HWND, UINT, UINT_PTR, DWORD) {
        gaveUp = true;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                PostMessageW(w, WM_COMMAND, IDOK, 0);
                return TRUE;
            },
            0);
    });
    inBox = true;
    int answer = MessageBoxW(nullptr, L"frames", L"preview", MB_OK);
    inBox = false;
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, IDOK);
    EXPECT_FALSE(gaveUp) << "no frame ran inside the message box";
    EXPECT_GE(framesInBox, 3);
}

TEST_F(DrawThreadTest, DestroyedWhileAFrameWaitsWithoutDeadlockOrDrawing)
{
    StartCounting();
    // The main thread does not serve messages for a while, so the thread asks for a
    // frame and waits in Synchronize.
    MSG msg;
    ASSERT_TRUE(WaitUntil(
        [&] { return PeekMessageW(&msg, Application->Handle(), CM_SYNCHRONIZE, CM_SYNCHRONIZE, PM_NOREMOVE) != FALSE; },
        std::chrono::milliseconds(kGiveUpMs), std::chrono::milliseconds(10)))
        << "the thread never asked for a frame";
    int before = frames;
    delete draw;  // serves the waiting frame's request while it waits, draws nothing
    draw = nullptr;
    EXPECT_EQ(frames, before);
    Application->ProcessMessages();  // the request message left behind is harmless
    EXPECT_EQ(frames, before);
}

TEST_F(DrawThreadTest, EachFrameIsCopiedIntoTheLampColumnsWindow)
{
    form->Show();
    StartCounting();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 40; ++x)
            draw->Frame()->ScanLine(y)[x] = 0x00FF00;
    HDC dc = GetDC(panel->Handle());
    COLORREF seen = 0;
    DWORD start = GetTickCount();
    while ((seen = GetPixel(dc, 20, 50)) != RGB(0, 255, 0) && GetTickCount() - start < kGiveUpMs) {
        Application->ProcessMessages();
        Sleep(5);
    }
    ReleaseDC(panel->Handle(), dc);
    EXPECT_EQ(seen, RGB(0, 255, 0));
    EXPECT_GT(frames, 0);
}

} // namespace
