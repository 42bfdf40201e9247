#include "scenario/ScenarioFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "ui/Streams.h"

namespace {

// Header offsets.
constexpr int kVersionAt = 8, kHeaderSizeAt = 10, kChannelsAt = 12, kStepsAt = 14;
constexpr int kTimeSizeAt = 16, kCellSizeAt = 17, kSpeedAt = 18, kLoopsAt = 19;
constexpr int kLevelMaxAt = 21, kMinSpeedAt = 23, kMaxSpeedAt = 24, kMinTimeAt = 25;
constexpr int kMaxTimeAt = 27, kLabelsAt = 29;
constexpr char kMagic[] = "SCN 1.5 ";

void Put16(uint8_t* p, unsigned value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

unsigned Get16(const uint8_t* p) { return p[0] | (p[1] << 8u); }

// Bytes read from the file, not zeroed before (they are read over at once).
struct Bytes {
    std::unique_ptr<uint8_t[]> data;
    const uint8_t* get() const { return data.get(); }
};

// Reads count bytes at offset into out; false when the stream holds fewer.
bool ReadAt(TStream& in, uint64_t size, uint64_t offset, uint64_t count, Bytes& out)
{
    out.data.reset();
    if (count == 0)
        return true;  // nothing to read, wherever the position
    if (offset > size || count > size - offset)
        return false;
    out.data.reset(new uint8_t[static_cast<size_t>(count)]);
    return in.Seek(static_cast<int64_t>(offset), TSeekOrigin::soBeginning) == static_cast<int64_t>(offset) &&
           in.Read(out.data.get(), static_cast<int64_t>(count)) == static_cast<int64_t>(count);
}

// A file of the model's own levels with every effect allowed: levels above the maximum
// are cut, nothing else changes.
// In 8-bit arithmetic, so that the compiler handles 16 cells per vector instruction.
uint8_t PlainCell(uint8_t v, uint8_t levelMax)
{
    bool effect = static_cast<uint8_t>(v - kCellRampUp) <= static_cast<uint8_t>(kCellStrobe - kCellRampUp);
    return v > levelMax && !effect ? levelMax : v;
}

// What each cell byte of the file becomes for the model.
std::array<uint16_t, 256> CellConversion(int fileLevelMax, const ScenarioModel& m)
{
    std::array<uint16_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int out = v;
        if (v == kCellRampUp)
            out = m.rampUpAllowed ? v : m.levelMax;
        else if (v == kCellRampDown)
            out = m.rampDownAllowed ? v : 0;
        else if (v == kCellStrobe)
            out = m.strobeAllowed ? v : 0;
        else {
            if (fileLevelMax != 0 && fileLevelMax != m.levelMax)
                out = static_cast<int>(static_cast<double>(v) / fileLevelMax * m.levelMax + 0.5);
            out = std::min(out, m.levelMax);
        }
        table[static_cast<size_t>(v)] = static_cast<uint16_t>(std::max(out, 0));
    }
    return table;
}

// The file's speed in the model's range. The ratio is single precision, as the files
// in use were made with; equal bounds in the file give the model's lowest speed.
int ConvertSpeed(int speed, int fileMin, int fileMax, const ScenarioModel& m)
{
    if (fileMin != 0 && fileMax != 0 && (fileMin != m.minSpeed || fileMax != m.maxSpeed)) {
        if (fileMin == fileMax) {
            speed = m.minSpeed;
        } else {
            float ratio = static_cast<float>(speed - fileMin) / static_cast<float>(fileMax - fileMin);
            speed = static_cast<int>(static_cast<double>(m.maxSpeed - m.minSpeed) * ratio + m.minSpeed + 0.5);
        }
    }
    return std::max(m.minSpeed, std::min(speed, m.maxSpeed));
}

struct StepLayout {
    uint64_t headerSize;
    unsigned timeSize;
    unsigned cellSize;
    int channels;
    int levelMax;
    uint64_t Record() const { return timeSize + static_cast<uint64_t>(channels) * cellSize; }
};

// Reads the first steps step records into columns 1..steps of buffer, converted for the
// request's model; false when the file holds fewer. The records are read a piece at a
// time into one small buffer, so that a large file costs no large allocation.
bool ReadSteps(TStream& in, uint64_t size, const StepLayout& file, int steps, const ScenarioReadRequest& request,
               ScenarioSnapshot& buffer)
{
    const uint64_t record = file.Record();
    if (file.headerSize > size || record * static_cast<uint64_t>(steps) > size - file.headerSize)
        return false;
    if (in.Seek(static_cast<int64_t>(file.headerSize), TSeekOrigin::soBeginning) != static_cast<int64_t>(file.headerSize))
        return false;
    const ScenarioModel& model = request.model;
    const std::array<uint16_t, 256> convert = CellConversion(file.levelMax, model);
    const uint8_t levelMax = static_cast<uint8_t>(std::clamp(model.levelMax, 0, 255));
    bool plain = true;
    for (unsigned v = 0; v < 256; ++v)
        plain = plain && convert[v] == PlainCell(static_cast<uint8_t>(v), levelMax);
    const int kept = std::min(file.channels, std::clamp(request.channels, 0, kSnapshotRows - kFirstChannelRow));
    const int minTime = model.minTime, maxTime = std::max(model.minTime, model.maxTime);

    const int perPiece = static_cast<int>(std::clamp<uint64_t>(record == 0 ? steps : (1 << 16) / record, 1, steps > 0 ? steps : 1));
    std::vector<uint8_t> piece(static_cast<size_t>(record) * static_cast<size_t>(perPiece));
    const uint8_t* p = piece.data();
    for (int s = 0; s < steps; ++s, p += record) {
        if (s % perPiece == 0) {
            int64_t bytes = static_cast<int64_t>(record) * std::min(perPiece, steps - s);
            if (in.Read(piece.data(), bytes) != bytes)
                return false;
            p = piece.data();
        }
        unsigned time = file.timeSize == 0 ? 0 : file.timeSize == 1 ? p[0] : Get16(p);
        uint16_t* cells = buffer.NewColumnCells(1 + s);
        cells[0] = 0;
        cells[1] = static_cast<uint16_t>(std::clamp(static_cast<int>(time), minTime, maxTime));
        cells[2] = 0;
        const uint8_t* cell = p + file.timeSize;
        uint16_t* out = cells + kFirstChannelRow;
        if (file.cellSize == 1 && plain) {
            for (int k = 0; k < kept; ++k)  // the common case, in vector instructions
                out[k] = PlainCell(cell[k], levelMax);
        } else if (file.cellSize == 1) {
            for (int k = 0; k < kept; ++k)
                out[k] = convert[cell[k]];
        } else {
            for (int k = 0; k < kept; ++k)
                out[k] = convert[file.cellSize == 0 ? 0 : cell[static_cast<size_t>(k) * file.cellSize]];
        }
        std::fill(out + kept, cells + kSnapshotRows, uint16_t{0});
    }
    return true;
}

} // namespace

