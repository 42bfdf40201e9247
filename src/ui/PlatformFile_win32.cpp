// Win32 file primitive: names are converted from Windows-1251 and opened with the
// W functions, so any name the program can show can also be opened.
#include <windows.h>

#include <algorithm>

#include "ui/Handles.h"
#include "ui/PlatformFile.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {

std::string SystemErrorText(DWORD code)
{
    std::string text = SysErrorMessage(code);
    return text.empty() ? "System error " + IntToStr(code) : text;
}

class Win32File : public PlatformFile {
public:
    explicit Win32File(HANDLE h) : file_(h) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        int64_t done = 0;
        while (done < count) {
            DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
            DWORD got = 0;
            if (!ReadFile(file_.Get(), static_cast<char*>(buffer) + done, chunk, &got, nullptr) || got == 0)
                break;
            done += got;
        }
        return done;
    }
    int64_t Write(const void* buffer, int64_t count) override
    {
        int64_t done = 0;
        while (done < count) {
            DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
            DWORD put = 0;
            if (!WriteFile(file_.Get(), static_cast<const char*>(buffer) + done, chunk, &put, nullptr) || put == 0)
                break;
            done += put;
        }
        return done;
    }
    int64_t Seek(int64_t offset, int origin) override
    {
        LARGE_INTEGER dist, pos;
        dist.QuadPart = offset;
        DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
        if (!SetFilePointerEx(file_.Get(), dist, &pos, method))
            return -1;
        return pos.QuadPart;
    }
    bool Flush(std::string& error) override
    {
        if (FlushFileBuffers(file_.Get()))
            return true;
        error = SystemErrorText(GetLastError());
        return false;
    }

private:
    TKernelHandle file_;
};

} // namespace

PlatformFile* PlatformFile::Open(const std::string& fileName, unsigned mode, std::string& error,
                                 int* errorNumber)
{
    DWORD access, share, disposition;
    if ((mode & 0xFF00) == fmCreate) {
        access = GENERIC_READ | GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
    } else {
        unsigned a = mode & 3;
        access = a == fmOpenWrite ? GENERIC_WRITE : a == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
        unsigned s = mode & 0xF0;
        share = s == fmShareExclusive ? 0
              : s == fmShareDenyWrite ? FILE_SHARE_READ
                                      : FILE_SHARE_READ | FILE_SHARE_WRITE;
        disposition = OPEN_EXISTING;
    }
    HANDLE h = CreateFileW(ToWide(fileName).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        error = SystemErrorText(code);
        if (errorNumber)
            *errorNumber = static_cast<int>(code);
        return nullptr;
    }
    return new Win32File(h);
}

bool PlatformFile::Replace(const std::string& from, const std::string& to, std::string& error)
{
    if (MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = SystemErrorText(GetLastError());
    return false;
}

bool FileExists(const std::string& fileName)
{
    if (fileName.empty())
        return false;
    DWORD attr = GetFileAttributesW(ToWide(fileName).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    if (path.empty())
        return false;
    DWORD attr = GetFileAttributesW(ToWide(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& fileName) { return DeleteFileW(ToWide(fileName).c_str()) != 0; }
