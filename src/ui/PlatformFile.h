#pragma once
// The platform's file primitive behind TFileStream and the file queries of SysUtils.
// One implementation per platform (POSIX for the native build, Win32 for the program).
#include <cstdint>
#include <string>

class PlatformFile {
public:
    // Opens per the TFileStream mode; on failure returns null and sets error to the
    // platform's reason text and, when asked, errorNumber to the Windows error number
    // (the native build maps its reasons to those numbers).
    static PlatformFile* Open(const std::string& fileName, unsigned mode, std::string& error,
                              int* errorNumber = nullptr);
    // Moves from over to (replacing it) as one step where the platform allows;
    // on failure returns false with the reason in error.
    static bool Replace(const std::string& from, const std::string& to, std::string& error);
    virtual ~PlatformFile() = default;
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // origin: 0 beginning, 1 current, 2 end. Returns the new position or -1.
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    // Makes the system write what was written to the disk itself; on failure returns
    // false with the reason in error.
    virtual bool Flush(std::string& error) = 0;
};
