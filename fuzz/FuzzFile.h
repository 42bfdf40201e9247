#pragma once
// The fuzz input as a file, for the readers that take a file name: one file per process,
// in memory-backed storage where there is some, rewritten for every input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string FuzzFile(const char* extension, const uint8_t* data, size_t size)
{
    static const std::string folder =
        std::filesystem::is_directory("/dev/shm") ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string();
    const std::string name = folder + "/pelvor-fuzz-" + std::to_string(getpid()) + extension;
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
    return name;
}

// Stops the run on a broken promise of the code under test.
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition))     \
            __builtin_trap(); \
    } while (0)
