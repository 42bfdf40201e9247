// The show window under Wine: its image compared pixel by pixel with the chain of raster
// operations it replaces, done by the platform on a strip the platform decoded itself;
// pictures that cannot serve falling back to the generated layout; the kept size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "preview/Pixels.h"
#include "preview/UnitShow.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {

constexpr int kLevelMax = 128;

class ShowWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        show = new TFormShow(Application);
        cfg = std::make_unique<ControllerConfig>();
        *cfg = ControllerConfig{};
        SetChannelDefaults(*cfg);
    }
    void TearDown() override { TComponent::Free(show); }

    void RandomLights(int channels)
    {
        cfg->channels = channels;
        for (int c = 0; c < channels; ++c) {
            cfg->channelTable[c].color = static_cast<uint32_t>(random() % 0x1000000);
            levels.push_back(static_cast<int>(random() % 150) - 10);
        }
    }
    // Lays the window out, shows it and renders the levels; returns the image.
    std::vector<uint32_t> Render()
    {
        show->SetupLayout(*cfg, ModelParamTable[0]);
        show->Show();
        for (size_t c = 0; c < levels.size(); ++c)
            show->SetLevel(static_cast<int>(c), levels[c]);
        show->RenderFrame();
        return Pixels(*show->Composition());
    }
    static std::vector<uint32_t> Pixels(TBitmap& bitmap)
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < bitmap.Height(); ++y)
            out.insert(out.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width());
        return out;
    }
    // The image made by the platform's raster operations over whole frames of strip:
    // the background copied, then per channel a frame filled with the scaled colour,
    // ANDed with the channel's frame and ORed into the image.
    std::vector<uint32_t> ChainImage(TBitmap& strip, int fw, int fh, int count)
    {
        TBitmap a, b;
        a.SetSize(fw, fh);
        b.SetSize(fw, fh);
        HDC sdc = strip.Canvas()->Handle(), adc = a.Canvas()->Handle(), bdc = b.Canvas()->Handle();
        b.Canvas()->Brush.Color = clBlack;
        b.Canvas()->FillRect(Rect(0, 0, fw, fh));
        BitBlt(bdc, 0, 0, fw, fh, sdc, 0, 0, SRCCOPY);
        for (int c = 0; c < count; ++c) {
            a.Canvas()->Brush.Color = ScaleColour(cfg->channelTable[c].color, levels[static_cast<size_t>(c)], kLevelMax);
            a.Canvas()->FillRect(Rect(0, 0, fw, fh));
            BitBlt(adc, 0, 0, fw, fh, sdc, 0, (c + 1) * fh, SRCAND);
            BitBlt(bdc, 0, 0, fw, fh, adc, 0, 0, SRCPAINT);
        }
        return Pixels(b);
    }

    TFormShow* show = nullptr;
    std::unique_ptr<ControllerConfig> cfg;
    std::vector<int> levels;
    std::mt19937 random{7};
    TempDir dir;
};

