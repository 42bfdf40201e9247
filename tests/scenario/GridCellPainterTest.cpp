// How the grid's cells look, recorded as drawing calls: effect glyphs, selection, the
// floating paste's ghost, the current cell's frame, loop bars and header colours.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scenario/GridCellPainter.h"
#include "scenario/ScenarioLoops.h"

namespace {

using namespace grid_colors;

struct Op {
    std::string kind;
    uint32_t brush, pen;
    int penWidth;
    uint32_t font;
    bool bold;
    CellBox box;
    std::string text;
    std::vector<CellPoint> points;
};

// Records every drawing call with the brush, pen and font it is made with.
class RecordingCanvas : public CellCanvas {
public:
    void SetBrush(uint32_t color) override { brush_ = color; }
    void SetPen(uint32_t color, int width) override
    {
        pen_ = color;
        penWidth_ = width;
    }
    void SetFont(bool bold, uint32_t color) override
    {
        bold_ = bold;
        font_ = color;
    }
    void FillRect(const CellBox& box) override { Add("fill", box); }
    void TextRect(const CellBox& box, int x, int y, const std::string& text) override
    {
        Add("textrect", box, text, {{x, y}});
    }
    void TextOut(int x, int y, const std::string& text) override { Add("textout", CellBox{}, text, {{x, y}}); }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    int TextHeight(const std::string&) override { return 13; }
    void RoundRect(const CellBox& box, int w, int h) override { Add("roundrect", box, "", {{w, h}}); }
    void Polygon(const CellPoint* p, int n) override { Add("polygon", CellBox{}, "", {p, p + n}); }
    void Line(int x1, int y1, int x2, int y2) override { Add("line", CellBox{}, "", {{x1, y1}, {x2, y2}}); }
    void Polyline(const CellPoint* p, int n) override { Add("polyline", CellBox{}, "", {p, p + n}); }

    std::vector<Op> ops;
    std::vector<Op> Of(const std::string& kind) const
    {
        std::vector<Op> found;
        for (const Op& op : ops)
            if (op.kind == kind)
                found.push_back(op);
        return found;
    }

private:
    void Add(const char* kind, const CellBox& box, const std::string& text = "", std::vector<CellPoint> points = {})
    {
        ops.push_back(Op{kind, brush_, pen_, penWidth_, font_, bold_, box, text, std::move(points)});
    }
    uint32_t brush_ = 0x123456, pen_ = 0x123456, font_ = 0x123456;
    int penWidth_ = 7;
    bool bold_ = false;
};

class GridCellLook : public ::testing::Test {
protected:
    GridCellLook()
    {
        scn.SetCell(0, 0, 11);
        for (int c = 1; c <= 10; ++c)
            scn.SetCell(c, 1, 10);
        ctx.scenario = &scn;
        ctx.edit = edit.get();
        ctx.colCount = 11;
        ctx.rowCount = 8;
        ctx.currentCol = 9;
        ctx.currentRow = 7;
        ctx.playColumn = 1;
        ctx.channel = [this](int c) { return ChannelLook{"Кан", colors[c], c == 2}; };
    }
    RecordingCanvas Paint(int col, int row, CellBox box = CellBox{100, 75, 125, 99})
    {
        RecordingCanvas canvas;
        PaintGridCell(canvas, ctx, col, row, box);
        return canvas;
    }

