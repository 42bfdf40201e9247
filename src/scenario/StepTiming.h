#pragma once
// Step times and speed: the non-linear step-time slider, milliseconds per time unit,
// the step time typed or shown in units or milliseconds, and the step count's bounds.
#include <string>

// The shortest and longest step time of the controller model, in time units.
struct TimeLimits {
    int minTime;
    int maxTime;
};

// The step-time slider runs from 1 to 100; below the middle (50) a position is a time
// of that many units, from the middle up the positions spread 50 .. maxTime linearly.
constexpr int kStepTimeSliderMax = 100;
int TimeToSliderPosition(int time, int maxTime);
int SliderPositionToTime(int position, int maxTime);

// The speed slider is inverted: a higher position is faster.
inline int SpeedOfSlider(int min, int max, int position) { return min + max - position; }
// Milliseconds per time unit at a speed: the model's table entry when it has a table
// (one entry per speed of the slider's range), else speed x factor.
double MsPerTimeUnitAt(int speed, float factor, const float* table);

// A step time as the time edit and the time row show it: units, or "%.0f" of the
// milliseconds.
std::string FormatStepTime(int time, bool inMs, double msPerUnit);
// The time typed into the time edit, in units, clamped to the limits. Text that is no
// number stands for current. Milliseconds are rounded to the nearest unit.
int ParseStepTime(const std::string& text, bool inMs, int current, double msPerUnit, TimeLimits limits);

// A step count the scenario can take: 1 .. maxSteps.
int ClampStepCount(int count, int maxSteps);
// The largest step count that may be set: 1 .. the steps the scenario grid holds.
int ClampMaxSteps(int maxSteps);
