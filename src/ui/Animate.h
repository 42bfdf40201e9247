#pragma once
// The animation control; a transparent one shows its parent's colour around the frames.
#include "ui/Controls.h"

class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool transparent_ = true;
};
