#pragma once
// The channel-range programming window. It exists for the main window's whole run;
// its contents are not built yet.
#include "ui/Forms.h"

class TFormSetBurnChannels : public TForm {
public:
    explicit TFormSetBurnChannels(TComponent* owner);
    ~TFormSetBurnChannels() override;
};

extern TFormSetBurnChannels* FormSetBurnChannels;
