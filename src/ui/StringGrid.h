#pragma once
// A grid that keeps a text per cell, drawn and edited in place.
#include <string>
#include <vector>

#include "ui/Grids.h"

class TStringGrid : public TDrawGrid {
public:
    using TDrawGrid::TDrawGrid;
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;

private:
    std::vector<std::vector<std::string>> cells_;  // [col][row], grown on demand
};
