#pragma once
// What the channel-range window computes: the controller number and the range of
// channels proposed for it, kept the way the window's three up-down controls keep their
// positions, and the check of the range before it is programmed.
#include <string>

// An up-down's range and position: the position stays within Min..Max, Min winning when
// the two cross, as the up-down control keeps it.
struct UpDownRange {
    int min = 1;
    int max = 100;
    int position = 1;
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
};

class BurnChannelRange {
public:
    UpDownRange ctrlNum;  // controller number
    UpDownRange firstCh;  // first channel, 1-based
    UpDownRange endCh;    // last channel, 1-based
    int TotalCh = 0;      // channel rows of the scenario
    int CtrlChannels = 0; // channels per controller

    // The window is shown: the range from the first channel (0-based) over one
    // controller's channels, controller 1 of as many as the channels need.
    void Show(int firstChannel, int totalCh, int ctrlChannels);
    // The controller number changed: that controller's range.
    void RecomputeRange();
    // The first channel changed: one controller's channels from there.
    void FirstChanged();
    // After a range was programmed: the next controller's range; false when that was
    // the last controller.
    bool NextController();

    int Count() const { return endCh.position - firstCh.position + 1; }
    // The channels one controller's range spans: the model's, or for a model without
    // channels (not in the table) the whole scenario.
    int Channels() const { return CtrlChannels < 1 ? TotalCh : CtrlChannels; }
    // Wider than one controller: allowed, but the window warns.
    bool Wide() const { return Count() > Channels(); }
    std::string CountLabel() const;  // "(n)"
    int ControllerCount() const;
};

// Channels firstCh .. endCh (0-based) of a scenario with totalCh rows can be programmed
// as one range: inside the rows, at least one channel and at most one image's 255.
bool IsBurnRange(int firstCh, int endCh, int totalCh);

// The integer typed in one of the window's edits; raises EConvertError when the text is
// not one.
int EditInteger(const std::string& text);
