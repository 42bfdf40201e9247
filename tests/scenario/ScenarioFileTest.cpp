#include "scenario/ScenarioFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/Exceptions.h"
#include "ui/SafeSave.h"
#include "ui/Streams.h"

namespace {

const ScenarioModel kLedModel{10, 80, 1, 6000, 128, true, true, true};
const ScenarioModel kDimmerModel{1, 30, 1, 6000, 64, true, true, true};
const ScenarioModel kOnOffModel{2, 30, 1, 400, 1, false, false, true};

// A scenario file as older versions and other programs may have made it.
struct RawFile {
    std::string magic = "SCN 1.5 ";
    unsigned version = 150, headerSize = 48, channels = 3, steps = 2;
    unsigned timeSize = 2, cellSize = 1, speed = 20, levelMax = 128;
    unsigned minSpeed = 10, maxSpeed = 80;
    std::vector<LoopRecord> loops;
    std::vector<uint16_t> labels;
    unsigned loopCount = ~0u, labelCount = ~0u;  // header counts when not the vectors' sizes
    std::function<unsigned(unsigned step, unsigned channel)> cell = [](unsigned s, unsigned k) { return s * 10 + k; };
    std::function<unsigned(unsigned step)> time = [](unsigned s) { return 100 + s; };

    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> b(headerSize > 48 ? headerSize : 48, 0);
        std::memcpy(b.data(), magic.data(), 8);
        auto put16 = [&b](size_t at, unsigned v) {
            b[at] = static_cast<uint8_t>(v);
            b[at + 1] = static_cast<uint8_t>(v >> 8);
        };
        put16(8, version);
        put16(10, headerSize);
        put16(12, channels);
        put16(14, steps);
        b[16] = static_cast<uint8_t>(timeSize);
        b[17] = static_cast<uint8_t>(cellSize);
        b[18] = static_cast<uint8_t>(speed);
        put16(19, loopCount != ~0u ? loopCount : static_cast<unsigned>(loops.size()));
        put16(21, levelMax);
        b[23] = static_cast<uint8_t>(minSpeed);
        b[24] = static_cast<uint8_t>(maxSpeed);
        put16(29, labelCount != ~0u ? labelCount : static_cast<unsigned>(labels.size()));
        auto add = [&b](unsigned v, unsigned size) {
            for (unsigned i = 0; i < size; ++i)
                b.push_back(static_cast<uint8_t>(i < 4 ? v >> (8 * i) : 0));
        };
        for (unsigned s = 0; s < steps; ++s) {
            add(time(s), timeSize);
            for (unsigned k = 0; k < channels; ++k)
                add(cell(s, k), cellSize);
        }
        for (const LoopRecord& l : loops) {
            add(l.firstColumn, 2);
            add(l.lastColumn, 2);
            add(l.repeatCount, 2);
        }
        for (uint16_t label : labels)
            add(label, 2);
        return b;
    }
};

ScenarioReadRequest Request(const ScenarioModel& model = kLedModel, int channels = 3, int stepMaximum = 8000)
{
    return ScenarioReadRequest{model, channels, stepMaximum, true, false};
}

ScenarioReadResult Read(const std::vector<uint8_t>& bytes, const ScenarioReadRequest& request, ScenarioSnapshot& out)
{
    TMemoryStream in;
    in.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    return ReadScenario(in, request, out);
}

