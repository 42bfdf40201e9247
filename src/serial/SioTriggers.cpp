#include "serial/SioTriggers.h"

#include <algorithm>

uint8_t TriggerUpCase(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

bool MatchDataChar(uint32_t (&matchState)[MatchCandidates], uint8_t c, uint32_t length, bool ignoreCase,
                   const uint8_t* matchString)
{
    bool matched = false;
    if (ignoreCase)
        c = TriggerUpCase(c);
    bool started = false;
    bool check = true;
    // Each candidate is a partial match in progress; a byte equal to the first one of
    // the string starts at most one new candidate, in the first idle slot.
    for (uint32_t i = 0; i < length; ++i) {
        uint32_t& state = matchState[i];
        if (check) {
            if (matchString[state] == c) {
                if (state == length - 1) {
                    matched = true;
                    std::fill(std::begin(matchState), std::end(matchState), 0u);
                } else {
                    ++state;
                }
            } else if (matchString[0] == c) {
                started = true;
                state = 1;
            } else {
                state = 0;
            }
        }
        if (state == 1)
            started = true;
        if (i + 1 < length) {
            bool nextBusy = matchState[i + 1] != 0;
            check = started ? nextBusy : nextBusy || matchString[0] == c;
        }
    }
    return matched;
}
