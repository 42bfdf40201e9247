#pragma once
// Serial port names out of the system's list of device names.
#include <string>
#include <vector>

// From a list of zero-terminated device names ending with an empty name (the form the
// system returns), the names longer than three characters that begin with "COM" and
// whose rest is a non-zero integer, as "COM" + that integer, in list order.
std::vector<std::string> ComPortsFromDeviceList(const char* list, size_t size);

// A serial port's name: "COM" followed by a port number from 1 to 65535 ("COM5"). "USB",
// "FILE", an empty text and a bare "COM" name no serial port.
bool IsComPortName(const std::string& name);
