#include "programming/ComPortNames.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Parse(const std::string& list) { return ComPortsFromDeviceList(list.data(), list.size()); }

// A literal with embedded zeros, without the compiler's own terminator.
template <size_t N>
std::string Bytes(const char (&s)[N])
{
    return std::string(s, N - 1);
}

TEST(ComPortNames, KeepsNumberedComDevicesInListOrder)
{
    std::string list = Bytes("AUX\0COM12\0NUL\0COM3\0LPT1\0COM1\0\0");
    EXPECT_EQ(Parse(list), (std::vector<std::string>{"COM12", "COM3", "COM1"}));
}

TEST(ComPortNames, SkipsNamesWithoutANonZeroNumber)
{
    std::string list = Bytes("COM\0COM0\0COMX\0com4\0CO5\0COM007\0\0");
    EXPECT_EQ(Parse(list), (std::vector<std::string>{"COM7"}));
}

TEST(ComPortNames, StopsAtTheEmptyNameAndAtTheBufferEnd)
{
    std::string list = Bytes("COM2\0\0COM5\0\0");
    EXPECT_EQ(Parse(list), (std::vector<std::string>{"COM2"}));
    std::string unterminated = Bytes("COM9");
    EXPECT_EQ(Parse(unterminated), (std::vector<std::string>{"COM9"}));
    EXPECT_TRUE(Parse(std::string()).empty());
}

} // namespace
