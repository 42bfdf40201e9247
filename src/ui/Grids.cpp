#include "ui/Grids.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/DrawText.h"
#include "ui/Exceptions.h"
#include "ui/InplaceEdit.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"

namespace {
constexpr int kSizeMargin = 3;  // pixels either side of a column border that resize it
}

// ---------------------------------------------------------------------------------------
// TCustomGrid: geometry

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner)
{
    TabStop = true;
    ControlStyle |= csOpaque;  // every pixel is a cell, a grid line or the filled rest
    color_ = clWindow;
    width_ = 320;
    height_ = 120;
    cols_.SetCount(5, defaultColWidth_);
    rows_.SetCount(5, defaultRowHeight_);
    SyncLines();
}

TCustomGrid::~TCustomGrid() { ReleaseCanvasDC(); }

void TCustomGrid::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.style |= WS_HSCROLL | WS_VSCROLL;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateHandleDone() { UpdateScrollBars(); }

void TCustomGrid::DestroyHandleStart()
{
    HideEditor();
    ReleaseCanvasDC();
    buffer_.SetSize(0, 0);
}

void TCustomGrid::BoundsChanged()
{
    if (HandleAllocated())
        UpdateScrollBars();
}

void TCustomGrid::SyncLines()
{
    cols_.Line = (options_ & goVertLine) ? gridLineWidth_ : 0;
    rows_.Line = (options_ & goHorzLine) ? gridLineWidth_ : 0;
}

