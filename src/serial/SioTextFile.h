#pragma once
// The text files of the trace and the dispatch log: written through a 512-byte buffer,
// lines ended with CR LF, failures reported as the platform's error numbers.
#include <cstdint>
#include <string>

class SioTextFile {
public:
    SioTextFile() = default;
    ~SioTextFile();  // closes a file that is open (never one that failed to open)
    SioTextFile(const SioTextFile&) = delete;
    SioTextFile& operator=(const SioTextFile&) = delete;

    // Opens name for appending when append is set and the file exists, else creates or
    // truncates it. Returns 0 or the error number.
    int Open(const std::string& name, bool append);
    void Write(const std::string& text);
    void WriteLn(const std::string& text = std::string());
    // Flushes and closes; returns 0 or the first error number of a write or the close.
    int Close();

private:
    void Flush();

    intptr_t handle_ = -1;
    std::string buffer_;
    int error_ = 0;
};

// The platform's file primitive (SioTextFile_posix.cpp / SioTextFile_win32.cpp).
intptr_t SioFileOpen(const std::string& name, bool append, int& error);
int SioFileWrite(intptr_t handle, const char* data, size_t size);  // 0 or error
int SioFileClose(intptr_t handle);                                 // 0 or error
