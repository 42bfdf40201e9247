#include "scenario/StepTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "scenario/ScenarioSnapshot.h"
#include "ui/SysUtils.h"

namespace {
constexpr int kSliderHalf = kStepTimeSliderMax / 2;
}

int TimeToSliderPosition(int time, int maxTime)
{
    if (time < kSliderHalf)
        return time;
    double p = static_cast<double>(time) * kSliderHalf / std::max(1, maxTime) + kSliderHalf;
    return static_cast<int>(std::min(p, static_cast<double>(kStepTimeSliderMax)));
}

int SliderPositionToTime(int position, int maxTime)
{
    if (position < kSliderHalf)
        return position;
    double t = static_cast<double>(position - kSliderHalf) * maxTime / kSliderHalf + kSliderHalf;
    return static_cast<int>(std::min(t, static_cast<double>(maxTime)));
}

double MsPerTimeUnitAt(int speed, float factor, const float* table)
{
    if (table)
        return table[speed];
    return speed * static_cast<double>(factor);
}

std::string FormatStepTime(int time, bool inMs, double msPerUnit)
{
    if (!inMs)
        return IntToStr(time);
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", time * msPerUnit);
    return text;
}

namespace {

// The whole text (blanks around it allowed) as a decimal number with "." as the
// separator; false when it is not one.
bool ParseNumber(const std::string& text, double& value)
{
    std::string t = Trim(text);
    if (t.empty())
        return false;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

} // namespace

int ParseStepTime(const std::string& text, bool inMs, int current, double msPerUnit, TimeLimits limits)
{
    double t = current;
    if (inMs) {
        double typed = current * msPerUnit;
        ParseNumber(text, typed);
        float ms = static_cast<float>(typed);  // too large for a float: infinity, clamped below
        // No speed yet: the milliseconds cannot be turned into units.
        if (msPerUnit > 0)
            t = std::floor(ms / msPerUnit + 0.5);
    } else {
        t = StrToIntDef(text, current);
    }
    t = std::max(static_cast<double>(limits.minTime), std::min(t, static_cast<double>(limits.maxTime)));
    return static_cast<int>(t);
}

int ClampStepCount(int count, int maxSteps) { return std::max(1, std::min(count, maxSteps)); }

int ClampMaxSteps(int maxSteps) { return std::max(1, std::min(maxSteps, kSnapshotColumns - 1)); }
