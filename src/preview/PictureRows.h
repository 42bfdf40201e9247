#pragma once
// A picture handed over row by row, so that a tall layout picture never has to be held
// whole in memory.
#include <cstdint>

class PictureRows {
public:
    virtual ~PictureRows() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Row y (0 at the top) as Width() pixels 0x00RRGGBB; false when it cannot be read.
    virtual bool ReadRow(int y, uint32_t* row) = 0;
};
