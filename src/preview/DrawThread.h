#pragma once
// The preview's drawing thread. It only paces frames: once at least 11 ms have passed
// since the previous frame started, it has the main thread draw the frame into its
// off-screen bitmap and copy that to the lamp column, then have the show window render.
// Everything but the pacing runs on the main thread, through Synchronize.
#include <atomic>
#include <functional>

#include "ui/Controls.h"
#include "ui/Graphics.h"
#include "ui/Threads.h"

class TDraw final : public TThread {
public:
    // Draws one frame into the bitmap, given the milliseconds since the previous frame
    // started.
    using FrameMethod = std::function<void(unsigned elapsedMs, TBitmap* frame)>;

    // Creates the bitmap (the target's width by the screen's height) filled with the
    // button face colour, and starts the thread.
    TDraw(TControl* target, FrameMethod drawFrame);
    // Stops the thread (serving a frame it waits for without drawing it), then frees the
    // bitmap.
    ~TDraw() override;

    // Runs the frame method with the elapsed time (main thread).
    void DrawFrame();
    // Copies the whole bitmap to the target's place in its parent window, then lets the
    // show window render (main thread).
    void BlitFrame();
    // Fills the bitmap with the button face colour (main thread).
    void ClearFrame();

    TBitmap* Frame() { return &bitmap_; }

protected:
    void Execute() override;

private:
    TControl* target_;  // not owned
    FrameMethod drawFrame_;
    TBitmap bitmap_;
    std::atomic<unsigned> elapsedMs_{0};
};