void TCustomGrid::SetColCount(int value)
{
    value = std::max(1, value);
    if (value == ColCount())
        return;
    cols_.SetCount(value, defaultColWidth_);
    int first = std::min(cols_.Fixed, value - 1);
    col_ = std::max(first, std::min(col_, value - 1));
    anchorCol_ = std::max(first, std::min(anchorCol_, value - 1));
    selection_.Left = std::min(selection_.Left, value - 1);
    selection_.Right = std::min(selection_.Right, value - 1);
    cols_.First = std::max(first, std::min(cols_.First, MaxLeftCol()));
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int value)
{
    value = std::max(1, value);
    if (value == RowCount())
        return;
    rows_.SetCount(value, defaultRowHeight_);
    int first = std::min(rows_.Fixed, value - 1);
    row_ = std::max(first, std::min(row_, value - 1));
    anchorRow_ = std::max(first, std::min(anchorRow_, value - 1));
    selection_.Top = std::min(selection_.Top, value - 1);
    selection_.Bottom = std::min(selection_.Bottom, value - 1);
    rows_.First = std::max(first, std::min(rows_.First, MaxTopRow()));
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int value)
{
    if (value < 0 || value >= ColCount())
        throw EInvalidOperation("Fixed column count must be less than column count");
    cols_.Fixed = value;
    col_ = std::max(col_, value);
    anchorCol_ = std::max(anchorCol_, value);
    cols_.First = std::max(cols_.First, value);
    selection_.Left = std::max(selection_.Left, value);
    selection_.Right = std::max(selection_.Right, value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int value)
{
    if (value < 0 || value >= RowCount())
        throw EInvalidOperation("Fixed row count must be less than row count");
    rows_.Fixed = value;
    row_ = std::max(row_, value);
    anchorRow_ = std::max(anchorRow_, value);
    rows_.First = std::max(rows_.First, value);
    selection_.Top = std::max(selection_.Top, value);
    selection_.Bottom = std::max(selection_.Bottom, value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    defaultColWidth_ = value;
    cols_.SetAllSizes(value);
    SizesChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    defaultRowHeight_ = value;
    rows_.SetAllSizes(value);
    SizesChanged();
}

void TCustomGrid::SetColWidths(int col, int width)
{
    if (cols_.SetSize(col, width) && !painting_)
        SizesChanged();
}

void TCustomGrid::SetColWidthsFrom(int first, const std::vector<int>& widths)
{
    cols_.SetSizes(first, widths);
    if (!painting_)
        SizesChanged();
}

void TCustomGrid::SetRowHeights(int row, int height)
{
    if (rows_.SetSize(row, height) && !painting_)
        SizesChanged();
}

void TCustomGrid::SizesChanged()
{
    if (HandleAllocated()) {
        // Wider cells may leave the view past the end: scroll back so it stays full.
        cols_.First = std::max(cols_.Fixed, std::min(cols_.First, MaxLeftCol()));
        rows_.First = std::max(rows_.Fixed, std::min(rows_.First, MaxTopRow()));
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int value)
{
    gridLineWidth_ = std::max(0, value);
    SyncLines();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value)
{
    if (value == options_)
        return;
    options_ = value;
    SyncLines();
    if (!(options_ & goEditing))
        HideEditor();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetSelection(const TGridRect& r)
{
    selection_ = r;
    Invalidate();
}

TRect TCustomGrid::CellRect(int col, int row)
{
    TRect client = TCustomControl::ClientRect();
    int x = cols_.StartOf(col, client.Right);
    int y = rows_.StartOf(row, client.Bottom);
    if (x < 0 || y < 0)
        return TRect{};
    return Rect(x, y, x + cols_.Size(col), y + rows_.Size(row));
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row)
{
    TRect client = TCustomControl::ClientRect();
    int c = cols_.IndexAt(x, client.Right);
    int r = rows_.IndexAt(y, client.Bottom);
    col = row = -1;
    if (c >= 0 && r >= 0) {
        col = c;
        row = r;
    }
}

int TCustomGrid::VisibleColCount() { return cols_.VisibleCount(TCustomControl::ClientRect().Right); }

int TCustomGrid::VisibleRowCount() { return rows_.VisibleCount(TCustomControl::ClientRect().Bottom); }

int TCustomGrid::MaxLeftCol() { return cols_.MaxFirst(TCustomControl::ClientRect().Right); }

int TCustomGrid::MaxTopRow() { return rows_.MaxFirst(TCustomControl::ClientRect().Bottom); }

// ---------------------------------------------------------------------------------------
// Scrolling

void TCustomGrid::SetTopLeft(int col, int row)
{
    if (!HandleAllocated()) {
        cols_.First = std::max(cols_.Fixed, std::min(col, ColCount() - 1));
        rows_.First = std::max(rows_.Fixed, std::min(row, RowCount() - 1));
        return;
    }
    col = std::max(cols_.Fixed, std::min(col, MaxLeftCol()));
    row = std::max(rows_.Fixed, std::min(row, MaxTopRow()));
    if (col == cols_.First && row == rows_.First)
        return;
    cols_.First = col;
    rows_.First = row;
    PlaceEditor();
    UpdateScrollBars();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged()
{
    if (OnTopLeftChanged && EventsAllowed())
        OnTopLeftChanged(this);
}

void TCustomGrid::ScrollIntoView(int col, int row)
{
    int left = cols_.First, top = rows_.First;
    if (col >= cols_.Fixed) {
        if (col < cols_.First)
            left = col;
        else if (col >= cols_.First + VisibleColCount())
            left = cols_.First + (col - (cols_.First + std::max(1, VisibleColCount())) + 1);
    }
    if (row >= rows_.Fixed) {
        if (row < rows_.First)
            top = row;
        else if (row >= rows_.First + VisibleRowCount())
            top = rows_.First + (row - (rows_.First + std::max(1, VisibleRowCount())) + 1);
    }
    SetTopLeft(left, top);
    // Wide columns: keep stepping until the column is wholly in view (or first).
    while (HandleAllocated() && col >= cols_.Fixed && col > cols_.First && col >= cols_.First + VisibleColCount()) {
        int before = cols_.First;
        SetTopLeft(cols_.First + 1, rows_.First);
        if (cols_.First == before)
            break;
    }
}

void TCustomGrid::UpdateScrollBars()
{
    if (!HandleAllocated())
        return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    int maxLeft = MaxLeftCol();
    si.nMin = cols_.Fixed;
    si.nMax = std::max(cols_.Fixed, ColCount() - 1);
    si.nPage = static_cast<UINT>(std::max(1, ColCount() - maxLeft));
    si.nPos = cols_.First;
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
    int maxTop = MaxTopRow();
    si.nMin = rows_.Fixed;
    si.nMax = std::max(rows_.Fixed, RowCount() - 1);
    si.nPage = static_cast<UINT>(std::max(1, RowCount() - maxTop));
    si.nPos = rows_.First;
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
}

void TCustomGrid::Scroll(int bar, WORD code)
{
    bool horz = bar == SB_HORZ;
    int pos = horz ? cols_.First : rows_.First;
    int page = std::max(1, horz ? VisibleColCount() : VisibleRowCount());
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(handle_, bar, &si);
    switch (code) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = horz ? ColCount() : RowCount(); break;
    case SB_THUMBTRACK:
        if (!(options_ & goThumbTracking))
            return;
        pos = si.nTrackPos;
        break;
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;
    }
    if (horz)
        SetTopLeft(pos, rows_.First);
    else
        SetTopLeft(cols_.First, pos);
}

// ---------------------------------------------------------------------------------------
// The current cell and the selection

bool TCustomGrid::SelectCell(int col, int row)
{
    bool can = true;
    if (OnSelectCell && EventsAllowed())
        OnSelectCell(this, col, row, can);
    return can;
}

void TCustomGrid::MoveCurrent(int col, int row, bool extend)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throw EInvalidOperation("Grid index out of range");
    if (!SelectCell(col, row))
        return;
    HideEditor();
    TGridRect old = selection_;
    int oldCol = col_, oldRow = row_;
    col_ = col;
    row_ = row;
    if (!extend || !(options_ & goRangeSelect)) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    selection_ = TGridRect{std::min(anchorCol_, col), std::min(anchorRow_, row), std::max(anchorCol_, col),
                           std::max(anchorRow_, row)};
    ScrollIntoView(col, row);
    // Repaint what the old and the new selection cover (the visible part only).
    if (HandleAllocated()) {
        auto invalidateRange = [this](const TGridRect& g) {
            int right = std::min(g.Right, cols_.First + VisibleColCount());
            int bottom = std::min(g.Bottom, rows_.First + VisibleRowCount());
            for (int c = std::max(g.Left, cols_.First); c <= right; ++c)
                for (int r = std::max(g.Top, rows_.First); r <= bottom; ++r)
                    InvalidateCell(c, r);
        };
        invalidateRange(old);
        invalidateRange(selection_);
        InvalidateCell(oldCol, oldRow);
    }
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    if (!HandleAllocated())
        return;
    TRect r = CellRect(col, row);
    if (r.Width() <= 0 && r.Height() <= 0)
        return;
    RECT rc{r.Left, r.Top, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_};
    InvalidateRect(handle_, &rc, FALSE);
}

// ---------------------------------------------------------------------------------------
// Drawing

TCanvas* TCustomGrid::Canvas()
{
    if (!painting_ && HandleAllocated() && canvas_.Handle() == nullptr) {
        canvasDC_.Acquire(handle_);
        canvas_.SetHandle(canvasDC_.Get());
        canvas_.Font = font_;
    }
    return &canvas_;
}

void TCustomGrid::ReleaseCanvasDC()
{
    if (!canvasDC_.Get())
        return;
    canvas_.SetHandle(nullptr);
    canvasDC_.Reset();
}

void TCustomGrid::Paint()
{
    RECT clip, area;
    RECT client = TCustomControl::ClientRect().ToRECT();
    if (GetClipBox(canvas_.Handle(), &clip) <= NULLREGION || !IntersectRect(&area, &clip, &client))
        return;
    PaintArea(canvas_.Handle(), area);
}

void TCustomGrid::PaintCells(const TGridRect& cells)
{
    if (!HandleAllocated() || painting_)
        return;
    auto inView = [](const TRect& r) { return r.Width() > 0 || r.Height() > 0; };
    TRect first = CellRect(cells.Left, cells.Top);
    if (!inView(first))
        return;
    // A last column (row) starting past the end of the view: the block runs to the edge.
    TRect client = TCustomControl::ClientRect();
    TRect lastCol = CellRect(cells.Right, cells.Top), lastRow = CellRect(cells.Left, cells.Bottom);
    RECT area{first.Left, first.Top, inView(lastCol) ? std::min(lastCol.Right, client.Right) : client.Right,
              inView(lastRow) ? std::min(lastRow.Bottom, client.Bottom) : client.Bottom};
    // The window's DC is kept as for drawing outside painting; the canvas draws into
    // the bitmap meanwhile.
    if (!canvasDC_.Get())
        canvasDC_.Acquire(handle_);
    canvas_.SetHandle(nullptr);
    PaintArea(canvasDC_.Get(), area);
}

void TCustomGrid::PaintArea(HDC target, const RECT& area)
{
    int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return;
    // Everything is drawn into a bitmap of the area first and copied onto the window in
    // one go: the window never shows the background under the cells or a cell half
    // drawn, so repainting the grid does not flicker. The bitmap is kept from paint to
    // paint, as large as the largest area yet.
    if (buffer_.Width() < w || buffer_.Height() < h)
        buffer_.SetSize(std::max(w, buffer_.Width()), std::max(h, buffer_.Height()));
    HDC dc = buffer_.Canvas()->Handle();
    SetWindowOrgEx(dc, area.left, area.top, nullptr);  // client coordinates in the bitmap
    {
        FlagScope painting(painting_);
        CanvasDCScope onBuffer(canvas_, dc);
        DrawArea(dc, area);
    }
    BitBlt(target, area.left, area.top, w, h, dc, area.left, area.top, SRCCOPY);
}

void TCustomGrid::DrawArea(HDC dc, const RECT& clip)
{
    TRect client = TCustomControl::ClientRect();
    // Grid lines: the background of the cell area shows through between the cells.
    int lw = cols_.Line, lh = rows_.Line;
    std::vector<std::pair<int, int>> cols, rows;  // visible index and left (top)
    int lastX = cols_.ForEachInView(client.Right, [&](int c, int x) { cols.emplace_back(c, x); });
    int lastY = rows_.ForEachInView(client.Bottom, [&](int r, int y) { rows.emplace_back(r, y); });
    int fixedRight = 0, fixedBottom = 0;
    for (auto& c : cols)
        if (c.first < cols_.Fixed)
            fixedRight = c.second + cols_.Size(c.first) + lw;
    for (auto& r : rows)
        if (r.first < rows_.Fixed)
            fixedBottom = r.second + rows_.Size(r.first) + lh;
    canvas_.Brush.Style = TBrushStyle::bsSolid;
    canvas_.Brush.Color = clBtnShadow;
    canvas_.FillRect(Rect(0, 0, std::min(lastX, client.Right), fixedBottom));
    canvas_.FillRect(Rect(0, 0, fixedRight, std::min(lastY, client.Bottom)));
    canvas_.Brush.Color = clSilver;
    canvas_.FillRect(Rect(fixedRight, fixedBottom, std::min(lastX, client.Right), std::min(lastY, client.Bottom)));
    canvas_.Brush.Color = color_;
    canvas_.FillRect(Rect(lastX, 0, client.Right, client.Bottom));
    canvas_.FillRect(Rect(0, lastY, client.Right, client.Bottom));
    // Lines the options leave out are covered with the cell background.
    for (auto& r : rows) {
        for (auto& c : cols) {
            int col = c.first, row = r.first;
            TRect cell = Bounds(c.second, r.second, cols_.Size(col),
                                rows_.Size(row));
            if (cell.Right + lw <= clip.left || cell.Left >= clip.right || cell.Bottom + lh <= clip.top ||
                cell.Top >= clip.bottom)
                continue;
            bool fixed = col < cols_.Fixed || row < rows_.Fixed;
            unsigned lineOpts = fixed ? (options_ & (goFixedVertLine | goFixedHorzLine))
                                      : (options_ & (goVertLine | goHorzLine));
            bool vert = fixed ? (lineOpts & goFixedVertLine) : (lineOpts & goVertLine);
            bool horz = fixed ? (lineOpts & goFixedHorzLine) : (lineOpts & goHorzLine);
            if ((!vert && lw) || (!horz && lh)) {
                canvas_.Brush.Color = fixed ? FixedColor : color_;
                canvas_.FillRect(Rect(cell.Left, cell.Top, cell.Right + (vert ? 0 : lw), cell.Bottom + (horz ? 0 : lh)));
            }
            TGridDrawState state = 0;
            if (fixed)
                state |= gdFixed;
            else {
                bool focused = col == col_ && row == row_;
                if (focused && Focused())
                    state |= gdFocused;
                bool inSel = col >= selection_.Left && col <= selection_.Right && row >= selection_.Top &&
                             row <= selection_.Bottom;
                if (inSel && (!focused || (options_ & goDrawFocusSelected)))
                    state |= gdSelected;
            }
            ClipRectScope clipped(dc, cell.ToRECT());
            PrepareCell(cell, state);
            DrawCell(col, row, cell, state);
            if (DefaultDrawing && (state & gdFocused) && !EditorMode()) {
                RECT fr = cell.ToRECT();
                DrawFocusRect(dc, &fr);
            }
        }
    }
}

void TCustomGrid::PrepareCell(const TRect& rect, TGridDrawState state)
{
    canvas_.Font = font_;
    canvas_.Brush.Style = TBrushStyle::bsSolid;
    canvas_.Pen = TPen{};
    if (state & gdFixed) {
        canvas_.Brush.Color = FixedColor;
    } else if (state & gdSelected) {
        canvas_.Brush.Color = clHighlight;
        canvas_.Font.Color = clHighlightText;
    } else {
        canvas_.Brush.Color = color_;
    }
    if (!DefaultDrawing)
        return;
    canvas_.FillRect(rect);
    if (state & gdFixed) {
        RECT r = rect.ToRECT();
        DrawEdge(canvas_.Handle(), &r, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_TOPLEFT);
    }
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    if (OnDrawCell && EventsAllowed())
        OnDrawCell(this, col, row, rect, state);
}

// ---------------------------------------------------------------------------------------
// Mouse and keys

int TCustomGrid::SizingColumn(int x, int y)
{
    if (!(options_ & goColSizing))
        return -1;
    int col, row;
    MouseToCell(x, y, col, row);
    if (row < 0 || row >= rows_.Fixed)
        return -1;
    for (int c = std::max(0, col - 1); c <= col && c >= 0; ++c) {
        TRect r = CellRect(c, row);
        if (r.Width() > 0 && std::abs(x - r.Right) <= kSizeMargin)
            return c;
    }
    return -1;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (CanFocus() && !Focused() && !EditorMode() && HandleAllocated())
            SetFocus();
        sizingCol_ = SizingColumn(x, y);
        if (sizingCol_ >= 0) {
            sizingStartX_ = x;
            sizingStartWidth_ = cols_.Size(sizingCol_);
        } else {
            int col, row;
            MouseToCell(x, y, col, row);
            if (col >= cols_.Fixed && row >= rows_.Fixed) {
                bool again = col == col_ && row == row_ && !(shift & ssShift);
                MoveCurrent(col, row, (shift & ssShift) != 0);
                selecting_ = (options_ & goRangeSelect) != 0;
                if (again && (options_ & goEditing) && (shift & ssDouble) == 0)
                    ShowEditor();
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    if (sizingCol_ >= 0) {
        SetColWidths(sizingCol_, std::max(1, sizingStartWidth_ + x - sizingStartX_));
    } else if (selecting_) {
        int col, row;
        MouseToCell(x, y, col, row);
        if (col >= cols_.Fixed && row >= rows_.Fixed && (col != col_ || row != row_))
            MoveCurrent(col, row, true);
    }
    if (HandleAllocated() && (options_ & goColSizing))
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(
                                           sizingCol_ >= 0 || SizingColumn(x, y) >= 0 ? IDC_SIZEWE : IDC_ARROW)));
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        sizingCol_ = -1;
        selecting_ = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomGrid::KeyNavigate(WORD key, TShiftState shift)
{
    int col = col_, row = row_;
    bool ctrl = (shift & ssCtrl) != 0;
    int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    switch (key) {
    case VK_LEFT: --col; break;
    case VK_RIGHT: ++col; break;
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_PRIOR: row -= std::max(1, VisibleRowCount()); break;
    case VK_NEXT: row += std::max(1, VisibleRowCount()); break;
    case VK_HOME:
        col = cols_.Fixed;
        if (ctrl)
            row = rows_.Fixed;
        break;
    case VK_END:
        col = lastCol;
        if (ctrl)
            row = lastRow;
        break;
    case VK_TAB:
        if (!(options_ & goTabs))
            return false;
        if (shift & ssShift) {
            if (--col < cols_.Fixed) {
                col = lastCol;
                row = row > rows_.Fixed ? row - 1 : lastRow;
            }
        } else if (++col > lastCol) {
            col = cols_.Fixed;
            row = row < lastRow ? row + 1 : rows_.Fixed;
        }
        shift &= ~static_cast<TShiftState>(ssShift);
        break;
    case VK_F2:
        if (!(options_ & goEditing))
            return false;
        ShowEditor();
        return true;
    default:
        return false;
    }
    col = std::max(cols_.Fixed, std::min(col, lastCol));
    row = std::max(rows_.Fixed, std::min(row, lastRow));
    if (col != col_ || row != row_)
        MoveCurrent(col, row, (shift & ssShift) != 0);
    return true;
}

void TCustomGrid::DefaultHandler(TMessage& m)
{
    if (m.Msg == WM_KEYDOWN && KeyNavigate(static_cast<WORD>(m.WParam), KeyboardShiftState())) {
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_CHAR && (options_ & goEditing) && m.WParam >= 32 && !EditorMode()) {
        // Typing starts editing the current cell with the typed character.
        ShowEditor();
        if (EditorMode()) {
            editor_->SetText("");
            SendMessageW(editor_->Handle(), WM_CHAR, m.WParam, m.LParam);
        }
        return;
    }
    TCustomControl::DefaultHandler(m);
}

void TCustomGrid::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | ((options_ & goTabs) ? DLGC_WANTTAB : 0);
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam == 0) {
            Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        // The handlers first; what they leave scrolls the rows.
        int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
        if (!DoMouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(m.WParam)), delta,
                          TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) {
            int steps = -delta / WHEEL_DELTA;
            SetTopLeft(cols_.First, rows_.First + steps * 3);
        }
        m.Result = 0;
        return;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
        ReleaseCanvasDC();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateCell(col_, row_);
        break;
    case WM_LBUTTONDBLCLK: {
        // The click itself first (it moves the current cell and takes the focus); the
        // editor opened after it keeps the focus.
        bool dragging = selecting_;
        TCustomControl::WndProc(m);
        if ((options_ & goEditing) && !(options_ & goRangeSelect && dragging)) {
            selecting_ = false;  // no range drag from the double click: it would close the editor
            ShowEditor();
        }
        return;
    }
    }
    TCustomControl::WndProc(m);
}

bool TCustomGrid::EditorMode() const { return editor_ && editor_->Visible(); }
