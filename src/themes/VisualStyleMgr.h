#pragma once
// The component that makes the standard controls draw with the current visual style.
// It takes part in the main window's component tree; the styling itself is not built
// yet, so controls draw unthemed.
#include "ui/Component.h"

class TVisualStyleManager : public TComponent {
public:
    using TComponent::TComponent;
};
