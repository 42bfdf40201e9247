#include "programming/UnitSetBurnChannels.h"

TFormSetBurnChannels* FormSetBurnChannels = nullptr;

TFormSetBurnChannels::TFormSetBurnChannels(TComponent* owner) : TForm(owner) { Name = "FormSetBurnChannels"; }

TFormSetBurnChannels::~TFormSetBurnChannels()
{
    if (FormSetBurnChannels == this)
        FormSetBurnChannels = nullptr;
}
