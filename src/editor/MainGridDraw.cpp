// The step grid's drawing and geometry: every cell painted from the scenario, single
// cells repainted at once, the zoom with its buttons, and the channel rows' positions
// for the lamps beside the grid.
#include "editor/UnitMain.h"
#include "scenario/GridCellPainter.h"

namespace {

// The cell painter's canvas over the grid's canvas.
class GridCanvas : public CellCanvas {
public:
    explicit GridCanvas(TCanvas& canvas) : c_(canvas) {}
    void SetBrush(uint32_t color) override
    {
        c_.Brush.Color = color;
        c_.Brush.Style = TBrushStyle::bsSolid;
    }
    void SetPen(uint32_t color, int width) override
    {
        c_.Pen.Color = color;
        c_.Pen.Width = width;
        c_.Pen.Style = TPenStyle::psSolid;
    }
    void SetFont(bool bold, uint32_t color) override
    {
        c_.Font.Style = bold ? fsBold : 0u;
        c_.Font.Color = color;
    }
    void FillRect(const CellBox& b) override { c_.FillRect(ToRect(b)); }
    void TextRect(const CellBox& b, int x, int y, const std::string& text) override
    {
        c_.TextRect(ToRect(b), x, y, text);
    }
    void TextOut(int x, int y, const std::string& text) override { c_.TextOut(x, y, text); }
    int TextWidth(const std::string& text) override { return c_.TextWidth(text); }
    int TextHeight(const std::string& text) override { return c_.TextHeight(text); }
    void RoundRect(const CellBox& b, int w, int h) override { c_.RoundRect(b.left, b.top, b.right, b.bottom, w, h); }
    void Polygon(const CellPoint* points, int count) override
    {
        TPoint p[8];
        count = std::min(count, 8);
        for (int i = 0; i < count; ++i)
            p[i] = TPoint{points[i].x, points[i].y};
        c_.Polygon(p, count);
    }
    void Line(int x1, int y1, int x2, int y2) override
    {
        c_.MoveTo(x1, y1);
        c_.LineTo(x2, y2);
    }
    void Polyline(const CellPoint* points, int count) override
    {
        if (count < 1)
            return;
        c_.MoveTo(points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            c_.LineTo(points[i].x, points[i].y);
    }

private:
    static TRect ToRect(const CellBox& b) { return Rect(b.left, b.top, b.right, b.bottom); }
    TCanvas& c_;
};

} // namespace

void TFormMain::GridDrawCell(TObject*, int ACol, int ARow, TRect Rect, TGridDrawState)
{
    GridPaintContext ctx;
    ctx.scenario = &Scn();
    ctx.edit = &EditState;
    ctx.colCount = Grid->ColCount();
    ctx.rowCount = Grid->RowCount();
    ctx.currentCol = Grid->Col();
    ctx.currentRow = Grid->Row();
    ctx.playColumn = PlayColumn;
    ctx.levelMax = Params.levelMax;
    ctx.timeInMs = CheckBoxTimeInSec->Checked();
    ctx.msPerUnit = MsPerTimeUnit;
    ctx.channel = [this](int channel) {
        if (channel < 0 || channel >= kMaxChannels)
            return ChannelLook{"", 0xFFFFFF, false};
        const ChannelRecord& ch = Config.channelTable[channel];
        return ChannelLook{ch.name, ch.color, ch.rgbGroup != 0};
    };
    ctx.loopRows = &GridLoopRows;
    GridCanvas canvas(*Grid->Canvas());
    PaintGridCell(canvas, ctx, ACol, ARow, CellBox{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom});
}

void TFormMain::RepaintCells(const CellRange& range)
{
    if (range.Empty() || !Grid->HandleAllocated())
        return;
    int left = std::max({range.left, Grid->LeftCol(), kFixedCols});
    int right = std::min({range.right, Grid->LeftCol() + Grid->VisibleColCount(), Grid->ColCount() - 1});
    int top = std::max({range.top, Grid->TopRow(), kFixedRows});
    int bottom = std::min({range.bottom, Grid->TopRow() + Grid->VisibleRowCount(), Grid->RowCount() - 1});
    // The grid runs GridDrawCell for each of them, through one off-screen picture.
    if (left <= right && top <= bottom)
        Grid->PaintCells(TGridRect{left, top, right, bottom});
}

// ---------------------------------------------------------------------------------------
// Zoom and row positions

void TFormMain::ApplyZoom(float zoom)
{
    ZoomState z = ClampZoom(zoom);
    SpeedButtonZoomPlus->SetEnabled(z.plusEnabled);
    SpeedButtonZoomMinus->SetEnabled(z.minusEnabled);
    Zoom = z.zoom;
    Grid->SetDefaultRowHeight(RowHeightForZoom(Zoom));
    ClearPreviewFrame();
    UpdateChannelRowSpans(kMaxChannels);
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::SpeedButtonZoomMinusClick(TObject*) { ApplyZoom(static_cast<float>(Zoom - kZoomStep)); }

void TFormMain::SpeedButtonZoomPlusClick(TObject*) { ApplyZoom(static_cast<float>(Zoom + kZoomStep)); }

void TFormMain::GridTopLeftChanged(TObject*)
{
    UpdateChannelRowSpans(std::max(0, std::min(static_cast<int>(Config.channels), kMaxChannels)));
    ClearPreviewFrame();
}

// The time row's header cell gives the pitch: one row and its grid line.
void TFormMain::UpdateChannelRowSpans(int channels)
{
    TRect header = Grid->CellRect(0, 1);
    ComputeChannelRowSpans(header.Top, header.Height(), Grid->FixedRows(), Grid->TopRow(), channels,
                           ChannelRowSpans);
}
