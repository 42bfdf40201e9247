#pragma once
// The serial library's control bases (Windows only): each is its parent in the class
// library with the read-only Version of the library's components.
#include "serial/SioBaseComponent.h"
#include "ui/ScrollingWinControl.h"

class TSioBaseWinControl : public TSioVersioned<TWinControl> {
public:
    using TSioVersioned<TWinControl>::TSioVersioned;
};

class TSioBaseOleControl : public TSioVersioned<TOleControl> {
public:
    using TSioVersioned<TOleControl>::TSioVersioned;
};

class TSioBaseGraphicControl : public TSioVersioned<TGraphicControl> {
public:
    using TSioVersioned<TGraphicControl>::TSioVersioned;
};

class TSioBaseScrollingWinControl : public TSioVersioned<TScrollingWinControl> {
public:
    using TSioVersioned<TScrollingWinControl>::TSioVersioned;
};
