#include "ui/StringGrid.h"

#include "ui/DrawText.h"

// ---------------------------------------------------------------------------------------
// TStringGrid

std::string TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || static_cast<size_t>(col) >= cells_.size())
        return std::string();
    const auto& column = cells_[static_cast<size_t>(col)];
    return static_cast<size_t>(row) < column.size() ? column[static_cast<size_t>(row)] : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& value)
{
    if (col < 0 || row < 0)
        return;
    if (cells_.size() <= static_cast<size_t>(col))
        cells_.resize(static_cast<size_t>(col) + 1);
    auto& column = cells_[static_cast<size_t>(col)];
    if (column.size() <= static_cast<size_t>(row))
        column.resize(static_cast<size_t>(row) + 1);
    if (column[static_cast<size_t>(row)] == value)
        return;
    column[static_cast<size_t>(row)] = value;
    InvalidateCell(col, row);
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    if (DefaultDrawing) {
        RECT r{rect.Left + 2, rect.Top + 2, rect.Right, rect.Bottom};
        DrawCaption(canvas_.Handle(), Cells(col, row), r, DT_SINGLELINE | DT_NOPREFIX, canvas_.Font,
                    canvas_.Font.Color);
    }
    TDrawGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int col, int row)
{
    std::string value = Cells(col, row);
    if (OnGetEditText && EventsAllowed())
        OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value)
{
    SetCells(col, row, value);
    TDrawGrid::SetEditText(col, row, value);
}
