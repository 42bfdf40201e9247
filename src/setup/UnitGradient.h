#pragma once
// The gradient dialog of the effects box. It exists for the main window's whole run;
// its contents are not built yet.
#include "ui/Forms.h"

class TFormGradient : public TForm {
public:
    explicit TFormGradient(TComponent* owner);
    ~TFormGradient() override;
};

extern TFormGradient* FormGradient;
