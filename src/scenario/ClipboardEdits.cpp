#include "scenario/ClipboardEdits.h"

#include <algorithm>

namespace {

bool Filled(uint16_t value) { return static_cast<int16_t>(value) >= 0; }

} // namespace

void CopySelection(GridEditState& edit, const ScenarioSnapshot& scn, GridSize size, int col, int row, int kind)
{
    CellClipboard& clip = edit.Clipboard;
    clip.Clear();
    CellRange grid{0, 0, size.colCount - 1, size.rowCount - 1};
    CellRange r = edit.Marks.Extent().Intersect(grid);
    for (int c = r.left; c <= r.right && !r.Empty(); ++c) {
        const uint16_t* marks = edit.Marks.Column(c);
        for (int k = r.top; k <= r.bottom; ++k)
            if (marks[k] != 0)
                clip.SetCell(c, k, scn.Cell(c, k));
    }
    clip.SetCell(col, row, scn.Cell(col, row));
    edit.ClipboardKind = kind;
    edit.ClipboardOriginCol = kind == kSelectChannels ? 0 : col;
    edit.ClipboardOriginRow = kind == kSelectSteps ? 0 : row;
}

bool CopyLoadedSteps(GridEditState& edit, const ScenarioSnapshot& loaded, int rowCount)
{
    CellClipboard& clip = edit.Clipboard;
    clip.Clear();
    // The loaded column count is a signed 16-bit number.
    int columns = std::min<int>(static_cast<int16_t>(loaded.ColCount()), kSnapshotColumns);
    int rows = std::min(rowCount, kSnapshotRows);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            clip.SetCell(c, r, loaded.Cell(c, r));
    edit.ClipboardKind = kSelectSteps;
    edit.ClipboardOriginCol = 1;
    edit.ClipboardOriginRow = 0;
    return columns > 0 && rows > 0;
}

int ClipboardStepCount(const CellClipboard& clip)
{
    const CellRange& e = clip.Extent();
    int n = 0;
    for (int c = std::max(e.left, kFixedCols); c <= e.right; ++c)
        n += clip.Cell(c, 1) != CellClipboard::kEmpty;
    return n;
}

int ClipboardChannelCount(const CellClipboard& clip)
{
    const CellRange& e = clip.Extent();
    int n = 0;
    for (int r = std::max(e.top, kFixedRows); r <= e.bottom; ++r)
        n += clip.Cell(1, r) != CellClipboard::kEmpty;
    return n;
}

void StartFloatingPaste(GridEditState& edit)
{
    edit.FloatingPaste = true;
    PasteOffset offset = DropOffset(edit);
    edit.PasteOffsetCol = offset.col;
    edit.PasteOffsetRow = offset.row;
}

PasteOffset DropOffset(const GridEditState& edit)
{
    return {edit.ClipboardKind == kSelectChannels ? 0 : edit.MouseCol - edit.ClipboardOriginCol,
            edit.ClipboardKind == kSelectSteps ? 0 : edit.MouseRow - edit.ClipboardOriginRow};
}

CellRange PasteClipboard(ScenarioSnapshot& scn, const CellClipboard& clip, PasteOffset offset, int firstRow,
                         GridSize size)
{
    // Clipboard positions whose target lies on a step cell of rows firstRow and below.
    CellRange targets{kFixedCols, firstRow, std::min(size.colCount, kSnapshotColumns) - 1,
                      std::min(size.rowCount, kSnapshotRows) - 1};
    CellRange sources{targets.left - offset.col, targets.top - offset.row, targets.right - offset.col,
                      targets.bottom - offset.row};
    CellRange r = clip.Extent().Intersect(sources).Intersect(CellRange{kFixedCols, firstRow, kSnapshotColumns - 1,
                                                                       kSnapshotRows - 1});
    CellRange written;
    if (r.Empty())
        return written;
    int rows = r.bottom - r.top + 1;
    int top = r.top + offset.row;  // the first target row
    int bottom = r.bottom + offset.row;
    bool dense = clip.Dense();  // then every position of r is filled
    for (int c = r.left; c <= r.right; ++c) {
        const uint16_t* from = clip.Column(c) + r.top;
        // Empty positions have the sign bit set: one pass tells whether all or none are.
        bool none = false, full = dense;
        if (!dense) {
            uint16_t any = 0, all = 0xFFFF;
            for (int k = 0; k < rows; ++k) {
                any |= static_cast<uint16_t>(~from[k]);
                all &= static_cast<uint16_t>(~from[k]);
            }
            none = (any & 0x8000) == 0;
            full = (all & 0x8000) != 0;
        }
        if (none)
            continue;  // nothing to write: the scenario's column stays shared
        scn.RewriteColumn(c + offset.col, [&](const uint16_t* before, uint16_t* cells) {
            if (before != cells) {
                // The rows around the pasted ones keep their cells.
                if (before) {
                    std::copy(before, before + top, cells);
                    std::copy(before + bottom + 1, before + kSnapshotRows, cells + bottom + 1);
                } else {
                    std::fill(cells, cells + top, uint16_t{0});
                    std::fill(cells + bottom + 1, cells + kSnapshotRows, uint16_t{0});
                }
            }
            uint16_t* to = cells + top;
            if (full) {
                std::copy(from, from + rows, to);
            } else {
                const uint16_t* kept = before ? before + top : nullptr;
                for (int k = 0; k < rows; ++k)
                    to[k] = Filled(from[k]) ? from[k] : kept ? kept[k] : 0;
            }
        });
        written.Include(CellRange{c + offset.col, top, c + offset.col, bottom});
    }
    return written;
}
