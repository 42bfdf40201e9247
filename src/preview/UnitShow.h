#pragma once
// The show window: renders the channels on the layout picture. It exists for the main
// window's whole run; its layout and rendering are not built yet, so it stays hidden.
#include "ui/Forms.h"

class TFormShow : public TForm {
public:
    explicit TFormShow(TComponent* owner);
    ~TFormShow() override;

    // The size kept in the settings file, applied when the window is shown with a
    // picture layout and both are at least 1; 0 = none.
    int StoredHeight = 0;
    int StoredWidth = 0;
};

extern TFormShow* FormShow;
