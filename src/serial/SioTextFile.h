#pragma once
// The text files of the trace and the dispatch log: written through a 512-byte buffer,
// lines ended with CR LF, failures reported as Windows error numbers.
#include <memory>
#include <string>

class PlatformFile;

class SioTextFile {
public:
    SioTextFile();
    ~SioTextFile();  // closes a file that is open (never one that failed to open)
    SioTextFile(const SioTextFile&) = delete;
    SioTextFile& operator=(const SioTextFile&) = delete;

    // Opens name for appending when append is set and the file exists, else creates or
    // truncates it. Returns 0 or the error number.
    int Open(const std::string& name, bool append);
    void Write(const std::string& text);
    void WriteLn(const std::string& text = std::string());
    // Writes what is buffered and closes; returns 0 or the error number of the first
    // failed write.
    int Close();

private:
    void Flush();

    std::unique_ptr<PlatformFile> file_;
    std::string buffer_;
    int error_ = 0;
};
