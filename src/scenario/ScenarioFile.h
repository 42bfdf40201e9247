#pragma once
// Scenario files ("*.scn"): an 8-byte magic "SCN 1.5 ", a 48-byte header, the step
// records (a step time, then one cell per channel), the loops and the labels, all
// numbers little-endian. The writer makes version 150; the reader takes every version
// below 200 and converts the file to the model it is read for: levels, effects the
// model lacks, step times, speed, and the step maximum.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

class TStream;

// The limits of the controller model a scenario is written by or read for.
struct ScenarioModel {
    int minSpeed;
    int maxSpeed;
    int minTime;
    int maxTime;
    int levelMax;
    bool rampUpAllowed;
    bool rampDownAllowed;
    bool strobeAllowed;
};

constexpr int kScenarioVersion = 150;
constexpr int kScenarioHeaderSize = 48;

// The file of scn's steps (its column count - 1), the first channels channel rows, its
// loops and labels, with speed (the speed value, not the slider position) and the
// writing model's limits in the header.
std::vector<uint8_t> EncodeScenario(const ScenarioSnapshot& scn, int channels, int speed, const ScenarioModel& writer);
// The same bytes, written to out (EWriteError when they do not all go).
void WriteScenario(TStream& out, const ScenarioSnapshot& scn, int channels, int speed, const ScenarioModel& writer);

struct ScenarioReadRequest {
    ScenarioModel model;
    int channels;         // channel rows of the configuration; surplus file channels are dropped
    int stepMaximum;      // steps beyond it are not read
    bool labelsSupported; // the model keeps labels (type letter 'M')
    bool insertMode;      // read only the steps (for pasting them into another scenario)
};

enum class ScenarioFault { None, Damaged, WrongFormat, WrongVersion };

struct ScenarioReadResult {
    ScenarioFault fault = ScenarioFault::None;
    int fileSteps = 0;   // steps the file holds
    int stepsRead = 0;   // steps in the buffer: the file's, at most stepMaximum, at least 1
    // Loops and labels the file holds up to the first one that reaches beyond the steps
    // read; may exceed what the buffer keeps (kMaxLoops, kMaxLabels). The loop count is
    // set once the loops were read, also when the labels then fail.
    int loopCount = 0;
    int labelCount = 0;
    int speed = 0;       // the file's speed converted to the model's range
};

// Reads the file in `in` into buffer, which is cleared first: column count [0][0], step
// times [c][1], cells [c][3 + k], at most kMaxLoops loops and kMaxLabels labels (sorted,
// without duplicates). A file without steps gives one empty step. Never raises for bad
// data; the result tells what was wrong, and the buffer may then hold part of the file.
ScenarioReadResult ReadScenario(TStream& in, const ScenarioReadRequest& request, ScenarioSnapshot& buffer);

// The reader's text for a fault: "Файл поврежден", "Неверный формат файла", "Неверная версия".
const char* ScenarioFaultText(ScenarioFault fault);