    ScenarioSnapshot scn;
    std::unique_ptr<GridEditState> edit = std::make_unique<GridEditState>();
    GridPaintContext ctx;
    uint32_t colors[5] = {0xFFFFFF, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFFFF};
};

TEST_F(GridCellLook, LevelBarsGrowFromTheBottomAndNeverVanish)
{
    scn.SetCell(1, 3, 1);
    RecordingCanvas c = Paint(1, 3);
    ASSERT_EQ(c.Of("fill").size(), 1u);
    EXPECT_EQ(c.Of("fill")[0].brush, kCellBack);
    std::vector<Op> bars = c.Of("polygon");
    ASSERT_EQ(bars.size(), 1u);
    // Inner rectangle 101..123 x 76..97: h = 21, 21 * 1 / 128 = 0, shown as 1 pixel.
    EXPECT_EQ(bars[0].points[0].y, 97);
    EXPECT_EQ(bars[0].points[1].y, 96);
    EXPECT_EQ(bars[0].points[2].x, 123);
    EXPECT_EQ(bars[0].brush, kGlyph);
    EXPECT_EQ(bars[0].pen, kGlyph);

    scn.SetCell(1, 3, 200);  // above the model's highest level: a full bar
    EXPECT_EQ(Paint(1, 3).Of("polygon")[0].points[1].y, 76);
    scn.SetCell(1, 3, 64);
    EXPECT_EQ(Paint(1, 3).Of("polygon")[0].points[1].y, 97 - 10);
    scn.SetCell(1, 5, 64);  // an RGB channel draws in its own colour
    EXPECT_EQ(Paint(1, 5).Of("polygon")[0].brush, 0x0000FFu);
}

TEST_F(GridCellLook, RampsAndStrobe)
{
    scn.SetCell(2, 3, kCellRampUp);
    std::vector<Op> up = Paint(2, 3).Of("polygon");
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].points[0].x, 101);
    EXPECT_EQ(up[0].points[0].y, 97);
    EXPECT_EQ(up[0].points[1].y, 76);
    scn.SetCell(2, 3, kCellRampDown);
    EXPECT_EQ(Paint(2, 3).Of("polygon")[0].points[0].y, 76);
    scn.SetCell(2, 3, kCellStrobe);
    std::vector<Op> lines = Paint(2, 3).Of("line");
    ASSERT_EQ(lines.size(), 11u) << "every odd pixel of 22";
    EXPECT_EQ(lines[0].points[0].x, 102);
    EXPECT_EQ(lines.back().points[0].x, 122);
    scn.SetCell(2, 3, 0);
    RecordingCanvas off = Paint(2, 3);
    EXPECT_TRUE(off.Of("polygon").empty());
    EXPECT_TRUE(off.Of("line").empty());
}

TEST_F(GridCellLook, SelectionPasteGhostAndTheCurrentCellsFrame)
{
    scn.SetCell(9, 7, 128);
    edit->Marks.Set(9, 7, 1);
    RecordingCanvas c = Paint(9, 7);
    EXPECT_EQ(c.Of("fill")[0].brush, kSelectedBack);
    EXPECT_EQ(c.Of("polygon")[0].brush, kSelectedGlyph);
    std::vector<Op> frame = c.Of("polyline");
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].pen, kCurrentFrame);
    EXPECT_EQ(frame[0].penWidth, 2);
    EXPECT_EQ(frame[0].points.size(), 5u);

    // A ghost of clipboard cell (7, 5) over (9, 7) hides the frame.
    edit->FloatingPaste = true;
    edit->PasteOffsetCol = 2;
    edit->PasteOffsetRow = 2;
    edit->MouseCol = 9;
    edit->MouseRow = 7;
    edit->Clipboard.SetCell(7, 5, kCellRampUp);
    c = Paint(9, 7);
    EXPECT_EQ(c.Of("fill").back().brush, kGhostBack);
    EXPECT_EQ(c.Of("polygon")[0].brush, kGhostGlyph);
    EXPECT_EQ(c.Of("polygon")[0].points.size(), 3u) << "the clipboard's effect is shown";
    EXPECT_TRUE(c.Of("polyline").empty());
    // An empty clipboard cell leaves the cell as it is.
    edit->Clipboard.SetCell(7, 5, CellClipboard::kEmpty);
    c = Paint(9, 7);
    EXPECT_EQ(c.Of("fill").back().brush, kSelectedBack);
    EXPECT_EQ(c.Of("polyline").size(), 1u);
    // Nor is there a ghost while the mouse is off the step cells.
    edit->Clipboard.SetCell(7, 5, 3);
    edit->MouseRow = 2;
    EXPECT_EQ(Paint(9, 7).Of("fill").back().brush, kSelectedBack);
}

