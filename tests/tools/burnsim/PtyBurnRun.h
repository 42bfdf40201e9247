#pragma once
// One programming run of the serial protocol in real time over a serial line (the
// master side of a pty), as the programming window would drive it: received bytes and
// 500 ms ticks go to the protocol, sends are written to the line, boxes are answered
// from a script at once.
#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "programming/BurnShell.h"
#include "programming/ComBurnProtocol.h"

class PtyBurnRun : public BurnShell {
public:
    PtyBurnRun(int fd, const BurnInputs& inputs, const RomFile& rom);

    // Runs until the window has closed and its flush is written; false after limitMs.
    bool Run(int limitMs);
    ComBurnProtocol& Protocol() { return protocol_; }

    std::deque<int> answers;      // kAnswerOk when none is left
    std::vector<std::string> boxes;
    double secondsToClose = 0;    // from the start until the window was asked to close
    size_t bytesSent = 0;
    size_t bytesSentAtClose = 0;

    void SendBytes(const std::vector<uint8_t>& bytes, int room) override;
    void SendIfRoom(const std::vector<uint8_t>& bytes) override { SendBytes(bytes, 0); }
    void DropOutput() override {}  // what was written is in the pty already: nothing is held back to drop
    void Pause(int ms) override;
    void ShowStatus(const std::string&) override {}
    void ShowProgress(int, int, int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    int ShowBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void DismissBox() override {}
    void SetMaxSteps(int, bool) override {}
    void CloseWindow() override;

private:
    using Clock = std::chrono::steady_clock;
    // Waits for input until deadline at most, hands it and due ticks to the protocol.
    void Service(Clock::time_point deadline);
    uint32_t NowMs() const;

    int fd_;
    ComBurnProtocol protocol_;
    Clock::time_point start_;
    Clock::time_point nextTick_;
    bool closed_ = false;
    bool formClosed_ = false;
    int depth_ = 0;
};
