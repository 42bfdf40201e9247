#pragma once
// Windows bitmap files made by the tests, byte by byte.
#include <cstdint>
#include <vector>

// What a test puts into a bitmap file: the header fields, palette, bit fields and pixels.
struct BmpContent {
    uint32_t headerSize = 40;           // 12 for the core header
    int32_t width = 0;
    int32_t height = 0;                 // negative: rows stored top-down
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette;      // 0x00RRGGBB
    std::vector<uint32_t> fields;       // bit fields written after a 40-byte header
    std::vector<uint8_t> data;          // the pixel data as stored
};

inline void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline std::vector<uint8_t> BmpBytes(const BmpContent& s)
{
    std::vector<uint8_t> header;
    PutLE(header, s.headerSize, 4);
    if (s.headerSize == 12) {
        PutLE(header, static_cast<uint32_t>(s.width), 2);
        PutLE(header, static_cast<uint32_t>(s.height), 2);
        PutLE(header, 1, 2);
        PutLE(header, s.bitCount, 2);
    } else {
        PutLE(header, static_cast<uint32_t>(s.width), 4);
        PutLE(header, static_cast<uint32_t>(s.height), 4);
        PutLE(header, 1, 2);
        PutLE(header, s.bitCount, 2);
        PutLE(header, s.compression, 4);
        PutLE(header, static_cast<uint32_t>(s.data.size()), 4);
        PutLE(header, 2835, 4);
        PutLE(header, 2835, 4);
        PutLE(header, s.colorsUsed, 4);
        PutLE(header, 0, 4);
        header.resize(s.headerSize, 0);
    }
    for (uint32_t f : s.fields)
        PutLE(header, f, 4);
    for (uint32_t c : s.palette)
        PutLE(header, c, s.headerSize == 12 ? 3 : 4);
    std::vector<uint8_t> out{'B', 'M'};
    uint32_t offset = 14 + static_cast<uint32_t>(header.size());
    PutLE(out, offset + static_cast<uint32_t>(s.data.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), s.data.begin(), s.data.end());
    return out;
}

// A 24-bit picture stored bottom-up, from its pixels 0x00RRGGBB given top row first.
inline std::vector<uint8_t> Bmp24(int width, int height, const std::vector<uint32_t>& pixels)
{
    BmpContent s;
    s.width = width;
    s.height = height;
    size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    for (int y = height - 1; y >= 0; --y) {
        size_t start = s.data.size();
        for (int x = 0; x < width; ++x)
            PutLE(s.data, pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)], 3);
        s.data.resize(start + stride, 0);
    }
    return BmpBytes(s);
}
