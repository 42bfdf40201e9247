#pragma once
// The custom colours every colour dialog of the program offers: white, red, green,
// blue, yellow and aqua, the rest black.
#include <algorithm>
#include <iterator>

#include "ui/Dialogs.h"

inline void SetStandardCustomColours(TColorDialog& dialog)
{
    const TColor standard[] = {clWhite, clRed, clLime, clBlue, clYellow, clAqua};
    std::fill(std::begin(dialog.CustomColors), std::end(dialog.CustomColors), clBlack);
    std::copy(std::begin(standard), std::end(standard), dialog.CustomColors);
}
