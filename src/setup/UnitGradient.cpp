#include "setup/UnitGradient.h"

TFormGradient* FormGradient = nullptr;

TFormGradient::TFormGradient(TComponent* owner) : TForm(owner) { Name = "FormGradient"; }

TFormGradient::~TFormGradient()
{
    if (FormGradient == this)
        FormGradient = nullptr;
}
