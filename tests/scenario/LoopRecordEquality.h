#pragma once
// Loop records compare field by field in the tests' expectations.
#include "scenario/ScenarioSnapshot.h"

inline bool operator==(const LoopRecord& a, const LoopRecord& b)
{
    return a.firstColumn == b.firstColumn && a.lastColumn == b.lastColumn && a.repeatCount == b.repeatCount;
}