TEST_F(GridCellLook, CutStepsFloatFromBeyondTheColumnCount)
{
    // Steps 12 and 13 were cut from the end and float over steps 3 and 4.
    edit->FloatingPaste = true;
    edit->PasteOffsetCol = -9;
    edit->MouseCol = 3;
    edit->MouseRow = 5;
    edit->Clipboard.SetCell(12, 5, kCellRampDown);
    RecordingCanvas c = Paint(3, 5);
    EXPECT_EQ(c.Of("fill").back().brush, kGhostBack);
    EXPECT_EQ(c.Of("polygon")[0].brush, kGhostGlyph);
}

TEST_F(GridCellLook, LoopBarsWithCapsAndNumbers)
{
    scn.loops = {{2, 2, 5}, {4, 6, kEndlessLoop}};
    RecordingCanvas pill = Paint(2, 2);
    ASSERT_EQ(pill.Of("roundrect").size(), 1u);
    EXPECT_EQ(pill.Of("roundrect")[0].brush, kLoopBar);
    EXPECT_EQ(pill.Of("roundrect")[0].points[0].x, 12) << "corners of half the cell height";
    EXPECT_EQ(pill.Of("fill").size(), 0u) << "a one-column loop is a single pill";
    ASSERT_EQ(pill.Of("textout").size(), 1u);
    EXPECT_EQ(pill.Of("textout")[0].text, "5");
    EXPECT_EQ(pill.Of("textout")[0].font, kLoopText);
    EXPECT_EQ(pill.Of("textrect")[0].brush, kLoopsRow) << "the row's own background first";

    RecordingCanvas first = Paint(4, 2);
    EXPECT_EQ(first.Of("textout")[0].text, "N");
    EXPECT_EQ(first.Of("roundrect")[0].brush, kEndlessLoopBar);
    ASSERT_EQ(first.Of("fill").size(), 1u);
    EXPECT_EQ(first.Of("fill")[0].box.left, 112) << "the right half runs on";
    RecordingCanvas middle = Paint(5, 2);
    EXPECT_TRUE(middle.Of("roundrect").empty());
    ASSERT_EQ(middle.Of("fill").size(), 1u);
    EXPECT_EQ(middle.Of("fill")[0].box.left, 100);
    EXPECT_EQ(middle.Of("fill")[0].brush, kEndlessLoopBar);
    RecordingCanvas last = Paint(6, 2);
    EXPECT_EQ(last.Of("roundrect").size(), 1u);
    EXPECT_EQ(last.Of("fill")[0].box.right, 112) << "the left half";
    EXPECT_TRUE(last.Of("textout").empty());
    EXPECT_TRUE(Paint(7, 2).Of("roundrect").empty());
}

TEST_F(GridCellLook, ALoopAddedAroundOthersIsDrawnThoughItComesLast)
{
    LoopRowIndex kept;  // as the window keeps it from one painted cell to the next
    ctx.loopRows = &kept;
    for (int first : {4, 6, 8})
        AddLoop(scn, first, first == 8 ? 8 : first + 1, 3);
    EXPECT_TRUE(Paint(3, 2).Of("fill").empty());
    AddLoop(scn, 2, 9, kEndlessLoop);  // a Ctrl-selection of steps 2 and 9
    ASSERT_EQ(scn.loops.back().firstColumn, 2);

    RecordingCanvas left = Paint(2, 2);
    ASSERT_EQ(left.Of("textout").size(), 1u);
    EXPECT_EQ(left.Of("textout")[0].text, "N");
    ASSERT_EQ(Paint(3, 2).Of("fill").size(), 1u);
    EXPECT_EQ(Paint(3, 2).Of("fill")[0].brush, kEndlessLoopBar);
    std::vector<Op> over = Paint(5, 2).Of("fill");
    ASSERT_EQ(over.size(), 2u);
    EXPECT_EQ(over[1].brush, kEndlessLoopBar) << "drawn after the loop it encloses";
    EXPECT_EQ(over[1].box.left, 100);
    ASSERT_EQ(Paint(9, 2).Of("roundrect").size(), 1u);
}

