#pragma once
#include <string>
#include <vector>

// The serial ports present on this machine ("COM1", ...), in the order the system lists
// them, unsorted.
std::vector<std::string> EnumComPorts();
