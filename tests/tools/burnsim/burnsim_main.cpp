// A simulated controller on a serial line: opens the device given (a pty), answers the
// serial programming protocol and saves what it was sent.
//
//   burnsim DEVICE [options]
//     --paced            bytes take 10 bit-times at 38400 baud, each way
//     --store DIR        after every finished transfer: DIR/flash-N.bin, DIR/eeprom-N.bin, and
//                        last DIR/transfer-N.txt with the bytes received since the previous
//                        transfer ended and the seconds from the first of them to the end;
//                        each file appears whole (written aside, then renamed)
//     --type C --flash BYTES --boot BYTES --block BYTES --eeprom BYTES (0: not reported)
//     --kept BYTES       firmware the controller keeps, reported with "z"
//     --version N --no-version --no-size
//     --reject-flash K --reject-eeprom K --drop-hello N --drop-flash K
//     --delay-flash K:MS --split-size MS --silent
//     --hold-flash K     the answer to flash frame K, and every reply after it, waits
//                        until the file DIR/release exists (DIR: the --store folder)
//
// Prints "ready" on standard output once the device is open; ends on SIGTERM or SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>

#include "SimulatedController.h"

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

struct Options {
    std::string device;
    std::string store;
    bool paced = false;
    SimulatedControllerSettings settings;
    SimulatedControllerFaults faults;
};

[[noreturn]] void Usage(const char* problem)
{
    std::fprintf(stderr, "burnsim: %s\nusage: burnsim DEVICE [--paced] [--store DIR] [settings] [faults]\n", problem);
    std::exit(2);
}

Options ParseOptions(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Usage(("missing value for " + a).c_str());
            return argv[++i];
        };
        auto number = [&]() { return std::atoi(value().c_str()); };
        if (a == "--paced") o.paced = true;
        else if (a == "--store") o.store = value();
        else if (a == "--type") o.settings.type = value()[0];
        else if (a == "--flash") o.settings.flashSize = number();
        else if (a == "--boot") o.settings.bootSize = number();
        else if (a == "--block") o.settings.blockSize = number();
        else if (a == "--eeprom") o.settings.eepromSize = number();
        else if (a == "--kept") o.settings.keptFirmwareSize = number();
        else if (a == "--version") o.settings.version = static_cast<uint8_t>(number());
        else if (a == "--no-version") o.settings.sendVersion = false;
        else if (a == "--no-size") o.settings.sendSize = false;
        else if (a == "--reject-flash") o.faults.rejectFlashFrame = number();
        else if (a == "--reject-eeprom") o.faults.rejectEepromFrame = number();
        else if (a == "--drop-hello") o.faults.dropHelloReplies = number();
        else if (a == "--drop-flash") o.faults.dropFlashReply = number();
        else if (a == "--delay-flash") {
            std::string v = value();
            o.faults.delayFlashReply = std::atoi(v.c_str());
            size_t colon = v.find(':');
            o.faults.delayMs = colon == std::string::npos ? 0 : std::atoi(v.c_str() + colon + 1);
        } else if (a == "--hold-flash") o.faults.holdFlashReply = number();
        else if (a == "--split-size") o.faults.splitSizeReplyMs = number();
        else if (a == "--silent") o.faults.silent = true;
        else if (!a.empty() && a[0] != '-' && o.device.empty()) o.device = a;
        else Usage(("unknown option " + a).c_str());
    }
    if (o.device.empty())
        Usage("no device");
    if (o.faults.holdFlashReply >= 0 && o.store.empty())
        Usage("--hold-flash needs --store");
    return o;
}

int OpenLine(const std::string& device)
{
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        std::fprintf(stderr, "burnsim: cannot open %s: %s\n", device.c_str(), std::strerror(errno));
        std::exit(1);
    }
    termios t{};
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        cfsetspeed(&t, B38400);
        tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Written aside and renamed into place: a reader never sees half a file.
