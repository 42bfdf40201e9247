#include "PtyBurnRun.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

PtyBurnRun::PtyBurnRun(int fd, const BurnInputs& inputs, const RomFile& rom) : fd_(fd), protocol_(inputs, rom, *this)
{
}

uint32_t PtyBurnRun::NowMs() const
{
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
}

bool PtyBurnRun::Run(int limitMs)
{
    start_ = Clock::now();
    const Clock::time_point limit = start_ + std::chrono::milliseconds(limitMs);
    nextTick_ = Clock::time_point::max();  // the timer starts once connected
    ++depth_;
    protocol_.Start(NowMs());
    --depth_;
    nextTick_ = Clock::now() + std::chrono::milliseconds(500);
    while (!formClosed_ && Clock::now() < limit)
        Service(std::min(limit, nextTick_));
    return formClosed_;
}

void PtyBurnRun::Service(Clock::time_point deadline)
{
    ++depth_;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(std::max<long long>(wait, 0))) > 0 && (p.revents & POLLIN)) {
        uint8_t buffer[4096];
        ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0 && !formClosed_)
            protocol_.Receive(buffer, static_cast<size_t>(n), NowMs());
    }
    if (Clock::now() >= nextTick_ && !closed_) {
        nextTick_ += std::chrono::milliseconds(500);
        protocol_.Tick(NowMs());
    }
    --depth_;
    // The window's close handler runs from the outermost message loop.
    if (depth_ == 0 && closed_ && !formClosed_) {
        formClosed_ = true;
        protocol_.FormClose();
    }
}

void PtyBurnRun::SendBytes(const std::vector<uint8_t>& bytes, int)
{
    bytesSent += bytes.size();
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{fd_, POLLOUT, 0};
            poll(&p, 1, 10);
        }
    }
}

void PtyBurnRun::Pause(int ms)
{
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until)
        Service(until);
}

int PtyBurnRun::ShowBox(const std::string& text, const std::string&, unsigned)
{
    boxes.push_back(text);
    if (answers.empty())
        return kAnswerOk;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

void PtyBurnRun::CloseWindow()
{
    if (closed_)
        return;
    closed_ = true;
    secondsToClose = std::chrono::duration<double>(Clock::now() - start_).count();
    bytesSentAtClose = bytesSent;
}