std::vector<uint8_t> EncodeScenario(const ScenarioSnapshot& scn, int channels, int speed, const ScenarioModel& writer)
{
    const int steps = std::clamp(scn.ColCount() - 1, 0, kSnapshotColumns - 1);
    const int c = std::clamp(channels, 0, kSnapshotRows - kFirstChannelRow);
    const size_t record = 2 + static_cast<size_t>(c);
    std::vector<uint8_t> bytes(kScenarioHeaderSize + steps * record + 6 * scn.loops.size() + 2 * scn.labels.size());
    uint8_t* h = bytes.data();
    std::memcpy(h, kMagic, 8);
    Put16(h + kVersionAt, kScenarioVersion);
    Put16(h + kHeaderSizeAt, kScenarioHeaderSize);
    Put16(h + kChannelsAt, static_cast<unsigned>(c));
    Put16(h + kStepsAt, static_cast<unsigned>(steps));
    h[kTimeSizeAt] = 2;
    h[kCellSizeAt] = 1;
    h[kSpeedAt] = static_cast<uint8_t>(speed);
    Put16(h + kLoopsAt, static_cast<unsigned>(scn.loops.size()));
    Put16(h + kLevelMaxAt, static_cast<unsigned>(writer.levelMax));
    h[kMinSpeedAt] = static_cast<uint8_t>(writer.minSpeed);
    h[kMaxSpeedAt] = static_cast<uint8_t>(writer.maxSpeed);
    Put16(h + kMinTimeAt, static_cast<unsigned>(writer.minTime));
    Put16(h + kMaxTimeAt, static_cast<unsigned>(writer.maxTime));
    Put16(h + kLabelsAt, static_cast<unsigned>(scn.labels.size()));

    uint8_t* p = h + kScenarioHeaderSize;
    for (int step = 1; step <= steps; ++step, p += record) {
        const uint16_t* cells = scn.ColumnCells(step);
        if (!cells)
            continue;  // never written: time and cells 0, as the vector already holds
        Put16(p, cells[1]);
        for (int k = 0; k < c; ++k)
            p[2 + k] = static_cast<uint8_t>(cells[kFirstChannelRow + k]);
    }
    for (const LoopRecord& loop : scn.loops) {
        Put16(p, loop.firstColumn);
        Put16(p + 2, loop.lastColumn);
        Put16(p + 4, loop.repeatCount);
        p += 6;
    }
    for (uint16_t label : scn.labels) {
        Put16(p, label);
        p += 2;
    }
    return bytes;
}

