#pragma once
#include "ui/Grids.h"
#include "ui/StdCtrls.h"

// The in-place editor of a grid cell.
class TInplaceEdit : public TEdit {
public:
    TInplaceEdit(TCustomGrid* grid);
    void WndProc(TMessage& message) override;

protected:
    bool DoKeyDown(WORD& key, TShiftState shift) override;
    bool HandleReflected(TMessage& message) override;

private:
    TCustomGrid* grid_;  // not owned: the grid owns this editor
};