// Palette indexes of a picture of frames fw x fh with a marker column: a few colours in
// the background, blobs of grey and coloured light in the channel frames.
std::vector<uint8_t> MaskIndexes(std::mt19937& random, int fw, int fh, int frames)
{
    int w = fw + 1;
    std::vector<uint8_t> idx(static_cast<size_t>(w) * static_cast<size_t>((frames + 1) * fh), 0);
    auto at = [&](int x, int y) -> uint8_t& { return idx[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; };
    at(fw, fh) = 255;  // the marker
    for (int i = 0; i < 10; ++i)
        at(static_cast<int>(random() % fw), static_cast<int>(random() % fh)) = static_cast<uint8_t>(random() % 255);
    for (int k = 1; k <= frames; ++k) {
        int left = static_cast<int>(random() % fw), top = static_cast<int>(random() % fh);
        for (int y = top; y < std::min(fh, top + 4); ++y)
            for (int x = left; x < std::min(fw, left + 5); ++x)
                at(x, k * fh + y) = static_cast<uint8_t>(random() % 255);
    }
    return idx;
}

// A palette of greys below 128 and colours above.
std::vector<uint32_t> MaskPalette()
{
    std::vector<uint32_t> palette(256);
    for (uint32_t i = 0; i < 256; ++i)
        palette[i] = i < 128 ? i * 2 * 0x010101u : (i * 0x9E3779B9u) & 0xFFFFFF;
    palette[255] = 0xFFFFFF;
    return palette;
}

// How a test picture stores its pixels: bits per pixel, compression, the red, green and
// blue bit fields written after the header (none for the default ones), row order.
struct Coding {
    const char* name;
    uint16_t bitCount;
    uint32_t compression;
    std::vector<uint32_t> fields;
    bool topDown;
};

const Coding kOneBit{"1-bit palette", 1, 0, {}, false};
const Coding kCodings[] = {
    {"24-bit", 24, 0, {}, false},
    {"8-bit palette", 8, 0, {}, false},
    {"8-bit runs", 8, 1, {}, false},
    {"4-bit palette", 4, 0, {}, false},
    {"4-bit runs", 4, 2, {}, false},
    kOneBit,
    {"16-bit 5-5-5", 16, 0, {}, false},
    {"16-bit 5-6-5 fields", 16, 3, {0xF800, 0x07E0, 0x001F}, false},
    {"32-bit fields of 10, 3 and 6 bits", 32, 3, {0x7FE00000, 0x001C0000, 0x0000003F}, false},
    {"32-bit top-down", 32, 0, {}, true},
};

// An 8-bit component under a bit field: its top bits; a field wider than 8 bits gets
// some of the component's low bits again below them.
uint32_t UnderField(uint32_t component, uint32_t mask)
{
    int shift = 0, length = 0;
    while (!(mask >> shift & 1))
        ++shift;
    while (shift + length < 32 && (mask >> (shift + length) & 1))
        ++length;
    uint32_t v = length >= 8 ? component << (length - 8) | (component & ((1u << (length - 8)) - 1))
                             : component >> (8 - length);
    return v << shift;
}

// The picture of palette indexes idx (w x h, top row first, colours of MaskPalette)
// stored as coding says. A palette of fewer entries takes every so many of MaskPalette's
// and the top bits of each index.
std::vector<uint8_t> PictureFile(const std::vector<uint8_t>& idx, int w, int h, const Coding& coding)
{
    std::vector<uint32_t> colours = MaskPalette();
    const int bits = coding.bitCount;
    BmpContent s;
    s.width = w;
    s.height = coding.topDown ? -h : h;
    s.bitCount = coding.bitCount;
    s.compression = coding.compression;
    s.fields = coding.fields;
    std::vector<uint32_t> fields = coding.fields;
    if (fields.empty())
        fields = bits == 16 ? std::vector<uint32_t>{0x7C00, 0x03E0, 0x001F} : std::vector<uint32_t>{0xFF0000, 0xFF00, 0xFF};
    if (bits <= 8) {
        uint32_t n = 1u << bits;
        for (uint32_t i = 0; i < n; ++i)
            s.palette.push_back(colours[i * 255 / (n - 1)]);
    }
    auto value = [&](uint8_t index) -> uint32_t {
        if (bits <= 8)
            return index >> (8 - bits);
        uint32_t c = colours[index];
        if (bits == 24)
            return c;
        return UnderField(c >> 16 & 255, fields[0]) | UnderField(c >> 8 & 255, fields[1]) | UnderField(c & 255, fields[2]);
    };
    for (int i = 0; i < h; ++i) {
        int y = coding.topDown ? i : h - 1 - i;
        const uint8_t* row = &idx[static_cast<size_t>(y) * static_cast<size_t>(w)];
        if (coding.compression == 1 || coding.compression == 2) {
            for (int x = 0; x < w;) {
                int n = 1;
                while (x + n < w && n < 255 && row[x + n] == row[x])
                    ++n;
                uint32_t v = value(row[x]);
                s.data.push_back(static_cast<uint8_t>(n));
                s.data.push_back(static_cast<uint8_t>(bits == 4 ? v << 4 | v : v));
                x += n;
            }
            s.data.push_back(0);
            s.data.push_back(i == h - 1 ? 1 : 0);  // end of line, end of picture
            continue;
        }
        size_t start = s.data.size();
        s.data.resize(start + (static_cast<size_t>(w) * bits + 31) / 32 * 4, 0);
        for (int x = 0; x < w; ++x) {
            uint32_t v = value(row[x]);
            uint8_t* at = &s.data[start + static_cast<size_t>(x) * bits / 8];
            if (bits < 8)
                *at = static_cast<uint8_t>(*at | v << (8 - bits - x * bits % 8));
            for (int b = 0; b < bits / 8; ++b)
                at[b] = static_cast<uint8_t>(v >> 8 * b);
        }
    }
    return BmpBytes(s);
}

// A picture file as the platform draws it: its header and pixel data handed to
// StretchDIBits, onto a 32-bit bitmap of the picture's size. (This Wine's LoadImage
// leaves a top-down picture black, so the file is not loaded through it.)
void DrawPicture(const std::vector<uint8_t>& file, TBitmap& strip)
{
    uint32_t offset = file[10] | file[11] << 8 | file[12] << 16 | static_cast<uint32_t>(file[13]) << 24;
    std::vector<uint32_t> header((offset - 14 + 3) / 4);  // the header, fields and palette, aligned
    std::memcpy(header.data(), &file[14], offset - 14);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
    int w = info->bmiHeader.biWidth, h = std::abs(info->bmiHeader.biHeight);
    strip.SetSize(w, h);
    StretchDIBits(strip.Canvas()->Handle(), 0, 0, w, h, 0, 0, w, h, &file[offset], info, DIB_RGB_COLORS, SRCCOPY);
}

TEST_F(ShowWindowTest, PictureImageEqualsThePlatformsRasterOperations)
{
    const int fw = 150, fh = 7, frames = 9;  // wider than a window can shrink
    std::vector<uint8_t> idx = MaskIndexes(random, fw, fh, frames);
    RandomLights(frames);
    for (const Coding& coding : kCodings) {
        std::vector<uint8_t> bytes = PictureFile(idx, fw + 1, (frames + 1) * fh, coding);
        CopyText(cfg->pictureFile, dir.Write("layout.bmp", bytes));
        std::vector<uint32_t> image = Render();
        ASSERT_EQ(show->Layout().FrameWidth(), fw) << coding.name;
        ASSERT_EQ(show->Layout().FrameHeight(), fh) << coding.name;
        EXPECT_EQ(show->PanelPaint->Width(), fw) << "a picture is shown at its own size";
        TBitmap strip;
        DrawPicture(bytes, strip);
        EXPECT_EQ(image, ChainImage(strip, fw, fh, frames)) << coding.name;
    }
}

TEST_F(ShowWindowTest, FrameBeyondTwiceTheScreenIsDrawnAtItsOwnScaleClipped)
{
    // A white background frame four screens wide, and one dark channel frame.
    const int fw = 4 * Screen->Width(), fh = 100, w = fw + 1;
    std::vector<uint8_t> idx(static_cast<size_t>(w) * 2 * fh, 0);
    for (int y = 0; y < fh; ++y)
        std::fill_n(&idx[static_cast<size_t>(y) * w], fw, 255);
    idx[static_cast<size_t>(fh) * w + fw] = 255;  // the marker
    CopyText(cfg->pictureFile, dir.Write("wide.bmp", PictureFile(idx, w, 2 * fh, kOneBit)));
    cfg->channels = 1;
    show->SetupLayout(*cfg, ModelParamTable[0]);
    show->Show();
    show->SetBounds(0, 0, 700, 400);
    Application->ProcessMessages();
    show->RenderFrame();

    // The whole frame would fill the panel's width; only its first half, twice the
    // screen, is composed, so only the panel's left half is lit.
    int pw = show->PanelPaint->Width(), drawnHeight = fh * pw / fw;
    ASSERT_GT(show->PanelPaint->Height(), 2 * drawnHeight);
    HDC dc = GetDC(show->PanelPaint->Handle());
    EXPECT_EQ(GetPixel(dc, pw / 2 - 2, drawnHeight - 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, pw / 2 + 2, 1), RGB(0, 0, 0)) << "the frame is clipped, not stretched";
    EXPECT_EQ(GetPixel(dc, 1, drawnHeight + 1), RGB(0, 0, 0)) << "the frame keeps its aspect";
    ReleaseDC(show->PanelPaint->Handle(), dc);
}

TEST_F(ShowWindowTest, AWindowMadeSmallerKeepsNoPartOfTheEarlierImage)
{
    // 40 white lamps at full level in two rows: a panel of 960 x 96, all of it lit.
    cfg->channels = 40;
    levels.assign(40, kLevelMax);
    Render();
    ASSERT_EQ(show->PanelPaint->Width(), 960);
    ASSERT_EQ(show->PanelPaint->Height(), 96);
    HWND panel = show->PanelPaint->Handle();
    auto lamp = [&](int column, int row, int scale) {
        HDC dc = GetDC(panel);
        COLORREF pixel = GetPixel(dc, (column * 12 + 6) * scale, (row * 12 + 6) * scale);
        ReleaseDC(panel, dc);
        return pixel;
    };
    ASSERT_EQ(lamp(3, 1, 4), RGB(255, 255, 255));
    TBitmap earlier;
    earlier.SetSize(960, 96);
    HDC dc = GetDC(panel);
    BitBlt(earlier.Canvas()->Handle(), 0, 0, 960, 96, dc, 0, 0, SRCCOPY);
    ReleaseDC(panel, dc);

    // Half as wide. Windows keeps the pixels of the part of a window that is left when it
    // is made smaller (this Wine paints it anew), so they are put back as they were.
    show->SetWidth(show->Width() - 480);
    Application->ProcessMessages();
    ASSERT_EQ(show->PanelPaint->Width(), 480);
    dc = GetDC(panel);
    BitBlt(dc, 0, 0, 480, 96, earlier.Canvas()->Handle(), 0, 0, SRCCOPY);
    ReleaseDC(panel, dc);
    show->RenderFrame();
    EXPECT_EQ(lamp(3, 1, 2), RGB(255, 255, 255)) << "the image drawn half as large";
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(lamp(column, 1, 4), RGB(0, 0, 0)) << "the earlier second row, lamp " << column;

    // Laid out for one lamp, twice: the window cannot get as narrow as asked, keeps the
    // least width a window with a caption has, and says so.
    cfg->channels = 1;
    show->SetupLayout(*cfg, ModelParamTable[0]);
    show->SetupLayout(*cfg, ModelParamTable[0]);
    RECT window;
    GetWindowRect(show->Handle(), &window);
    EXPECT_EQ(show->Width(), window.right - window.left);
}

TEST_F(ShowWindowTest, GeneratedImageEqualsThePlatformsRasterOperations)
{
    RandomLights(25);
    for (int c = 6; c < 9; ++c)
        cfg->channelTable[c].rgbGroup = 1;
    std::vector<uint32_t> image = Render();
    // 23 lamps: 20 in the first row, 3 in the second.
    const int fw = 240, fh = 24, n = 25;
    ASSERT_EQ(show->Layout().FrameWidth(), fw);
    ASSERT_EQ(show->Layout().FrameHeight(), fh);
    EXPECT_EQ(show->PanelPaint->Width(), 4 * fw);
    EXPECT_EQ(show->PanelPaint->Height(), 4 * fh);
    TBitmap strip;
    strip.SetSize(fw, (n + 1) * fh);
    strip.Canvas()->Brush.Color = clBlack;
    strip.Canvas()->FillRect(Rect(0, 0, fw, (n + 1) * fh));
    strip.Canvas()->Brush.Color = clWhite;
    for (int c = 0, lamp = 0; c < n; ++lamp) {
        int x = lamp % 20 * 12 + 1, y = lamp / 20 * 12 + 1;
        int channels = c == 6 ? 3 : 1;
        for (int k = c; k < c + channels; ++k)
            strip.Canvas()->FillRect(Bounds(x, (k + 1) * fh + y, 10, 10));
        c += channels;
    }
    EXPECT_EQ(image, ChainImage(strip, fw, fh, n));
}

TEST_F(ShowWindowTest, PicturesThatCannotServeFallBackToTheGeneratedLayout)
{
    cfg->channels = 4;
    std::vector<uint8_t> damaged = Bmp24(3, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 0});
    damaged.resize(damaged.size() - 3);
    std::vector<uint8_t> noMarker = Bmp24(2, 2, {0, 0, 0, 0});
    for (const auto& bytes : {damaged, noMarker, std::vector<uint8_t>{'B', 'M', 1, 2, 3}}) {
        CopyText(cfg->pictureFile, dir.Write("bad.bmp", bytes));
        show->SetupLayout(*cfg, ModelParamTable[0]);
        EXPECT_EQ(show->Layout().FrameWidth(), 4 * 12);
        EXPECT_EQ(show->ChannelCount(), 4);
    }
    CopyText(cfg->pictureFile, dir.File("missing.bmp"));
    show->SetupLayout(*cfg, ModelParamTable[0]);
    EXPECT_EQ(show->Layout().FrameWidth(), 4 * 12);
}

