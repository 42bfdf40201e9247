#pragma once
// The lamps of a configuration, in channel order, as the lamp column and the show
// window's generated layout place them.
#include <algorithm>

#include "setup/ControllerModels.h"

// Calls lamp(first, group) for every lamp: a channel whose RGB-group flag is set starts
// a group of itself and the next two channels, shown as one lamp (group true); every
// other channel is a lamp of its own. The flags come from files, so a group that would
// run past the last channel is taken as single channels.
template <class LampFn>
void ForEachLamp(int channels, const ChannelRecord* table, LampFn&& lamp)
{
    int n = std::clamp(channels, 0, kMaxChannels);
    for (int c = 0; c < n;) {
        if (table[c].rgbGroup && c + 2 < n) {
            lamp(c, true);
            c += 3;
        } else {
            lamp(c, false);
            ++c;
        }
    }
}