void Save(const std::string& name, const std::string& data)
{
    const std::string part = name + ".part";
    std::ofstream(part, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
    std::rename(part.c_str(), name.c_str());
}

std::string AsText(const std::vector<uint8_t>& data) { return std::string(data.begin(), data.end()); }

struct Timed {
    Clock::time_point at;
    uint8_t byte;
};

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    const int fd = OpenLine(options.device);
    SimulatedController controller(options.settings, options.faults);
    const Clock::duration byteTime = options.paced ? std::chrono::nanoseconds(10 * 1000000000ll / 38400)
                                                   : Clock::duration::zero();
    std::deque<Timed> input, output;  // both in time order
    Clock::time_point inputFree{}, outputFree{};
    int saved = 0;
    // The transfer being counted: from its first byte received.
    size_t transferBytes = 0;
    Clock::time_point transferStart{};
    // Replies go out in order, each after its delay and after the one before it. Paced,
    // a reply takes its bytes' time on the line and is written in one piece once its
    // last byte is through: the program is not left to join a reply's pieces across the
    // gaps a loaded machine puts between its reads.
    auto sendReplies = [&](Clock::time_point now) {
        for (const SimulatedReply& reply : controller.TakeReplies()) {
            const Clock::time_point start = std::max(now + std::chrono::milliseconds(reply.delayMs), outputFree);
            const Clock::time_point end = start + byteTime * static_cast<int>(reply.bytes.size());
            for (uint8_t b : reply.bytes)
                output.push_back(Timed{end, b});
            outputFree = end;
        }
    };
    const std::string releaseFile = options.store + "/release";
    std::printf("ready\n");
    std::fflush(stdout);

    while (!stopRequested) {
        Clock::time_point now = Clock::now();
        while (!input.empty() && input.front().at <= now) {
            controller.Receive(input.front().byte);
            input.pop_front();
            sendReplies(now);
            if (controller.SessionsDone() > saved && !options.store.empty()) {
                saved = controller.SessionsDone();
                const std::string number = std::to_string(saved);
                Save(options.store + "/flash-" + number + ".bin", AsText(controller.Flash()));
                Save(options.store + "/eeprom-" + number + ".bin", AsText(controller.Eeprom()));
                const double seconds = std::chrono::duration<double>(now - transferStart).count();
                std::ostringstream transfer;
                transfer << "bytes=" << transferBytes << " seconds=" << seconds << "\n";
                Save(options.store + "/transfer-" + number + ".txt", transfer.str());
                transferBytes = 0;
            }
        }
        if (controller.Holding() && access(releaseFile.c_str(), F_OK) == 0) {
            controller.ReleaseHeld();
            sendReplies(now);
        }
        std::vector<uint8_t> due;
        while (!output.empty() && output.front().at <= now) {
            due.push_back(output.front().byte);
            output.pop_front();
        }
        for (size_t done = 0; done < due.size();) {
            ssize_t n = write(fd, due.data() + done, due.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;  // nobody on the other end: the bytes are lost, as on a cable
            else
                usleep(1000);
        }

        Clock::time_point next = now + std::chrono::milliseconds(200);
        if (!input.empty())
            next = std::min(next, input.front().at);
        if (!output.empty())
            next = std::min(next, output.front().at);
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now);
        timespec timeout{static_cast<time_t>(wait.count() / 1000000000), static_cast<long>(wait.count() % 1000000000)};
        pollfd p{fd, POLLIN, 0};
        if (ppoll(&p, 1, &timeout, nullptr) > 0 && (p.revents & POLLIN)) {
            uint8_t buffer[4096];
            ssize_t n = read(fd, buffer, sizeof buffer);
            now = Clock::now();
            if (n > 0 && transferBytes == 0)
                transferStart = now;
            if (n > 0)
                transferBytes += static_cast<size_t>(n);
            for (ssize_t i = 0; i < n; ++i) {
                // On a cable a byte is in once its 10 bits have passed, after the one before.
                inputFree = std::max(now, inputFree) + byteTime;
                input.push_back(Timed{inputFree, buffer[i]});
            }
        } else if (p.revents & (POLLHUP | POLLERR)) {
            usleep(20000);  // the other end is not open yet, or went away for a moment
        }
    }
    std::fprintf(stderr, "burnsim: %d hellos, %d flash frames, %d EEPROM frames, %d rejected, %d transfers\n",
                 controller.Hellos(), controller.FlashFrames(), controller.EepromFrames(), controller.Rejected(),
                 controller.SessionsDone());
    close(fd);
    return 0;
}
