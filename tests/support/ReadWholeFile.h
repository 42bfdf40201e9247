#pragma once
// The bytes of a file as one string ("" when it cannot be read).
#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
