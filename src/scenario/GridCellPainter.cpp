#include "scenario/GridCellPainter.h"

#include <algorithm>

#include "scenario/ScenarioTotals.h"
#include "ui/SysUtils.h"

using namespace grid_colors;

namespace {

constexpr uint32_t kBlack = 0x000000;

void CentredText(CellCanvas& canvas, const CellBox& box, const std::string& text)
{
    int x = box.left + (box.Width() - canvas.TextWidth(text)) / 2;
    int y = box.top + (box.Height() - canvas.TextHeight(text)) / 2;
    canvas.TextRect(box, x, y, text);
}

// 4 pixels from the right edge of column 0 (whose left edge is 0).
void RightText(CellCanvas& canvas, const CellBox& box, const std::string& text)
{
    int x = box.left + box.right - 4 - canvas.TextWidth(text);
    int y = box.top + (box.Height() - canvas.TextHeight(text)) / 2;
    canvas.TextRect(box, x, y, text);
}

// The labels are kept ascending.
bool HasLabel(const ScenarioSnapshot& scn, int col)
{
    return col > 0 && std::binary_search(scn.labels.begin(), scn.labels.end(), static_cast<uint16_t>(col));
}

void PaintStepNumber(CellCanvas& canvas, const GridPaintContext& ctx, int col, const CellBox& box)
{
    bool label = HasLabel(*ctx.scenario, col);
    if (col == ctx.playColumn)
        canvas.SetBrush(label ? kPlayLabelHeader : kPlayHeader);
    else if (label)
        canvas.SetBrush(kLabelHeader);
    if (col == 0)
        RightText(canvas, box, "Номер шага");
    else
        CentredText(canvas, box, IntToStr(col));
}

void PaintStepTime(CellCanvas& canvas, const GridPaintContext& ctx, int col, const CellBox& box)
{
    if (ctx.timeInMs)
        canvas.SetBrush(kTimeInMs);
    if (col == 0) {
        RightText(canvas, box, ctx.timeInMs ? "Время, мс." : "Время");
        return;
    }
    canvas.SetFont(false, kBlack);
    CentredText(canvas, box, FormatStepTime(StepTime(*ctx.scenario, col), ctx.timeInMs, ctx.msPerUnit));
}

// The loops row: a bar under the columns of each loop, rounded at its ends, its first
// column carrying the repeat count ("N" for an endless loop). Every loop that shows in
// the column is drawn, in list order, whatever order the list has.
void PaintLoops(CellCanvas& canvas, const GridPaintContext& ctx, int col, const CellBox& box)
{
    if (col == 0) {
        canvas.SetBrush(kLoopsRow);
        RightText(canvas, box, "Циклы");
        return;
    }
    canvas.SetFont(true, kLoopText);
    canvas.SetPen(kLoopBar, 1);
    canvas.SetBrush(kLoopsRow);
    canvas.TextRect(box, box.left, box.top, "");
    int middle = (box.left + box.right) / 2;
    int corner = box.Height() / 2;
    LoopRowIndex ownIndex;
    LoopRowIndex& index = ctx.loopRows ? *ctx.loopRows : ownIndex;
    index.ForEachShown(ctx.scenario->loops, col, [&](const LoopRecord& loop) {
        bool endless = loop.repeatCount == kEndlessLoop;
        uint32_t color = endless ? kEndlessLoopBar : kLoopBar;
        if (loop.firstColumn == col) {
            canvas.SetPen(color, 1);
            canvas.SetBrush(color);
            std::string text = endless ? "N" : IntToStr(loop.repeatCount);
            canvas.RoundRect(box, corner, corner);
            if (loop.lastColumn != col)
                canvas.FillRect(CellBox{middle, box.top, box.right, box.bottom});
            canvas.TextOut(box.left + (box.Width() - canvas.TextWidth(text)) / 2,
                           box.top + (box.Height() - canvas.TextHeight(text)) / 2, text);
            return;
        }
        if (loop.lastColumn == col) {
            canvas.SetPen(color, 1);
            canvas.SetBrush(color);
            canvas.RoundRect(box, corner, corner);
            canvas.FillRect(CellBox{box.left, box.top, middle, box.bottom});
        }
        if (loop.firstColumn < col && col < loop.lastColumn) {
            canvas.SetBrush(color);
            canvas.FillRect(box);
        }
    });
}

void PaintChannelName(CellCanvas& canvas, const GridPaintContext& ctx, int row, const CellBox& box)
{
    int channel = row - kFixedRows;
    ChannelLook look = ctx.channel ? ctx.channel(channel) : ChannelLook{"", 0xFFFFFF, false};
    CellBox number{box.left, box.top, box.left + kChannelNumberWidth, box.bottom};
    canvas.SetFont(false, kBlack);
    canvas.SetBrush(look.color);
    CentredText(canvas, number, IntToStr(channel + 1));
    CellBox name{box.left + kChannelNumberWidth, box.top, box.right, box.bottom};
    canvas.SetBrush(row == ctx.currentRow ? kPlayHeader : kColorBtnFace);
    canvas.SetFont(true, kBlack);
    CentredText(canvas, name, look.name ? look.name : "");
    canvas.SetPen(kBlack, 1);
    canvas.Line(box.left + kChannelNumberWidth, box.top, box.left + kChannelNumberWidth, box.bottom);
}

void PaintFixedCell(CellCanvas& canvas, const GridPaintContext& ctx, int col, int row, const CellBox& box)
{
    canvas.SetFont(true, kBlack);
    canvas.SetBrush(row == 1 ? kColorBtnShadow : kColorBtnFace);
    switch (row) {
    case 0: PaintStepNumber(canvas, ctx, col, box); break;
    case 1: PaintStepTime(canvas, ctx, col, box); break;
    case 2: PaintLoops(canvas, ctx, col, box); break;
    default: PaintChannelName(canvas, ctx, row, box); break;
    }
}

// The clipboard cell the floating paste shows over (col, row), or -1.
int GhostValue(const GridPaintContext& ctx, int col, int row)
{
    const GridEditState& e = *ctx.edit;
    if (!e.FloatingPaste || e.PasteOffsetCol >= col || e.PasteOffsetRow >= row || e.MouseCol < kFixedCols ||
        e.MouseRow < kFixedRows)
        return -1;
    int sc = col - e.PasteOffsetCol, sr = row - e.PasteOffsetRow;
    // Cut steps float on beyond the column count that the cut left.
    if (sc < kFixedCols || sc >= kSnapshotColumns || sr < kFixedRows || sr >= ctx.rowCount)
        return -1;
    int16_t value = static_cast<int16_t>(e.Clipboard.Cell(sc, sr));
    return value >= 0 ? value : -1;
}

void PaintGlyph(CellCanvas& canvas, const GridPaintContext& ctx, int value, int l, int t, int r, int b)
{
    switch (value) {
    case 0: return;
    case kCellRampUp: {
        CellPoint p[] = {{l, b}, {r, t}, {r, b}};
        canvas.Polygon(p, 3);
        return;
    }
    case kCellRampDown: {
        CellPoint p[] = {{l, t}, {r, b}, {l, b}};
        canvas.Polygon(p, 3);
        return;
    }
    case kCellStrobe:
        for (int i = 1; i < r - l; i += 2)
            canvas.Line(l + i, b, l + i, t);
        return;
    default: {
        int levelMax = std::max(1, ctx.levelMax);
        int bar = std::max(1, (b - t) * std::min(value, levelMax) / levelMax);
        CellPoint p[] = {{l, b}, {l, b - bar}, {r, b - bar}, {r, b}};
        canvas.Polygon(p, 4);
        return;
    }
    }
}

void PaintStepCell(CellCanvas& canvas, const GridPaintContext& ctx, int col, int row, const CellBox& box)
{
    if (ctx.edit->Marks.At(col, row) != 0) {
        canvas.SetBrush(kSelectedBack);
        canvas.FillRect(box);
        canvas.SetBrush(kSelectedGlyph);
        canvas.SetPen(kSelectedGlyph, 1);
    } else {
        canvas.SetBrush(kCellBack);
        canvas.FillRect(box);
        ChannelLook look = ctx.channel ? ctx.channel(row - kFixedRows) : ChannelLook{"", 0xFFFFFF, false};
        uint32_t glyph = look.rgbGroup ? look.color : kGlyph;
        canvas.SetBrush(glyph);
        canvas.SetPen(glyph, 1);
    }
    int value = static_cast<int16_t>(ctx.scenario->Cell(col, row));
    int ghost = GhostValue(ctx, col, row);
    if (ghost >= 0) {
        canvas.SetBrush(kGhostBack);
        canvas.FillRect(box);
        canvas.SetPen(kGhostGlyph, 1);
        canvas.SetBrush(kGhostGlyph);
        value = ghost;
    }
    int l = box.left + 1, t = box.top + 1, r = box.right - 2, b = box.bottom - 2;
    PaintGlyph(canvas, ctx, value, l, t, r, b);
    if (ghost < 0 && col == ctx.currentCol && row == ctx.currentRow) {
        canvas.SetPen(kCurrentFrame, 2);
        CellPoint frame[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
        canvas.Polyline(frame, 5);
    }
}

} // namespace

void PaintGridCell(CellCanvas& canvas, const GridPaintContext& context, int col, int row, const CellBox& box)
{
    canvas.SetPen(kBlack, 1);
    canvas.SetFont(false, kBlack);
    if (col < kFixedCols || row < kFixedRows)
        PaintFixedCell(canvas, context, col, row, box);
    else
        PaintStepCell(canvas, context, col, row, box);
}
