#include "preview/DrawThread.h"

#include "preview/UnitShow.h"
#include "ui/Forms.h"

namespace {
constexpr DWORD kFrameMs = 11;
constexpr DWORD kIdleSleepMs = 10;
} // namespace

TDraw::TDraw(TControl* target, FrameMethod drawFrame) : target_(target), drawFrame_(std::move(drawFrame))
{
    bitmap_.SetSize(target_->Width(), Screen->Height());
    ClearFrame();
    Start();
}

TDraw::~TDraw() { TerminateAndWait(); }

void TDraw::Execute()
{
    DWORD start = GetTickCount();
    while (!Terminated()) {
        DWORD elapsed = GetTickCount() - start;
        elapsedMs_ = elapsed;
        if (elapsed >= kFrameMs) {
            start = GetTickCount();
            Synchronize([this] { DrawFrame(); });
            Synchronize([this] { BlitFrame(); });
        } else {
            Sleep(kIdleSleepMs);
        }
    }
}

// A frame that the thread asked for before it was told to stop is served by the
// destructor's wait; it must not draw any more, the windows around may be going.
void TDraw::DrawFrame()
{
    if (!Terminated() && drawFrame_)
        drawFrame_(elapsedMs_, &bitmap_);
}

void TDraw::BlitFrame()
{
    if (Terminated())
        return;
    TWinControl* parent = target_->Parent();
    if (parent && parent->HandleAllocated() && !bitmap_.Empty()) {
        HDC dc = GetDC(parent->Handle());
        BitBlt(dc, target_->Left(), target_->Top(), bitmap_.Width(), bitmap_.Height(), bitmap_.Canvas()->Handle(), 0,
               0, SRCCOPY);
        ReleaseDC(parent->Handle(), dc);
    }
    if (FormShow)
        FormShow->RenderFrame();
}

void TDraw::ClearFrame()
{
    TCanvas* canvas = bitmap_.Canvas();
    canvas->Brush.Color = clBtnFace;
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->FillRect(Rect(0, 0, bitmap_.Width(), bitmap_.Height()));
}
