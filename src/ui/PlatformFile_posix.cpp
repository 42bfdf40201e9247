// POSIX file primitive for the native build. Windows path separators are accepted so
// that portable code may build paths the way the program does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ui/PlatformFile.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

namespace {

std::string NativePath(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

class PosixFile : public PlatformFile {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    int64_t Read(void* buffer, int64_t count) override
    {
        int64_t done = 0;
        while (done < count) {
            ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        return done;
    }
    int64_t Write(const void* buffer, int64_t count) override
    {
        int64_t done = 0;
        while (done < count) {
            ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        return done;
    }
    int64_t Seek(int64_t offset, int origin) override
    {
        int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
        return ::lseek(fd_, static_cast<off_t>(offset), whence);
    }
    bool Flush(std::string& error) override
    {
        if (::fsync(fd_) == 0)
            return true;
        error = std::strerror(errno);
        return false;
    }

private:
    int fd_;
};

// The Windows error number the program reports for a reason: 3 path not found, 4 too
// many open files, 5 access denied, 29 write fault.
int WindowsErrorNumber(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return 5;
    default:
        return 29;
    }
}

} // namespace

PlatformFile* PlatformFile::Open(const std::string& fileName, unsigned mode, std::string& error,
                                 int* errorNumber)
{
    int flags;
    if ((mode & 0xFF00) == fmCreate)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    else if ((mode & 3) == fmOpenWrite)
        flags = O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite)
        flags = O_RDWR;
    else
        flags = O_RDONLY;
    std::string path = NativePath(fileName);
    struct stat st{};
    int fd = -1;
    int reason = EISDIR;
    if (!(::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
        reason = errno;
    }
    if (fd < 0) {
        error = std::strerror(reason);
        if (errorNumber)
            *errorNumber = WindowsErrorNumber(reason);
        return nullptr;
    }
    return new PosixFile(fd);
}

bool PlatformFile::Replace(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool FileExists(const std::string& fileName)
{
    struct stat st{};
    return !fileName.empty() && ::stat(NativePath(fileName).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st{};
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& fileName)
{
    return ::unlink(NativePath(fileName).c_str()) == 0;
}
