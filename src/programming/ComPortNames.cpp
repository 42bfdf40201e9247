#include "programming/ComPortNames.h"

#include <cstring>

#include "ui/SysUtils.h"

std::vector<std::string> ComPortsFromDeviceList(const char* list, size_t size)
{
    std::vector<std::string> ports;
    size_t pos = 0;
    while (pos < size && list[pos] != '\0') {
        size_t len = strnlen(list + pos, size - pos);
        std::string name(list + pos, len);
        pos += len + 1;
        if (name.size() <= 3 || name.compare(0, 3, "COM") != 0)
            continue;
        int number = StrToIntDef(name.substr(3), 0);
        if (number != 0)
            ports.push_back("COM" + IntToStr(number));
    }
    return ports;
}

bool IsComPortName(const std::string& name)
{
    if (name.size() <= 3 || name.compare(0, 3, "COM") != 0)
        return false;
    const int number = StrToIntDef(name.substr(3), 0);
    return number > 0 && number <= 0xFFFF;  // a port component's port number
}
