#pragma once
// A configuration record as the program starts with it (first model, default channels),
// made afresh for every input without the cost of building the defaults again.
#include <cstring>
#include <memory>

#include "setup/ControllerModels.h"

inline ControllerConfig& FreshDefaultConfig()
{
    static const std::unique_ptr<ControllerConfig> defaults = [] {
        auto c = std::make_unique<ControllerConfig>();
        std::memset(c.get(), 0, sizeof(ControllerConfig));
        ResetControllerConfig(*c);
        SetChannelDefaults(*c);
        return c;
    }();
    static const std::unique_ptr<ControllerConfig> config = std::make_unique<ControllerConfig>();
    *config = *defaults;
    return *config;
}
