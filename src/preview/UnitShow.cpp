#include "preview/UnitShow.h"

TFormShow* FormShow = nullptr;

TFormShow::TFormShow(TComponent* owner) : TForm(owner)
{
    Name = "FormShow";
    SetCaption("Шоу");
}

TFormShow::~TFormShow()
{
    if (FormShow == this)
        FormShow = nullptr;
}