TEST(ScenarioFile, ASmallScenarioHasTheseExactBytesAndReadsBackToThem)
{
    ScenarioSnapshot scn;
    scn.SetCell(0, 0, 3);
    scn.SetCell(1, 1, 300);
    scn.SetCell(2, 1, 1);
    scn.SetCell(1, 3, 128);
    scn.SetCell(1, 4, kCellStrobe);
    scn.SetCell(2, 5, 7);
    scn.SetCell(2, 6, 99);  // a row beyond the three channels written
    scn.loops = {{1, 2, kEndlessLoop}};
    scn.labels = {1, 2};
    std::vector<uint8_t> bytes = EncodeScenario(scn, 3, 20, kLedModel);
    const std::vector<uint8_t> golden = {
        'S', 'C', 'N', ' ', '1', '.', '5', ' ', 150, 0, 48, 0, 3, 0, 2, 0,  // magic, version, header, C, S
        2, 1, 20, 1, 0, 128, 0, 10, 80, 1, 0, 0x70, 0x17, 2, 0, 0,          // T, B, speed, L, levels, speeds, times, N
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                     // reserved
        0x2C, 1, 128, 131, 0,                                               // step 1: time 300, cells
        1, 0, 0, 0, 7,                                                      // step 2: time 1, cells
        1, 0, 2, 0, 0xFF, 0xFF,                                             // loop
        1, 0, 2, 0};                                                        // labels
    EXPECT_EQ(bytes, golden);
    EXPECT_EQ(bytes.size(), 48u + 2 * (2 + 3) + 6 + 2 * 2);

    ScenarioSnapshot back;
    ScenarioReadResult r = Read(bytes, Request(), back);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(r.speed, 20);
    EXPECT_EQ(back.ColCount(), 3);
    EXPECT_EQ(back.Cell(1, 1), 300);
    EXPECT_EQ(back.Cell(1, 4), kCellStrobe);
    EXPECT_EQ(back.Cell(2, 6), 0);
    EXPECT_EQ(EncodeScenario(back, 3, r.speed, kLedModel), golden);
}

TEST(ScenarioFile, Version130TakesTheOldLevelsAndSpeedsAndHasNoLabels)
{
    RawFile f;
    f.version = 130;
    f.levelMax = 64;   // ignored: version 130 files are of 128 levels
    f.minSpeed = 1;    // ignored: 10..80
    f.maxSpeed = 2;
    f.cell = [](unsigned, unsigned k) { return k == 0 ? 128u : 2u; };
    f.loops = {{1, 2, 5}};
    f.labels = {1};
    f.labelCount = 1;
    ScenarioSnapshot out;
    ScenarioReadResult r = Read(f.Bytes(), Request(kDimmerModel), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(1, 3), 64);
    EXPECT_EQ(out.Cell(1, 4), 1);
    EXPECT_EQ(r.speed, 5) << "29 x (10 / 70) + 1 + 0.5 = 5.64";
    ASSERT_EQ(out.loops.size(), 1u);
    EXPECT_EQ(out.loops[0].repeatCount, 5);
    EXPECT_TRUE(out.labels.empty());
    EXPECT_EQ(r.labelCount, 0);
}

TEST(ScenarioFile, OldLevelsAndSpeedsEndAtVersion139AndLabelsBeginAt150)
{
    RawFile f;
    f.levelMax = 64;
    f.minSpeed = 1;
    f.maxSpeed = 30;
    f.speed = 30;
    f.cell = [](unsigned, unsigned) { return 64u; };
    f.labels = {1};
    ScenarioSnapshot out;
    for (unsigned version : {139u, 140u, 149u, 150u}) {
        f.version = version;
        ScenarioReadResult r = Read(f.Bytes(), Request(), out);
        ASSERT_EQ(r.fault, ScenarioFault::None) << version;
        EXPECT_EQ(out.Cell(1, 3), version < 140 ? 64 : 128) << version;
        EXPECT_EQ(r.speed, version < 140 ? 30 : 80) << version;
        EXPECT_EQ(out.labels.size(), version < 150 ? 0u : 1u) << version;
    }
}

TEST(ScenarioFile, LevelsAreRescaledAndEffectsTheModelLacksReplaced)
{
    const unsigned levels[] = {0, 1, 2, 3, 63, 64, 127, 128, 129, 130, 131, 200};
    RawFile f;
    f.channels = 12;
    f.steps = 1;
    f.cell = [&levels](unsigned, unsigned k) { return levels[k]; };
    ScenarioSnapshot out;
    ASSERT_EQ(Read(f.Bytes(), Request(kDimmerModel, 12), out).fault, ScenarioFault::None);
    const uint16_t to64[] = {0, 1, 1, 2, 32, 32, 64, 64, 129, 130, 131, 64};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(out.Cell(1, 3 + k), to64[k]) << "level " << levels[k];

    ASSERT_EQ(Read(f.Bytes(), Request(kOnOffModel, 12), out).fault, ScenarioFault::None);
    const uint16_t to1[] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 131, 1};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(out.Cell(1, 3 + k), to1[k]) << "level " << levels[k];

    f.levelMax = 0;  // no rescaling, only the model's maximum
    ASSERT_EQ(Read(f.Bytes(), Request(kDimmerModel, 12), out).fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(1, 3 + 4), 63);
    EXPECT_EQ(out.Cell(1, 3 + 6), 64);
}

