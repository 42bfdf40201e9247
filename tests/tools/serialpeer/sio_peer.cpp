// The far end of the serial tests' lines. Each line is the peer's side of a pty pair
// whose other side is a COM port of the Wine prefix:
//   --echo PATH   sends back every byte that arrives;
//   --burst PATH  answers each 4-byte little-endian count with that many pattern bytes
//                 (PeerPattern.h), all written at once.
// Prints "ready" once every line is open; runs until it is stopped (SIGTERM).
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PeerPattern.h"

namespace {

struct Line {
    int fd;
    bool burst;
    std::string pending;  // a burst line's count not yet complete
};

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void Answer(Line& line, const char* bytes, size_t size)
{
    if (!line.burst) {
        WriteAll(line.fd, reinterpret_cast<const uint8_t*>(bytes), size);
        return;
    }
    line.pending.append(bytes, size);
    while (line.pending.size() >= 4) {
        uint32_t count = 0;
        for (int i = 3; i >= 0; --i)
            count = count << 8 | static_cast<uint8_t>(line.pending[static_cast<size_t>(i)]);
        line.pending.erase(0, 4);
        std::vector<uint8_t> burst(count);
        for (uint32_t i = 0; i < count; ++i)
            burst[i] = PeerPatternByte(i);
        WriteAll(line.fd, burst.data(), burst.size());
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<Line> lines;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string mode = argv[i];
        int fd = open(argv[i + 1], O_RDWR | O_NOCTTY);
        termios t{};
        if (fd < 0 || tcgetattr(fd, &t) != 0 || (mode != "--echo" && mode != "--burst")) {
            std::fprintf(stderr, "sio_peer: cannot use %s %s: %s\n", argv[i], argv[i + 1], std::strerror(errno));
            return 2;
        }
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        lines.push_back({fd, mode == "--burst", {}});
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::vector<pollfd> polls;
    for (const Line& line : lines)
        polls.push_back({line.fd, POLLIN, 0});
    for (;;) {
        if (poll(polls.data(), polls.size(), 1000) < 0 && errno != EINTR)
            return 1;
        for (size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].revents & POLLIN) {
                char buffer[4096];
                ssize_t n = read(polls[i].fd, buffer, sizeof buffer);
                if (n > 0)
                    Answer(lines[i], buffer, static_cast<size_t>(n));
            } else if (polls[i].revents & (POLLHUP | POLLERR)) {
                usleep(10000);  // the other side is between two opens
            }
        }
    }
}
