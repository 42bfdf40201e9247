#pragma once
// The channel-range programming window. It exists for the main window's whole run;
// its contents are not built yet.
#include <string>

#include "ui/Forms.h"

class TFormSetBurnChannels : public TForm {
public:
    explicit TFormSetBurnChannels(TComponent* owner);
    ~TFormSetBurnChannels() override;

    // Set by the main window before the window is shown.
    int FirstCh = 0;       // first channel, 0-based
    int EndCh = 0;         // last channel, 0-based
    int TotalCh = 0;       // channel rows of the scenario
    std::string CtrlName;  // controller model name
    int CtrlChannels = 0;  // channels one controller drives
};

extern TFormSetBurnChannels* FormSetBurnChannels;