TEST(ScenarioFile, StepTimesAreClampedAndOtherFieldSizesRead)
{
    RawFile f;
    f.timeSize = 3;
    f.cellSize = 2;
    f.steps = 3;
    f.time = [](unsigned s) { return s == 0 ? 0u : s == 1 ? 0x10190u : 500u; };  // 3rd byte ignored
    f.cell = [](unsigned s, unsigned k) { return 0x0100u + 60 * s + k; };  // high byte ignored
    ScenarioSnapshot out;
    ASSERT_EQ(Read(f.Bytes(), Request(kOnOffModel), out).fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(1, 1), 1);
    EXPECT_EQ(out.Cell(2, 1), 400);
    EXPECT_EQ(out.Cell(3, 1), 400);
    EXPECT_EQ(out.Cell(3, 3), 1) << "level 120 of 128 on an on/off model";
    EXPECT_EQ(out.Cell(2, 3), 0) << "level 60 of 128 on an on/off model";

    f.timeSize = 1;
    f.cellSize = 0;  // cells without bytes are off
    f.time = [](unsigned) { return 77u; };
    ASSERT_EQ(Read(f.Bytes(), Request(kLedModel), out).fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(2, 1), 77);
    EXPECT_EQ(out.Cell(2, 3), 0);
}

TEST(ScenarioFile, StepsBeyondTheMaximumAreCutWithTheirLoopsAndLabels)
{
    RawFile f;
    f.steps = 9000;
    f.channels = 2;
    f.loops = {{1, 5, 2}, {7990, 8000, 3}, {7999, 8001, 4}, {1, 2, 2}};
    f.labels = {1, 8000, 8001, 2};
    ScenarioSnapshot out;
    ScenarioReadResult r = Read(f.Bytes(), Request(kLedModel, 2), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(r.fileSteps, 9000);
    EXPECT_EQ(r.stepsRead, 8000);
    EXPECT_EQ(out.ColCount(), 8001);
    EXPECT_EQ(out.Cell(8000, 4), (7999 * 10 + 1) & 0xFF);
    EXPECT_EQ(r.loopCount, 2) << "cut at the first loop that reaches step 8001";
    EXPECT_EQ(out.loops.size(), 2u);
    EXPECT_EQ(r.labelCount, 2);
    EXPECT_EQ(out.labels, (std::vector<uint16_t>{1, 8000}));

    r = Read(f.Bytes(), Request(kLedModel, 2, 100), out);
    EXPECT_EQ(r.stepsRead, 100);
    EXPECT_EQ(r.loopCount, 1);
}

TEST(ScenarioFile, SurplusChannelsAreDroppedAndMissingOnesOff)
{
    RawFile f;
    f.channels = 5;
    ScenarioSnapshot out;
    ASSERT_EQ(Read(f.Bytes(), Request(kLedModel, 2), out).fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(2, 4), 11);
    EXPECT_EQ(out.Cell(2, 5), 0);
    f.channels = 1;
    ASSERT_EQ(Read(f.Bytes(), Request(kLedModel, 4), out).fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(2, 3), 10);
    EXPECT_EQ(out.Cell(2, 4), 0);
}

TEST(ScenarioFile, ALargerHeaderIsSkippedAndOnlyThreeMagicBytesCount)
{
    RawFile f;
    f.headerSize = 60;
    f.magic = "SCNxyz\x01\x02";
    ScenarioSnapshot out;
    ScenarioReadResult r = Read(f.Bytes(), Request(), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(out.Cell(1, 3), 0);
    EXPECT_EQ(out.Cell(2, 5), 12);
    EXPECT_EQ(out.Cell(2, 1), 101);
}

TEST(ScenarioFile, SpeedIsConvertedInSinglePrecisionAndClamped)
{
    RawFile f;
    f.speed = 20;
    ScenarioSnapshot out;
    EXPECT_EQ(Read(f.Bytes(), Request(kOnOffModel), out).speed, 6) << "28 x (10 / 70) + 2 + 0.5 = 6.5";
    f.minSpeed = f.maxSpeed = 40;
    EXPECT_EQ(Read(f.Bytes(), Request(kOnOffModel), out).speed, 2) << "equal bounds give the lowest speed";
    f.minSpeed = 0;
    f.speed = 200;
    EXPECT_EQ(Read(f.Bytes(), Request(kOnOffModel), out).speed, 30) << "no range: only clamped";
    f.minSpeed = 10;
    f.maxSpeed = 80;
    f.speed = 5;
    EXPECT_EQ(Read(f.Bytes(), Request(kOnOffModel), out).speed, 2);
    // Every speed of the editor's own range maps into the other ranges.
    for (unsigned s = 10; s <= 80; ++s) {
        f.speed = s;
        int v = Read(f.Bytes(), Request(kDimmerModel), out).speed;
        float ratio = static_cast<float>(static_cast<int>(s) - 10) / 70.0f;
        EXPECT_EQ(v, static_cast<int>(29.0 * ratio + 1 + 0.5)) << s;
    }
}

TEST(ScenarioFile, AFileWithoutStepsGivesOneEmptyStep)
{
    RawFile f;
    f.steps = 0;
    ScenarioSnapshot out;
    out.SetCell(1, 3, 5);  // left from an earlier read
    ScenarioReadResult r = Read(f.Bytes(), Request(kOnOffModel), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(r.stepsRead, 1);
    EXPECT_EQ(out.ColCount(), 2);
    EXPECT_EQ(out.Cell(1, 1), 1);
    EXPECT_EQ(out.Cell(1, 3), 0);
}

TEST(ScenarioFile, LoopAndLabelCountsBeyondTheLimitsAreKeptForTheWarningButNotStored)
{
    RawFile f;
    f.steps = 3;
    for (int i = 0; i < 300; ++i)
        f.loops.push_back({1, 2, 2});
    for (int i = 0; i < 400; ++i)
        f.labels.push_back(static_cast<uint16_t>(3 - i % 3));
    ScenarioSnapshot out;
    ScenarioReadResult r = Read(f.Bytes(), Request(), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(r.loopCount, 300);
    EXPECT_EQ(out.loops.size(), 255u);
    EXPECT_EQ(r.labelCount, 400);
    EXPECT_EQ(out.labels, (std::vector<uint16_t>{1, 2, 3})) << "sorted, without duplicates";

    // 65535 of each, far more than any buffer: read through, stored up to the limits.
    f.loopCount = 65535;
    f.labelCount = 65535;
    f.loops.assign(65535, {1, 1, 2});
    f.labels.assign(65535, 1);
    r = Read(f.Bytes(), Request(), out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(r.loopCount, 65535);
    EXPECT_EQ(out.loops.size(), 255u);
    EXPECT_EQ(out.labels, (std::vector<uint16_t>{1}));
}

TEST(ScenarioFile, LabelsAreReadOnlyForModelsThatKeepThemAndInsertModeReadsOnlySteps)
{
    RawFile f;
    f.loops = {{1, 2, 3}};
    f.labels = {2};
    f.labelCount = 5;  // the labels are cut short
    f.speed = 80;
    ScenarioSnapshot out;
    ScenarioReadRequest request = Request();
    EXPECT_EQ(Read(f.Bytes(), request, out).fault, ScenarioFault::Damaged);
    request.labelsSupported = false;
    ScenarioReadResult r = Read(f.Bytes(), request, out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_TRUE(out.labels.empty());
    EXPECT_EQ(out.loops.size(), 1u);

    f.loopCount = 9;  // the loops are cut short too
    request = Request(kOnOffModel);
    request.insertMode = true;
    r = Read(f.Bytes(), request, out);
    ASSERT_EQ(r.fault, ScenarioFault::None);
    EXPECT_EQ(out.ColCount(), 3);
    EXPECT_EQ(out.Cell(2, 1), 101);
    EXPECT_EQ(out.Cell(2, 5), 0) << "level 12 of 128 on an on/off model";
    EXPECT_TRUE(out.loops.empty());
    EXPECT_EQ(r.speed, 0) << "no speed in insert mode";
}

TEST(ScenarioFile, DamagedFilesGiveTheirFault)
{
    ScenarioSnapshot out;
    RawFile good;
    std::vector<uint8_t> bytes = good.Bytes();
    EXPECT_EQ(Read({bytes.begin(), bytes.begin() + 47}, Request(), out).fault, ScenarioFault::Damaged);
    EXPECT_EQ(Read({}, Request(), out).fault, ScenarioFault::Damaged);
    EXPECT_EQ(Read({bytes.begin(), bytes.end() - 1}, Request(), out).fault, ScenarioFault::Damaged)
        << "a short step record";

    RawFile f;
    f.magic = "SCM 1.5 ";
    EXPECT_EQ(Read(f.Bytes(), Request(), out).fault, ScenarioFault::WrongFormat);
    f.magic = "SCN 1.5 ";
    f.version = 200;
    EXPECT_EQ(Read(f.Bytes(), Request(), out).fault, ScenarioFault::WrongVersion);
    f.version = 199;
    EXPECT_EQ(Read(f.Bytes(), Request(), out).fault, ScenarioFault::None);
    f.headerSize = 47;
    EXPECT_EQ(Read(f.Bytes(), Request(), out).fault, ScenarioFault::Damaged) << "a header shorter than its fields";
    f.headerSize = 48;

    f.loops = {{1, 2, 2}};
    f.loopCount = 2;
    EXPECT_EQ(Read(f.Bytes(), Request(), out).fault, ScenarioFault::Damaged) << "short loops";
    f.loopCount = ~0u;
    for (int i = 0; i < 256; ++i)
        f.loops.push_back({1, 1, 2});
    f.labelCount = 1;
    ScenarioReadResult r = Read(f.Bytes(), Request(), out);
    EXPECT_EQ(r.fault, ScenarioFault::Damaged) << "short labels";
    EXPECT_EQ(r.loopCount, 257) << "the loops were read before the labels failed";

    EXPECT_STREQ(ScenarioFaultText(ScenarioFault::Damaged), "Файл поврежден");
    EXPECT_STREQ(ScenarioFaultText(ScenarioFault::WrongFormat), "Неверный формат файла");
    EXPECT_STREQ(ScenarioFaultText(ScenarioFault::WrongVersion), "Неверная версия");
}

// A stream that takes the first limit bytes and then fails, like a full disk.
class FailingStream : public TStream {
public:
    FailingStream(TStream& target, int64_t limit) : target_(target), left_(limit) {}
    int64_t Read(void* buffer, int64_t count) override { return target_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override
    {
        int64_t n = std::min(count, left_);
        left_ -= n;
        return n > 0 ? target_.Write(buffer, n) : 0;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return target_.Seek(offset, origin); }

private:
    TStream& target_;
    int64_t left_;
};

TEST(ScenarioFile, ASaveInterruptedAnywhereKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    std::string file = dir.File("show.scn");
    ScenarioSnapshot old;
    old.SetCell(0, 0, 2);
    old.SetCell(1, 3, 9);
    SaveStreamSafely(file, [&](TStream& out) { WriteScenario(out, old, 3, 20, kLedModel); });
    const std::string oldBytes = ReadWholeFile(file);
    ASSERT_EQ(oldBytes.size(), 48u + 5);

    ScenarioSnapshot scn;
    scn.SetCell(0, 0, 301);
    for (int c = 1; c <= 300; ++c)
        scn.SetCell(c, 4, static_cast<uint16_t>(c % 128));
    scn.loops = {{1, 300, 2}};
    const size_t size = EncodeScenario(scn, 20, 30, kLedModel).size();
    for (size_t n : {size_t{0}, size_t{1}, size_t{47}, size_t{48}, size_t{49}, size / 3, size / 2, size - 7, size - 1}) {
        EXPECT_THROW(SaveStreamSafely(file,
                                      [&](TStream& out) {
                                          FailingStream failing(out, static_cast<int64_t>(n));
                                          WriteScenario(failing, scn, 20, 30, kLedModel);
                                      }),
                     EWriteError)
            << "failing at byte " << n;
        EXPECT_EQ(ReadWholeFile(file), oldBytes) << "failing at byte " << n;
        EXPECT_FALSE(std::filesystem::exists(file + ".tmp~")) << "failing at byte " << n;
    }
    SaveStreamSafely(file, [&](TStream& out) { WriteScenario(out, scn, 20, 30, kLedModel); });
    EXPECT_EQ(ReadWholeFile(file).size(), size);
}

} // namespace
