#pragma once
// A fresh folder under the system's temporary folder for one test, removed afterwards.
// Works natively and in the Windows builds (no POSIX-only calls).
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir()
    {
        std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937 random(seed());
        for (;;) {
            path_ = base / ("pelvor-" + std::to_string(random() % 100000000u));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing separator, as the program keeps folders.
    std::string Folder() const { return path_.string() + Separator(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const
    {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream out(path_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return File(name);
    }

private:
    static const char* Separator()
    {
#ifdef _WIN32
        return "\\";
#else
        return "/";
#endif
    }
    std::filesystem::path path_;
};
