#pragma once
// The show window: renders the channels on the layout picture. It exists for the main
// window's whole run; its layout and rendering are not built yet, so it stays hidden.
#include "ui/Forms.h"

class TFormShow : public TForm {
public:
    explicit TFormShow(TComponent* owner);
    ~TFormShow() override;
};

extern TFormShow* FormShow;
