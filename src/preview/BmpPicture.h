#pragma once
// Windows bitmap files, the pictures of the show window: core and info headers (up to
// the fifth version), 1, 2, 4 and 8 bits per pixel with a palette, 16 and 32 bits with
// the default or given bit fields, 24 bits, and run-length encoding of 8 and 4 bits.
// Every size and offset in the file is checked before it is used.
#include <string>
#include <vector>

#include "preview/PictureRows.h"
#include "ui/Streams.h"

class BmpPicture : public PictureRows {
public:
    // Reads the headers from stream (kept for ReadRow, not owned) and, for a run-length
    // encoded picture, its pixel data; false with the reason in error when the file is
    // no picture this reader knows or is cut short.
    bool Open(TStream& stream, std::string& error);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool ReadRow(int y, uint32_t* row) override;

private:
    bool ReadHeaders(std::string& error);
    bool IndexRuns(std::string& error);
    bool ReadPlainRow(int fileRow, uint32_t* row);
    void ReadRunRow(int fileRow, uint32_t* row);
    uint32_t FieldPixel(uint32_t value) const;

    // A colour component's bit field: its lowest run of set bits in the mask (bits above
    // a gap are not part of it).
    struct Field {
        int shift = 0;
        int length = 0;
        static Field Of(uint32_t mask);
        // The component under the field, scaled to 8 bits.
        uint32_t Component(uint32_t value) const;
    };

    // How the runs of one row end: at the end of the line, of the picture, or with a
    // jump of dy rows; next is the offset after the record that ended it.
    struct RunEnd {
        size_t next;
        enum Kind { kLine, kPicture, kJump } kind;
        int dy;
    };
    // Walks the run records from offset p, calling put(x, palette index) for every pixel
    // inside the row, until the row ends.
    template <class Put>
    RunEnd WalkRuns(size_t p, int& x, Put&& put) const;

    TStream* stream_ = nullptr;  // not owned
    int64_t size_ = 0;
    int width_ = 0, height_ = 0;
    bool bottomUp_ = true;
    int bitCount_ = 0;
    uint32_t compression_ = 0;
    int64_t dataOffset_ = 0;
    int64_t stride_ = 0;
    std::vector<uint32_t> palette_;  // pixels
    Field fields_[3];                // red, green, blue
    std::vector<uint8_t> bytes_;     // one row of a plain picture, or all the runs

    // Where each row of a run-length encoded picture starts in bytes_ (rows counted
    // from the bottom, as stored); rows without an entry are left at palette colour 0.
    struct RunRow {
        int row;
        int x;
        size_t offset;
    };
    std::vector<RunRow> runRows_;
};