void WriteScenario(TStream& out, const ScenarioSnapshot& scn, int channels, int speed, const ScenarioModel& writer)
{
    std::vector<uint8_t> bytes = EncodeScenario(scn, channels, speed, writer);
    out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

ScenarioReadResult ReadScenario(TStream& in, const ScenarioReadRequest& request, ScenarioSnapshot& buffer)
{
    ScenarioReadResult result;
    buffer.Clear();
    const ScenarioModel& model = request.model;
    const int64_t streamSize = in.Size();
    const uint64_t size = streamSize > 0 ? static_cast<uint64_t>(streamSize) : 0;
    auto fail = [&](ScenarioFault fault) {
        result.fault = fault;
        return result;
    };

    Bytes header;
    if (!ReadAt(in, size, 0, kScenarioHeaderSize, header))
        return fail(ScenarioFault::Damaged);
    const uint8_t* h = header.get();
    if (std::memcmp(h, "SCN", 3) != 0)
        return fail(ScenarioFault::WrongFormat);
    const unsigned version = Get16(h + kVersionAt);
    if (version >= 200)
        return fail(ScenarioFault::WrongVersion);
    int fileLevelMax = static_cast<int>(Get16(h + kLevelMaxAt));
    int fileMinSpeed = h[kMinSpeedAt];
    int fileMaxSpeed = h[kMaxSpeedAt];
    if (version < 140) {
        fileLevelMax = 128;
        fileMinSpeed = 10;
        fileMaxSpeed = 80;
    }
    // A larger header is skipped; a smaller one would put the steps inside the fields
    // just read.
    const uint64_t headerSize = Get16(h + kHeaderSizeAt);
    if (headerSize < kScenarioHeaderSize)
        return fail(ScenarioFault::Damaged);
    const int fileChannels = static_cast<int>(Get16(h + kChannelsAt));
    const int fileSteps = static_cast<int>(Get16(h + kStepsAt));
    const unsigned timeSize = h[kTimeSizeAt];
    const unsigned cellSize = h[kCellSizeAt];
    const unsigned loops = Get16(h + kLoopsAt);
    const unsigned labels = version < 150 ? 0 : Get16(h + kLabelsAt);
    result.fileSteps = fileSteps;

    const int stepMaximum = std::clamp(request.stepMaximum, 1, kSnapshotColumns - 1);
    const int stepsRead = std::min(fileSteps, stepMaximum);
    const StepLayout layout{headerSize, timeSize, cellSize, fileChannels, fileLevelMax};
    if (!ReadSteps(in, size, layout, stepsRead, request, buffer))
        return fail(ScenarioFault::Damaged);
    // A file without steps gives one empty step of the shortest time.
    const int steps = std::max(stepsRead, 1);
    if (stepsRead == 0)
        buffer.SetCell(1, 1, static_cast<uint16_t>(model.minTime));
    result.stepsRead = steps;
    buffer.SetCell(0, 0, static_cast<uint16_t>(1 + steps));

    if (!request.insertMode) {
        // Loops after all step records of the file, also those not read.
        uint64_t at = headerSize + layout.Record() * static_cast<uint64_t>(fileSteps);
        Bytes data;
        if (!ReadAt(in, size, at, 6ull * loops, data))
            return fail(ScenarioFault::Damaged);
        unsigned count = loops;
        for (unsigned i = 0; i < loops; ++i) {
            const uint8_t* p = data.get() + 6 * i;
            if (Get16(p) > static_cast<unsigned>(steps) || Get16(p + 2) > static_cast<unsigned>(steps)) {
                count = i;
                break;
            }
        }
        result.loopCount = static_cast<int>(count);
        for (unsigned i = 0; i < std::min<unsigned>(count, kMaxLoops); ++i) {
            const uint8_t* p = data.get() + 6 * i;
            buffer.loops.push_back(LoopRecord{static_cast<uint16_t>(Get16(p)), static_cast<uint16_t>(Get16(p + 2)),
                                              static_cast<uint16_t>(Get16(p + 4))});
        }
        at += 6ull * loops;

        if (request.labelsSupported) {
            if (!ReadAt(in, size, at, 2ull * labels, data))
                return fail(ScenarioFault::Damaged);
            count = labels;
            for (unsigned i = 0; i < labels; ++i)
                if (Get16(data.get() + 2 * i) > static_cast<unsigned>(steps)) {
                    count = i;
                    break;
                }
            result.labelCount = static_cast<int>(count);
            for (unsigned i = 0; i < std::min<unsigned>(count, kMaxLabels); ++i)
                buffer.labels.push_back(static_cast<uint16_t>(Get16(data.get() + 2 * i)));
            std::sort(buffer.labels.begin(), buffer.labels.end());
            buffer.labels.erase(std::unique(buffer.labels.begin(), buffer.labels.end()), buffer.labels.end());
        }
        result.speed = ConvertSpeed(h[kSpeedAt], fileMinSpeed, fileMaxSpeed, model);
    }
    return result;
}

const char* ScenarioFaultText(ScenarioFault fault)
{
    switch (fault) {
    case ScenarioFault::Damaged:
        return "Файл поврежден";
    case ScenarioFault::WrongFormat:
        return "Неверный формат файла";
    case ScenarioFault::WrongVersion:
        return "Неверная версия";
    case ScenarioFault::None:
        break;
    }
    return "";
}
