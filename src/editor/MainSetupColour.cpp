// The effects box's gradient and colour tools: levels computed for many cells at once
// and written into the marked cells of the current scenario.
#include "editor/UnitMain.h"
#include "scenario/ColourAndGradient.h"
#include "setup/UnitGradient.h"

namespace {
CellMarked MarksOf(TFormMain* form)
{
    return [form](int column, int row) { return form->SelectionMark(column, row) != 0; };
}
} // namespace

void TFormMain::SpeedButtonGradientClick(TObject*)
{
    MarkedColumns marked = FindMarkedColumns(MarksOf(this), Grid->ColCount(), Grid->RowCount());
    TFormGradient* dialog = FormGradient;
    dialog->Maximum = Params.levelMax;
    dialog->SetBounds(Left() + Width() / 2 - dialog->Width() / 2, Top() + Height() / 2 - dialog->Height() / 2,
                      dialog->Width(), dialog->Height());
    if (marked.first >= 1 && marked.row >= kFirstChannelRow) {
        dialog->BeginPreset = static_cast<int16_t>(Scn().Cell(marked.first, marked.row));
        dialog->EndPreset = static_cast<int16_t>(Scn().Cell(marked.last, marked.row));
    }
    if (dialog->ShowModal() == mrOk)
        ApplyGradient(dialog->BeginValue, dialog->EndValue);
}

void TFormMain::ApplyGradient(int beginValue, int endValue)
{
    MarkedColumns marked = FindMarkedColumns(MarksOf(this), Grid->ColCount(), Grid->RowCount());
    // A gradient runs between two steps: with fewer there is nothing to change.
    if (marked.first < 1 || marked.last <= marked.first)
        return;
    PushUndo();
    WriteGradient(Scn(), MarksOf(this), Grid->ColCount(), Grid->RowCount(), beginValue, endValue);
    Grid->Invalidate();
    UpdateControls();
}

void TFormMain::SpeedButtonColorRGBClick(TObject*)
{
    int firstRow = RgbGroupFirstRow(Grid->Row());
    RgbLevels levels = ReadRgbCells(Scn(), firstRow, Grid->Col(), Grid->RowCount());
    ColorDialog1->Color = LevelsToColour(levels, Params.levelMax);
    if (ColorDialog1->Execute())
        ApplyRgbColour(static_cast<int>(ColorDialog1->Color));
}

void TFormMain::ApplyRgbColour(int colour)
{
    PushUndo();
    RgbLevels levels = ColourToLevels(static_cast<uint32_t>(colour), Params.levelMax);
    auto inRgbGroup = [this](int channel) {
        return channel >= 0 && channel < kMaxChannels && Config.channelTable[channel].rgbGroup != 0;
    };
    ForEachRgbTarget(MarksOf(this), inRgbGroup, Grid->ColCount(), Grid->RowCount(), Grid->Col(), Grid->Row(),
                     [&](int firstRow, int column) {
                         SetRgbCells(firstRow, column, levels.red, levels.green, levels.blue);
                     });
    UpdateControls();
}

void TFormMain::SetRgbCells(int firstRow, int column, int red, int green, int blue)
{
    int written = WriteRgbCells(Scn(), firstRow, column, Grid->RowCount(), RgbLevels{red, green, blue});
    for (int i = 0; i < written; ++i)
        Grid->InvalidateCell(column, firstRow + i);
}
