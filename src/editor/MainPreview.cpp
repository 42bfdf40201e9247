// The preview: the launch and show buttons, one frame of playback with the lamps it
// draws, and the drawing thread that paces the frames.
#include "editor/UnitMain.h"
#include "preview/DrawThread.h"
#include "preview/UnitShow.h"
#include "ui/Application.h"

namespace {

// The main window as the preview's playback sees it.
class MainPreviewHost : public PreviewHost {
public:
    explicit MainPreviewHost(TFormMain& form) : form_(form) {}
    const ScenarioSnapshot& Scenario() override { return form_.Scn(); }
    int ColumnCount() override { return form_.Grid->ColCount(); }
    bool Running() override { return form_.SpeedButtonLaunch->Down(); }
    double MsPerTimeUnit() override { return form_.MsPerTimeUnit; }
    void ColumnAdvanced(int previous, int column) override
    {
        for (int c : {previous, column})
            form_.GridDrawCell(form_.Grid, c, 0, form_.Grid->CellRect(c, 0), 0);
        form_.Grid->Repaint();
        Application->ProcessMessages();
    }

private:
    TFormMain& form_;
};

} // namespace

void TFormMain::SpeedButtonLaunchClick(TObject*)
{
    if (!SpeedButtonLaunch->Down())
        return;
    int firstStep = Grid->FixedCols(), lastStep = Grid->ColCount() - 1;
    PlayColumn = Grid->Col();
    PreviewFirstColumn = firstStep;
    PreviewLastColumn = lastStep;
    bool selected = false;
    for (int c = firstStep; c <= lastStep; ++c) {
        if (SelectionMark(c, 1)) {
            PreviewLastColumn = c;
            if (!selected)
                PreviewFirstColumn = c;
            selected = true;
        }
    }
    // No selected column, or only one: the whole scenario plays.
    if (PreviewFirstColumn == PreviewLastColumn) {
        PreviewFirstColumn = firstStep;
        PreviewLastColumn = lastStep;
    }
    PreviewTick(0, nullptr, true);
}

void TFormMain::SpeedButtonShowClick(TObject*)
{
    if (!FormShow)
        return;
    if (SpeedButtonShow->Down()) {
        LayoutShowWindow();
        FormShow->Show();
    } else {
        FormShow->Close();
    }
}

void TFormMain::LayoutShowWindow() { FormShow->SetupLayout(Config, Params); }

void TFormMain::PreviewTick(unsigned elapsedMs, TBitmap* frame, bool reset)
{
    if (reset) {
        Preview.Reset();
        return;
    }
    MainPreviewHost host(*this);
    PreviewFrame now = Preview.Advance(elapsedMs, PlayPosition{PlayColumn, PreviewFirstColumn, PreviewLastColumn},
                                       Params.levelMax, host);
    if (!now.draw)
        return;
    // Kept between frames, so the lamp shapes it has worked out serve every frame.
    LampColumn& column = PreviewLamps;
    column.frame = frame && !frame->Empty() ? PixelView{frame->ScanLine(0), frame->Width(), frame->Height()}
                                            : PixelView{};
    column.width = ImageShapes->Width();
    column.rows = ChannelRowSpans;
    column.hiddenRows = Grid->TopRow() - Grid->FixedRows();
    column.levelMax = Params.levelMax;
    ForEachLampLevel(
        Scn(), PlayColumn, Config.channels, Config.channelTable, now, Params.levelMax,
        [&](int channel, int level) { DrawChannelLamp(channel, level, column); },
        [&](int first, int red, int green, int blue) { DrawRgbLamp(first, red, green, blue, column); });
}

void TFormMain::DrawChannelLamp(int channel, int level, const LampColumn& column)
{
    if (FormShow)
        FormShow->SetLevel(channel, level);
    column.DrawChannel(channel, level, Config.channelTable[channel].color);
}

void TFormMain::DrawRgbLamp(int first, int red, int green, int blue, const LampColumn& column)
{
    if (FormShow) {
        FormShow->SetLevel(first, red);
        FormShow->SetLevel(first + 1, green);
        FormShow->SetLevel(first + 2, blue);
    }
    column.DrawRgb(first, red, green, blue);
}

void TFormMain::CreateDrawThread()
{
    DrawThread = new TDraw(ImageShapes, [this](unsigned elapsedMs, TBitmap* frame) {
        PreviewTick(elapsedMs, frame, false);
    });
}

void TFormMain::DestroyDrawThread()
{
    delete DrawThread;
    DrawThread = nullptr;
}

void TFormMain::ClearPreviewFrame()
{
    if (DrawThread)
        DrawThread->ClearFrame();
}