TEST_F(ShowWindowTest, RelativePictureNameIsTakenFromTheProgramFolder)
{
    std::string name = "show-window-test-layout.bmp";
    std::string inProgramFolder = ExtractFilePath(Application->ExeName()) + name;
    std::vector<uint8_t> bytes = Bmp24(3, 6, {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    FILE* out = _wfopen(ToWide(inProgramFolder).c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
    SetCurrentDirectoryW(ToWide(dir.Folder()).c_str());
    cfg->channels = 4;
    CopyText(cfg->pictureFile, name);
    show->SetupLayout(*cfg, ModelParamTable[0]);
    RemoveFile(inProgramFolder);
    EXPECT_EQ(show->Layout().FrameWidth(), 2);
    EXPECT_EQ(show->Layout().FrameHeight(), 2);
    EXPECT_EQ(show->ChannelCount(), 2) << "the picture's frames, fewer than the channels";
}

TEST_F(ShowWindowTest, KeptSizeAppliesToAPictureLayoutOnly)
{
    std::vector<uint8_t> bytes = Bmp24(3, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 0});
    CopyText(cfg->pictureFile, dir.Write("layout.bmp", bytes));
    cfg->channels = 1;
    show->StoredHeight = 300;
    show->StoredWidth = 500;
    show->SetBounds(40, 30, show->Width(), show->Height());
    show->SetupLayout(*cfg, ModelParamTable[0]);
    show->Show();
    EXPECT_EQ(show->Height(), 300);
    EXPECT_EQ(show->Width(), 500);
    EXPECT_EQ(show->Left(), 40);
    show->Close();

    cfg->pictureFile[0] = 0;
    show->SetupLayout(*cfg, ModelParamTable[0]);
    EXPECT_EQ(show->StoredHeight, 0);
    show->Show();
    EXPECT_EQ(show->Left(), 0);
    EXPECT_EQ(show->Top(), 0);
    EXPECT_EQ(show->PanelPaint->Height(), 4 * 12);
}

} // namespace
