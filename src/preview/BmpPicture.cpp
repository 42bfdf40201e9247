#include "preview/BmpPicture.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr uint32_t kPlain = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr int64_t kMaxWidth = 1 << 20;
constexpr int64_t kMaxHeight = 1 << 24;
constexpr int64_t kMaxRunBytes = int64_t{256} << 20;
// A run-length encoded picture may describe at most this many pixels per byte of its
// data (and any picture up to kSmallPicture pixels): a few bytes claiming a huge size
// would otherwise keep the layout's reading busy for hours.
constexpr int64_t kRunPixelsPerByte = 1024;
constexpr int64_t kSmallPicture = int64_t{1} << 20;
constexpr size_t kFileHeader = 14;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool ReadAt(TStream& stream, int64_t offset, void* buffer, int64_t count)
{
    return stream.Seek(offset, TSeekOrigin::soBeginning) == offset && stream.Read(buffer, count) == count;
}

bool Fail(std::string& error, const char* reason)
{
    error = reason;
    return false;
}

} // namespace

BmpPicture::Field BmpPicture::Field::Of(uint32_t mask)
{
    Field f;
    if (mask == 0)
        return f;
    while (!((mask >> f.shift) & 1))
        ++f.shift;
    while (f.shift + f.length < 32 && ((mask >> (f.shift + f.length)) & 1))
        ++f.length;
    return f;
}

// As the platform draws such a picture: the field's bits become the top bits of the 8-bit
// component and are repeated once below themselves (a 5-bit 31 gives 255, a 1-bit 1 only
// 0xC0); of a field longer than 8 bits only its top 8 count.
uint32_t BmpPicture::Field::Component(uint32_t value) const
{
    if (length == 0)
        return 0;
    uint32_t bits = static_cast<uint32_t>((uint64_t{value} >> shift) & ((uint64_t{1} << length) - 1));
    uint32_t top = length < 8 ? bits << (8 - length) : bits >> (length - 8);
    return length >= 8 ? top : top | top >> length;
}

bool BmpPicture::Open(TStream& stream, std::string& error)
{
    stream_ = &stream;
    size_ = stream.Size();
    if (!ReadHeaders(error))
        return false;
    if (compression_ == kRle8 || compression_ == kRle4)
        return IndexRuns(error);
    bytes_.resize(static_cast<size_t>(stride_));
    return true;
}

