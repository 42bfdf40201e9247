#pragma once
// Grids: TDrawGrid draws every cell through OnDrawCell; TStringGrid (StringGrid.h) keeps
// a text per cell and can edit it in place (InplaceEdit.h). Only the visible cells are drawn, so a grid of some
// thousand columns scrolls as fast as a small one.
#include <memory>
#include <vector>

#include "ui/Controls.h"
#include "ui/GridAxis.h"
#include "ui/StdCtrls.h"

enum TGridOption : unsigned {
    goFixedVertLine = 0x1,
    goFixedHorzLine = 0x2,
    goVertLine = 0x4,
    goHorzLine = 0x8,
    goRangeSelect = 0x10,
    goDrawFocusSelected = 0x20,
    goColSizing = 0x40,
    goEditing = 0x80,
    goTabs = 0x100,
    goThumbTracking = 0x200,
};
using TGridOptions = unsigned;

enum TGridDrawStateFlags : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;

class TInplaceEdit;

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return cols_.Count(); }
    int RowCount() const { return rows_.Count(); }
    void SetColCount(int value);
    void SetRowCount(int value);
    int FixedCols() const { return cols_.Fixed; }
    int FixedRows() const { return rows_.Fixed; }
    // Must stay below ColCount / RowCount (an Exception otherwise).
    void SetFixedCols(int value);
    void SetFixedRows(int value);
    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    // Sets every column's width (every row's height).
    void SetDefaultColWidth(int value);
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const { return cols_.Size(col); }
    void SetColWidths(int col, int width);
    // Sets the widths of columns first, first + 1, ... with one relayout for all.
    void SetColWidthsFrom(int first, const std::vector<int>& widths);
    int RowHeights(int row) const { return rows_.Size(row); }
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);

    // The current cell. Moving it asks OnSelectCell, from code too, and scrolls it into
    // view; an index outside the grid raises an Exception.
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int value) { MoveCurrent(value, row_, false); }
    void SetRow(int value) { MoveCurrent(col_, value, false); }
    // The first non-fixed column and row in view.
    int LeftCol() const { return cols_.First; }
    int TopRow() const { return rows_.First; }
    void SetLeftCol(int value) { SetTopLeft(value, rows_.First); }
    void SetTopRow(int value) { SetTopLeft(cols_.First, value); }
    // Non-fixed columns (rows) wholly in view.
    int VisibleColCount();
    int VisibleRowCount();

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);
    bool DefaultDrawing = true;
    TColor FixedColor = clBtnFace;
    TGridRect Selection() const { return selection_; }
    void SetSelection(const TGridRect& rect);

    // The cell's rectangle in client coordinates; empty when the cell is out of view.
    TRect CellRect(int col, int row);
    // The cell under a client point; -1, -1 outside the cells.
    void MouseToCell(int x, int y, int& col, int& row);
    void InvalidateCell(int col, int row);
    // Paints the block of cells from (Left, Top) to (Right, Bottom), all in view, on the
    // window now, the way a paint of their area does (OnDrawCell for each); what is
    // waiting to be repainted stays for the next paint.
    void PaintCells(const TGridRect& cells);
    // A canvas on the grid's window, also outside painting (for drawing single cells
    // at once); while the grid paints, the canvas of the paint.
    TCanvas* Canvas();

    bool EditorMode() const;
    void ShowEditor();
    void HideEditor();

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditText;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyHandleStart() override;
    void BoundsChanged() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Sets the canvas up for a cell (font, brush by state) and, with DefaultDrawing,
    // fills it; then DrawCell draws its content and runs OnDrawCell.
    void PrepareCell(const TRect& rect, TGridDrawState state);
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual void TopLeftChanged();
    // Keyboard navigation; true when the key moved something.
    bool KeyNavigate(WORD key, TShiftState shift);

    void MoveCurrent(int col, int row, bool extend);
    void SetTopLeft(int col, int row);

private:
    // The axes' lines follow the options and the line width.
    void SyncLines();
    // After sizes changed: the view stays full, the scroll bars follow, all is redrawn.
    void SizesChanged();
    int MaxLeftCol();
    int MaxTopRow();
    void ScrollIntoView(int col, int row);
    void UpdateScrollBars();
    void Scroll(int bar, WORD code);
    void ReleaseCanvasDC();
    // Paints the part of the client area within area onto target through an off-screen
    // bitmap; DrawArea draws it (the rest, the lines and the cells that meet clip).
    void PaintArea(HDC target, const RECT& area);
    void DrawArea(HDC dc, const RECT& clip);
    void PlaceEditor();
    // Column whose right border is near x in the fixed rows, or -1.
    int SizingColumn(int x, int y);

    GridAxis cols_, rows_;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    int col_ = 1, row_ = 1;
    int anchorCol_ = 1, anchorRow_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TGridRect selection_{1, 1, 1, 1};
    bool selecting_ = false;
    int sizingCol_ = -1, sizingStartX_ = 0, sizingStartWidth_ = 0;
    bool painting_ = false;
    TWindowDC canvasDC_;  // the window's DC while drawing outside painting
    TBitmap buffer_;      // what a paint draws before it is copied onto the window
    TInplaceEdit* editor_ = nullptr;  // owned as a component
    std::string editOriginal_;

    friend class TInplaceEdit;
};

class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;
};