TEST_F(GridCellLook, OverlappingLoopsAreDrawnInListOrderAndEndedOnesNotAtAll)
{
    // A long loop over a short one; the first loop ended before the columns looked at.
    scn.loops = {{1, 1, 2}, {1, 8, 3}, {3, 4, kEndlessLoop}, {5, 5, 2}};
    RecordingCanvas both = Paint(4, 2);
    std::vector<Op> fills = both.Of("fill");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].brush, kLoopBar) << "the long loop first, across the whole cell";
    EXPECT_EQ(fills[0].box.right, 125);
    EXPECT_EQ(fills[1].brush, kEndlessLoopBar) << "then the short one's end over it";
    EXPECT_EQ(fills[1].box.right, 112);
    ASSERT_EQ(both.Of("roundrect").size(), 1u);
    EXPECT_EQ(both.Of("roundrect")[0].brush, kEndlessLoopBar);
    EXPECT_TRUE(both.Of("textout").empty());

    RecordingCanvas longOnly = Paint(6, 2);
    ASSERT_EQ(longOnly.Of("fill").size(), 1u);
    EXPECT_EQ(longOnly.Of("fill")[0].brush, kLoopBar);
    EXPECT_TRUE(longOnly.Of("roundrect").empty());
}

TEST_F(GridCellLook, HeaderColoursFollowThePlayColumnLabelsAndTheCurrentRow)
{
    scn.labels = {1, 4};
    EXPECT_EQ(Paint(1, 0).Of("textrect")[0].brush, kPlayLabelHeader);
    EXPECT_EQ(Paint(4, 0).Of("textrect")[0].brush, kLabelHeader);
    EXPECT_EQ(Paint(3, 0).Of("textrect")[0].brush, kColorBtnFace);
    ctx.playColumn = 3;
    RecordingCanvas play = Paint(3, 0);
    EXPECT_EQ(play.Of("textrect")[0].brush, kPlayHeader);
    EXPECT_EQ(play.Of("textrect")[0].text, "3");
    EXPECT_TRUE(play.Of("textrect")[0].bold);
    // Centred: (25 - 6) / 2 across, (24 - 13) / 2 down.
    EXPECT_EQ(play.Of("textrect")[0].points[0].x, 109);
    EXPECT_EQ(play.Of("textrect")[0].points[0].y, 80);
    // Column 0 is right-aligned, 4 pixels from its right edge.
    RecordingCanvas name = Paint(0, 0, CellBox{0, 0, 80, 24});
    EXPECT_EQ(name.Of("textrect")[0].text, "Номер шага");
    EXPECT_EQ(name.Of("textrect")[0].points[0].x, 80 - 4 - 60);

    RecordingCanvas current = Paint(0, 7, CellBox{0, 100, 80, 124});
    std::vector<Op> texts = current.Of("textrect");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "5");
    EXPECT_EQ(texts[0].brush, 0xFFFFFFu) << "the channel's colour behind its number";
    EXPECT_EQ(texts[0].box.right, kChannelNumberWidth);
    EXPECT_EQ(texts[1].brush, kPlayHeader) << "the current row's name";
    EXPECT_EQ(Paint(0, 6).Of("textrect")[1].brush, kColorBtnFace);
}

TEST_F(GridCellLook, TheTimeRowShowsUnitsOrMilliseconds)
{
    RecordingCanvas units = Paint(3, 1);
    EXPECT_EQ(units.Of("textrect")[0].text, "10");
    EXPECT_EQ(units.Of("textrect")[0].brush, kColorBtnShadow);
    EXPECT_FALSE(units.Of("textrect")[0].bold);
    ctx.timeInMs = true;
    ctx.msPerUnit = 5.5;
    RecordingCanvas ms = Paint(3, 1);
    EXPECT_EQ(ms.Of("textrect")[0].text, "55");
    EXPECT_EQ(ms.Of("textrect")[0].brush, kTimeInMs);
    EXPECT_EQ(Paint(0, 1).Of("textrect")[0].text, "Время, мс.");
}

} // namespace
