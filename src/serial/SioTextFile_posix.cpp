// The file primitive of the native build. Errors are given as the Windows numbers the
// program reports (2 file not found, 3 path not found, 4 too many open files, 5 access
// denied, 29 write fault).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "serial/SioTextFile.h"

namespace {

int ErrorNumber(int err)
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

intptr_t SioFileOpen(const std::string& name, bool append, int& error)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        error = ErrorNumber(errno);
        return -1;
    }
    return fd;
}

int SioFileWrite(intptr_t handle, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(static_cast<int>(handle), data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? ErrorNumber(errno) : 29;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

int SioFileClose(intptr_t handle) { return ::close(static_cast<int>(handle)) == 0 ? 0 : ErrorNumber(errno); }