bool BmpPicture::ReadHeaders(std::string& error)
{
    uint8_t file[kFileHeader];
    if (size_ < static_cast<int64_t>(kFileHeader) + 12 || !ReadAt(*stream_, 0, file, sizeof file) ||
        file[0] != 'B' || file[1] != 'M')
        return Fail(error, "not a bitmap file");
    dataOffset_ = U32(file + 10);

    uint8_t info[124 + 16] = {};
    int64_t available = std::min<int64_t>(size_ - static_cast<int64_t>(kFileHeader), sizeof info);
    if (!ReadAt(*stream_, kFileHeader, info, available))
        return Fail(error, "the file cannot be read");
    uint32_t headerSize = U32(info);
    int64_t height = 0;
    uint32_t colorsUsed = 0;
    int paletteEntry = 4;
    if (headerSize == 12) {
        width_ = U16(info + 4);
        height = U16(info + 6);
        bitCount_ = U16(info + 10);
        compression_ = kPlain;
        paletteEntry = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        if (available < headerSize)
            return Fail(error, "the header is cut short");
        int64_t width = static_cast<int32_t>(U32(info + 4));
        height = static_cast<int32_t>(U32(info + 8));
        if (width <= 0 || width > kMaxWidth)
            return Fail(error, "unsupported picture width");
        width_ = static_cast<int>(width);
        bitCount_ = U16(info + 14);
        compression_ = U32(info + 16);
        colorsUsed = U32(info + 32);
    } else {
        return Fail(error, "unknown bitmap header");
    }
    bottomUp_ = height > 0;
    height = std::llabs(height);
    if (width_ <= 0 || height == 0 || height > kMaxHeight)
        return Fail(error, "unsupported picture size");
    height_ = static_cast<int>(height);

    bool fields = compression_ == kBitFields || compression_ == kAlphaBitFields;
    bool known = (compression_ == kPlain && (bitCount_ == 1 || bitCount_ == 2 || bitCount_ == 4 ||
                                             bitCount_ == 8 || bitCount_ == 16 || bitCount_ == 24 ||
                                             bitCount_ == 32)) ||
                 (fields && (bitCount_ == 16 || bitCount_ == 32)) ||
                 (compression_ == kRle8 && bitCount_ == 8 && bottomUp_) ||
                 (compression_ == kRle4 && bitCount_ == 4 && bottomUp_);
    if (!known || (headerSize == 12 && (bitCount_ == 16 || bitCount_ == 32 || bitCount_ == 2)))
        return Fail(error, "unsupported pixel format");

    int64_t paletteOffset = kFileHeader + headerSize;
    if (fields) {
        int64_t fieldBytes = compression_ == kAlphaBitFields ? 16 : 12;
        if (headerSize == 40) {
            if (available < 40 + fieldBytes)
                return Fail(error, "the bit fields are cut short");
            paletteOffset += fieldBytes;
        }
        for (int i = 0; i < 3; ++i)
            fields_[i] = Field::Of(U32(info + 40 + 4 * i));
    } else if (bitCount_ == 16 || bitCount_ == 32) {
        const uint32_t masks[2][3] = {{0x7C00, 0x03E0, 0x001F}, {0xFF0000, 0x00FF00, 0x0000FF}};
        for (int i = 0; i < 3; ++i)
            fields_[i] = Field::Of(masks[bitCount_ / 32][i]);
    }

    if (bitCount_ <= 8) {
        uint32_t full = 1u << bitCount_;
        uint32_t count = colorsUsed && colorsUsed < full ? colorsUsed : full;
        std::vector<uint8_t> entries(count * static_cast<size_t>(paletteEntry));
        if (!ReadAt(*stream_, paletteOffset, entries.data(), static_cast<int64_t>(entries.size())))
            return Fail(error, "the palette is cut short");
        palette_.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = &entries[i * static_cast<size_t>(paletteEntry)];
            palette_[i] = static_cast<uint32_t>(e[2]) << 16 | static_cast<uint32_t>(e[1]) << 8 | e[0];
        }
    }

    stride_ = (static_cast<int64_t>(width_) * bitCount_ + 31) / 32 * 4;
    if (dataOffset_ > size_)
        return Fail(error, "the picture data lies outside the file");
    if ((compression_ == kPlain || fields) && dataOffset_ + stride_ * height_ > size_)
        return Fail(error, "the picture data is cut short");
    return true;
}

uint32_t BmpPicture::FieldPixel(uint32_t value) const
{
    return fields_[0].Component(value) << 16 | fields_[1].Component(value) << 8 | fields_[2].Component(value);
}

bool BmpPicture::ReadRow(int y, uint32_t* row)
{
    if (!stream_ || y < 0 || y >= height_)
        return false;
    int fileRow = bottomUp_ ? height_ - 1 - y : y;
    if (compression_ == kRle8 || compression_ == kRle4) {
        ReadRunRow(fileRow, row);
        return true;
    }
    return ReadPlainRow(fileRow, row);
}

