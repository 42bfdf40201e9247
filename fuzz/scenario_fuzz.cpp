// The scenario reader on any bytes, for three models and both modes: it never fails
// without a reason, and what it reads always fits the model. The step maxima are small
// so that each input reads quickly; the cut at the maximum is then reached often.
#include <algorithm>

#include "FuzzFile.h"
#include "scenario/ScenarioFile.h"
#include "ui/Streams.h"

namespace {

void Check(const ScenarioReadRequest& request, const ScenarioReadResult& r, const ScenarioSnapshot& buffer)
{
    if (r.fault != ScenarioFault::None) {
        FUZZ_CHECK(*ScenarioFaultText(r.fault) != '\0');
        return;
    }
    FUZZ_CHECK(r.stepsRead >= 1 && r.stepsRead <= request.stepMaximum);
    FUZZ_CHECK(buffer.ColCount() == 1 + r.stepsRead);
    FUZZ_CHECK(buffer.loops.size() <= static_cast<size_t>(kMaxLoops));
    FUZZ_CHECK(buffer.labels.size() <= static_cast<size_t>(kMaxLabels));
    FUZZ_CHECK(std::is_sorted(buffer.labels.begin(), buffer.labels.end()));
    FUZZ_CHECK(std::adjacent_find(buffer.labels.begin(), buffer.labels.end()) == buffer.labels.end());
    for (const LoopRecord& loop : buffer.loops)
        FUZZ_CHECK(loop.firstColumn <= r.stepsRead && loop.lastColumn <= r.stepsRead);
    for (uint16_t label : buffer.labels)
        FUZZ_CHECK(label <= r.stepsRead);
    if (request.insertMode)
        FUZZ_CHECK(buffer.loops.empty() && buffer.labels.empty());
    else
        FUZZ_CHECK(r.speed >= request.model.minSpeed && r.speed <= request.model.maxSpeed);
    const ScenarioModel& m = request.model;
    for (int c : {1, r.stepsRead}) {
        FUZZ_CHECK(buffer.Cell(c, 1) >= m.minTime && buffer.Cell(c, 1) <= m.maxTime);
        for (int k = 0; k < kSnapshotRows - kFirstChannelRow; ++k) {
            uint16_t v = buffer.Cell(c, kFirstChannelRow + k);
            bool allowed = v <= m.levelMax || (v == kCellRampUp && m.rampUpAllowed) ||
                           (v == kCellRampDown && m.rampDownAllowed) || (v == kCellStrobe && m.strobeAllowed);
            FUZZ_CHECK(allowed);
            if (k >= request.channels)
                FUZZ_CHECK(v == 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ScenarioSnapshot buffer;
    const ScenarioReadRequest requests[] = {
        {ScenarioModel{10, 80, 1, 6000, 128, true, true, true}, 18, 16, true, false},
        {ScenarioModel{2, 30, 1, 400, 1, false, false, true}, 3, 5, false, false},
        {ScenarioModel{1, 30, 1, 6000, 64, true, true, true}, 640, 32, true, true},
    };
    for (const ScenarioReadRequest& request : requests) {
        TMemoryStream in;
        in.Write(data, static_cast<int64_t>(size));
        in.SetPosition(0);
        ScenarioReadResult r = ReadScenario(in, request, buffer);
        Check(request, r, buffer);
    }
    return 0;
}
