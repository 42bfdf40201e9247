#pragma once
// Base of the serial library's components: a component with a read-only Version. The
// library's control bases (SioBaseControls.h) add the same to their parents.
#include <string>

#include "ui/Component.h"

template <class Parent>
class TSioVersioned : public Parent {
public:
    using Parent::Parent;
    std::string GetVersion() const { return "v1.00"; }
    // The version cannot change; the argument is ignored.
    void SetVersion(const std::string&) {}
};

class TSioBaseComponent : public TSioVersioned<TComponent> {
public:
    using TSioVersioned<TComponent>::TSioVersioned;
};

// Default modem initialisation commands of the library.
inline const char* const SioDefaultModemInit[5] = {
    "ATE0Q0V1X4S0=0S2=43", "ATE0Q0V1X3S0=0S2=43", "ATE0Q0V1X2S0=0S2=43",
    "ATE0Q0V1X1S0=0S2=43", "ATE0Q0V1S0=0S2=43",
};