bool BmpPicture::ReadPlainRow(int fileRow, uint32_t* row)
{
    if (!ReadAt(*stream_, dataOffset_ + stride_ * fileRow, bytes_.data(), stride_))
        return false;
    const uint8_t* p = bytes_.data();
    switch (bitCount_) {
    case 16:
        for (int x = 0; x < width_; ++x)
            row[x] = FieldPixel(U16(p + 2 * x));
        break;
    case 24:
        for (int x = 0; x < width_; ++x)
            row[x] = static_cast<uint32_t>(p[3 * x + 2]) << 16 | static_cast<uint32_t>(p[3 * x + 1]) << 8 | p[3 * x];
        break;
    case 32:
        for (int x = 0; x < width_; ++x)
            row[x] = FieldPixel(U32(p + 4 * x));
        break;
    default: {
        // Palette indexes packed from the high bits of each byte.
        int perByte = 8 / bitCount_;
        unsigned mask = (1u << bitCount_) - 1;
        for (int x = 0; x < width_; ++x) {
            int shift = 8 - bitCount_ * (x % perByte + 1);
            unsigned index = (p[x / perByte] >> shift) & mask;
            row[x] = index < palette_.size() ? palette_[index] : 0;
        }
        break;
    }
    }
    return true;
}

template <class Put>
BmpPicture::RunEnd BmpPicture::WalkRuns(size_t p, int& x, Put&& put) const
{
    const bool four = compression_ == kRle4;
    const size_t n = bytes_.size();
    // Pixels past the right edge are dropped; x stops there so that it cannot overflow.
    auto emit = [&](unsigned index) {
        if (x < width_) {
            put(x, index);
            ++x;
        }
    };
    while (p + 2 <= n) {
        unsigned a = bytes_[p], b = bytes_[p + 1];
        p += 2;
        if (a > 0) {
            for (unsigned i = 0; i < a; ++i)
                emit(four ? (i % 2 == 0 ? b >> 4 : b & 15) : b);
            continue;
        }
        if (b == 0)
            return RunEnd{p, RunEnd::kLine, 0};
        if (b == 1)
            return RunEnd{p, RunEnd::kPicture, 0};
        if (b == 2) {
            if (p + 2 > n)
                break;
            int dx = bytes_[p], dy = bytes_[p + 1];
            p += 2;
            x = std::min(x + dx, width_);
            if (dy > 0)
                return RunEnd{p, RunEnd::kJump, dy};
            continue;
        }
        size_t count = b, length = four ? (count + 1) / 2 : count;
        if (p + length > n)
            break;
        for (size_t i = 0; i < count; ++i)
            emit(four ? (i % 2 == 0 ? bytes_[p + i / 2] >> 4 : bytes_[p + i / 2] & 15) : bytes_[p + i]);
        p += (length + 1) & ~size_t{1};
    }
    return RunEnd{n, RunEnd::kPicture, 0};
}

bool BmpPicture::IndexRuns(std::string& error)
{
    int64_t count = size_ - dataOffset_;
    if (count > kMaxRunBytes)
        return Fail(error, "the picture data is too large");
    if (int64_t{width_} * height_ > std::max(kSmallPicture, count * kRunPixelsPerByte))
        return Fail(error, "the picture is larger than its data");
    bytes_.resize(static_cast<size_t>(count));
    if (count > 0 && !ReadAt(*stream_, dataOffset_, bytes_.data(), count))
        return Fail(error, "the picture data cannot be read");
    int row = 0, x = 0;
    size_t p = 0;
    runRows_.push_back(RunRow{0, 0, 0});
    for (;;) {
        RunEnd end = WalkRuns(p, x, [](int, unsigned) {});
        if (end.kind == RunEnd::kPicture)
            break;
        if (end.kind == RunEnd::kLine) {
            row += 1;
            x = 0;
        } else {
            row += end.dy;
        }
        if (row >= height_)
            break;
        p = end.next;
        runRows_.push_back(RunRow{row, x, p});
    }
    return true;
}

void BmpPicture::ReadRunRow(int fileRow, uint32_t* row)
{
    std::fill(row, row + width_, palette_.empty() ? 0u : palette_[0]);
    auto it = std::lower_bound(runRows_.begin(), runRows_.end(), fileRow,
                               [](const RunRow& r, int wanted) { return r.row < wanted; });
    if (it == runRows_.end() || it->row != fileRow)
        return;
    int x = it->x;
    WalkRuns(it->offset, x, [&](int at, unsigned index) {
        row[at] = index < palette_.size() ? palette_[index] : 0;
    });
}
