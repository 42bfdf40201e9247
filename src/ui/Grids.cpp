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
    color_ = clWindow;
    width_ = 320;
    height_ = 120;
    colWidths_.assign(5, defaultColWidth_);
    rowHeights_.assign(5, defaultRowHeight_);
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
}

void TCustomGrid::BoundsChanged()
{
    if (HandleAllocated())
        UpdateScrollBars();
}

void TCustomGrid::SetColCount(int value)
{
    value = std::max(1, value);
    if (value == ColCount())
        return;
    if (value <= fixedCols_)
        fixedCols_ = value - 1;
    colWidths_.resize(static_cast<size_t>(value), defaultColWidth_);
    int first = std::min(fixedCols_, value - 1);
    col_ = std::max(first, std::min(col_, value - 1));
    anchorCol_ = std::max(first, std::min(anchorCol_, value - 1));
    selection_.Left = std::min(selection_.Left, value - 1);
    selection_.Right = std::min(selection_.Right, value - 1);
    leftCol_ = std::max(first, std::min(leftCol_, MaxLeftCol()));
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int value)
{
    value = std::max(1, value);
    if (value == RowCount())
        return;
    if (value <= fixedRows_)
        fixedRows_ = value - 1;
    rowHeights_.resize(static_cast<size_t>(value), defaultRowHeight_);
    int first = std::min(fixedRows_, value - 1);
    row_ = std::max(first, std::min(row_, value - 1));
    anchorRow_ = std::max(first, std::min(anchorRow_, value - 1));
    selection_.Top = std::min(selection_.Top, value - 1);
    selection_.Bottom = std::min(selection_.Bottom, value - 1);
    topRow_ = std::max(first, std::min(topRow_, MaxTopRow()));
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int value)
{
    if (value < 0 || value >= ColCount())
        throw EInvalidOperation("Fixed column count must be less than column count");
    fixedCols_ = value;
    col_ = std::max(col_, value);
    anchorCol_ = std::max(anchorCol_, value);
    leftCol_ = std::max(leftCol_, value);
    selection_.Left = std::max(selection_.Left, value);
    selection_.Right = std::max(selection_.Right, value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int value)
{
    if (value < 0 || value >= RowCount())
        throw EInvalidOperation("Fixed row count must be less than row count");
    fixedRows_ = value;
    row_ = std::max(row_, value);
    anchorRow_ = std::max(anchorRow_, value);
    topRow_ = std::max(topRow_, value);
    selection_.Top = std::max(selection_.Top, value);
    selection_.Bottom = std::max(selection_.Bottom, value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    defaultColWidth_ = value;
    std::fill(colWidths_.begin(), colWidths_.end(), value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    defaultRowHeight_ = value;
    std::fill(rowHeights_.begin(), rowHeights_.end(), value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount() || colWidths_[static_cast<size_t>(col)] == width)
        return;
    colWidths_[static_cast<size_t>(col)] = std::max(0, width);
    if (!painting_) {
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount() || rowHeights_[static_cast<size_t>(row)] == height)
        return;
    rowHeights_[static_cast<size_t>(row)] = std::max(0, height);
    if (!painting_) {
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomGrid::SetGridLineWidth(int value)
{
    gridLineWidth_ = std::max(0, value);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value)
{
    if (value == options_)
        return;
    options_ = value;
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
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return TRect{};
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_))
        return TRect{};
    TRect client = TCustomControl::ClientRect();
    int x = 0;
    for (int c = 0; c < col; c = (c + 1 == fixedCols_ ? std::max(c + 1, leftCol_) : c + 1)) {
        if (c >= fixedCols_ && c < leftCol_)
            continue;
        x += colWidths_[static_cast<size_t>(c)] + LineW();
        if (x > client.Right)
            return TRect{};
    }
    int y = 0;
    for (int r = 0; r < row; r = (r + 1 == fixedRows_ ? std::max(r + 1, topRow_) : r + 1)) {
        if (r >= fixedRows_ && r < topRow_)
            continue;
        y += rowHeights_[static_cast<size_t>(r)] + LineH();
        if (y > client.Bottom)
            return TRect{};
    }
    return Rect(x, y, x + colWidths_[static_cast<size_t>(col)], y + rowHeights_[static_cast<size_t>(row)]);
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row)
{
    col = row = -1;
    auto find = [](int p, const std::vector<int>& sizes, int fixed, int first, int line) {
        int pos = 0;
        for (int i = 0; i < static_cast<int>(sizes.size()); i = (i + 1 == fixed ? std::max(i + 1, first) : i + 1)) {
            if (i >= fixed && i < first)
                continue;
            int end = pos + sizes[static_cast<size_t>(i)] + line;
            if (p >= pos && p < end)
                return i;
            pos = end;
        }
        return -1;
    };
    if (x < 0 || y < 0)
        return;
    TRect client = TCustomControl::ClientRect();
    if (x >= client.Right || y >= client.Bottom)
        return;
    int c = find(x, colWidths_, fixedCols_, leftCol_, LineW());
    int r = find(y, rowHeights_, fixedRows_, topRow_, LineH());
    if (c >= 0 && r >= 0) {
        col = c;
        row = r;
    }
}

int TCustomGrid::VisibleColCount()
{
    int room = TCustomControl::ClientRect().Right;
    for (int c = 0; c < fixedCols_; ++c)
        room -= colWidths_[static_cast<size_t>(c)] + LineW();
    int n = 0;
    for (int c = leftCol_; c < ColCount(); ++c) {
        room -= colWidths_[static_cast<size_t>(c)] + LineW();
        if (room < -LineW())
            break;
        ++n;
    }
    return n;
}

int TCustomGrid::VisibleRowCount()
{
    int room = TCustomControl::ClientRect().Bottom;
    for (int r = 0; r < fixedRows_; ++r)
        room -= rowHeights_[static_cast<size_t>(r)] + LineH();
    int n = 0;
    for (int r = topRow_; r < RowCount(); ++r) {
        room -= rowHeights_[static_cast<size_t>(r)] + LineH();
        if (room < -LineH())
            break;
        ++n;
    }
    return n;
}

// The last first-column that still fills the view: walk back from the last column.
int TCustomGrid::MaxLeftCol()
{
    int room = TCustomControl::ClientRect().Right;
    for (int c = 0; c < fixedCols_; ++c)
        room -= colWidths_[static_cast<size_t>(c)] + LineW();
    int c = ColCount() - 1;
    room -= colWidths_[static_cast<size_t>(c)] + LineW();
    while (c > fixedCols_ && room - (colWidths_[static_cast<size_t>(c - 1)] + LineW()) >= -LineW()) {
        --c;
        room -= colWidths_[static_cast<size_t>(c)] + LineW();
    }
    return std::max(fixedCols_, c);
}

int TCustomGrid::MaxTopRow()
{
    int room = TCustomControl::ClientRect().Bottom;
    for (int r = 0; r < fixedRows_; ++r)
        room -= rowHeights_[static_cast<size_t>(r)] + LineH();
    int r = RowCount() - 1;
    room -= rowHeights_[static_cast<size_t>(r)] + LineH();
    while (r > fixedRows_ && room - (rowHeights_[static_cast<size_t>(r - 1)] + LineH()) >= -LineH()) {
        --r;
        room -= rowHeights_[static_cast<size_t>(r)] + LineH();
    }
    return std::max(fixedRows_, r);
}

// ---------------------------------------------------------------------------------------
// Scrolling

void TCustomGrid::SetTopLeft(int col, int row)
{
    if (!HandleAllocated()) {
        leftCol_ = std::max(fixedCols_, std::min(col, ColCount() - 1));
        topRow_ = std::max(fixedRows_, std::min(row, RowCount() - 1));
        return;
    }
    col = std::max(fixedCols_, std::min(col, MaxLeftCol()));
    row = std::max(fixedRows_, std::min(row, MaxTopRow()));
    if (col == leftCol_ && row == topRow_)
        return;
    leftCol_ = col;
    topRow_ = row;
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
    int left = leftCol_, top = topRow_;
    if (col >= fixedCols_) {
        if (col < leftCol_)
            left = col;
        else if (col >= leftCol_ + VisibleColCount())
            left = leftCol_ + (col - (leftCol_ + std::max(1, VisibleColCount())) + 1);
    }
    if (row >= fixedRows_) {
        if (row < topRow_)
            top = row;
        else if (row >= topRow_ + VisibleRowCount())
            top = topRow_ + (row - (topRow_ + std::max(1, VisibleRowCount())) + 1);
    }
    SetTopLeft(left, top);
    // Wide columns: keep stepping until the column is wholly in view (or first).
    while (HandleAllocated() && col >= fixedCols_ && col > leftCol_ && col >= leftCol_ + VisibleColCount()) {
        int before = leftCol_;
        SetTopLeft(leftCol_ + 1, topRow_);
        if (leftCol_ == before)
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
    si.nMin = fixedCols_;
    si.nMax = std::max(fixedCols_, ColCount() - 1);
    si.nPage = static_cast<UINT>(std::max(1, ColCount() - maxLeft));
    si.nPos = leftCol_;
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
    int maxTop = MaxTopRow();
    si.nMin = fixedRows_;
    si.nMax = std::max(fixedRows_, RowCount() - 1);
    si.nPage = static_cast<UINT>(std::max(1, RowCount() - maxTop));
    si.nPos = topRow_;
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
}

void TCustomGrid::Scroll(int bar, WORD code)
{
    bool horz = bar == SB_HORZ;
    int pos = horz ? leftCol_ : topRow_;
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
        SetTopLeft(pos, topRow_);
    else
        SetTopLeft(leftCol_, pos);
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
            int right = std::min(g.Right, leftCol_ + VisibleColCount());
            int bottom = std::min(g.Bottom, topRow_ + VisibleRowCount());
            for (int c = std::max(g.Left, leftCol_); c <= right; ++c)
                for (int r = std::max(g.Top, topRow_); r <= bottom; ++r)
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
    FlagScope painting(painting_);
    HDC dc = canvas_.Handle();
    RECT clip;
    GetClipBox(dc, &clip);
    TRect client = TCustomControl::ClientRect();
    // Grid lines: the background of the cell area shows through between the cells.
    int lw = LineW(), lh = LineH();
    int x = 0, lastX = 0, lastY = 0;
    std::vector<std::pair<int, int>> cols, rows;  // visible index and left (top)
    for (int c = 0; c < ColCount() && x < client.Right; c = (c + 1 == fixedCols_ ? std::max(c + 1, leftCol_) : c + 1)) {
        if (c >= fixedCols_ && c < leftCol_)
            continue;
        cols.emplace_back(c, x);
        x += colWidths_[static_cast<size_t>(c)] + lw;
    }
    lastX = x;
    int y = 0;
    for (int r = 0; r < RowCount() && y < client.Bottom; r = (r + 1 == fixedRows_ ? std::max(r + 1, topRow_) : r + 1)) {
        if (r >= fixedRows_ && r < topRow_)
            continue;
        rows.emplace_back(r, y);
        y += rowHeights_[static_cast<size_t>(r)] + lh;
    }
    lastY = y;
    int fixedRight = 0, fixedBottom = 0;
    for (auto& c : cols)
        if (c.first < fixedCols_)
            fixedRight = c.second + colWidths_[static_cast<size_t>(c.first)] + lw;
    for (auto& r : rows)
        if (r.first < fixedRows_)
            fixedBottom = r.second + rowHeights_[static_cast<size_t>(r.first)] + lh;
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
            TRect cell = Bounds(c.second, r.second, colWidths_[static_cast<size_t>(col)],
                                rowHeights_[static_cast<size_t>(row)]);
            if (cell.Right + lw < clip.left || cell.Left > clip.right || cell.Bottom + lh < clip.top ||
                cell.Top > clip.bottom)
                continue;
            bool fixed = col < fixedCols_ || row < fixedRows_;
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
            SavedDCScope saved(dc);
            IntersectClipRect(dc, cell.Left, cell.Top, cell.Right, cell.Bottom);
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
    if (row < 0 || row >= fixedRows_)
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
            sizingStartWidth_ = colWidths_[static_cast<size_t>(sizingCol_)];
        } else {
            int col, row;
            MouseToCell(x, y, col, row);
            if (col >= fixedCols_ && row >= fixedRows_) {
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
        if (col >= fixedCols_ && row >= fixedRows_ && (col != col_ || row != row_))
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
        col = fixedCols_;
        if (ctrl)
            row = fixedRows_;
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
            if (--col < fixedCols_) {
                col = lastCol;
                row = row > fixedRows_ ? row - 1 : lastRow;
            }
        } else if (++col > lastCol) {
            col = fixedCols_;
            row = row < lastRow ? row + 1 : fixedRows_;
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
    col = std::max(fixedCols_, std::min(col, lastCol));
    row = std::max(fixedRows_, std::min(row, lastRow));
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
        int steps = -GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
        SetTopLeft(leftCol_, topRow_ + (steps == 0 ? 0 : steps * 3));
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
