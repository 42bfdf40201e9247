#include "ui/SafeSave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"
#include "ui/Exceptions.h"

namespace {

std::string Contents(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SafeSave, WritesANewFileAndReplacesAnOldOne)
{
    TempDir dir;
    std::string file = dir.File("scenario.h");
    SaveFileSafely(file, "first", 5);
    EXPECT_EQ(Contents(file), "first");
    SaveFileSafely(file, "second!", 7);
    EXPECT_EQ(Contents(file), "second!");
    SaveFileSafely(file, "", 0);
    EXPECT_EQ(Contents(file), "");
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp~"));
}

TEST(SafeSave, AMissingFolderIsACreateError)
{
    TempDir dir;
    EXPECT_THROW(SaveFileSafely(dir.File("no/such/folder/x.h"), "x", 1), EFCreateError);
}

TEST(SafeSave, WhatCannotBeReplacedStaysAndLeavesNoTemporaryFile)
{
    TempDir dir;
    // A folder in the way of the file: the bytes are written, the replacement fails.
    std::filesystem::create_directories(dir.File("taken"));
    std::filesystem::create_directories(dir.File("taken/inside"));
    EXPECT_THROW(SaveFileSafely(dir.File("taken"), "data", 4), EWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken/inside")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("taken.tmp~")));
}

} // namespace
