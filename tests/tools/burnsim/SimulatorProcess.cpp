#include "SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

SimulatorProcess::SimulatorProcess(const std::string& program, const std::vector<std::string>& options)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        return;
    const std::string device = ptsname(master_);
    // Raw before anything is written: a cooked line would echo the program's bytes back.
    slave_ = open(device.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (slave_ < 0 || tcgetattr(slave_, &t) != 0)
        return;
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);

    int out[2];
    if (pipe(out) != 0)
        return;
    std::vector<std::string> args = {program, device};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    pollfd p{out[0], POLLIN, 0};
    char said[6] = {};
    ready_ = pid_ > 0 && poll(&p, 1, 30000) > 0 && read(out[0], said, 5) == 5 && std::string(said) == "ready";
    close(out[0]);
}

bool SimulatorProcess::Stop()
{
    if (pid_ <= 0)
        return false;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

SimulatorProcess::~SimulatorProcess()
{
    Stop();
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}
