#pragma once
// One programming run of the serial protocol against a simulated controller, in
// simulated time: the line carries bytes at the baud rate (or instantly), the window's
// timer ticks every 500 ms, message boxes are answered from a script, and sends,
// pauses and boxes let events run meanwhile as the window's message processing does.
#include <cstdint>
#include <deque>
#include <functional>
#include <queue>
#include <string>
#include <vector>

#include "SimulatedController.h"
#include "programming/BurnShell.h"
#include "programming/ComBurnProtocol.h"

struct BurnRunOptions {
    int baud = 0;              // 0: bytes take no time; else 10 bit-times per byte each way
    std::deque<int> answers;   // answers to the message boxes in order (kAnswerOk when none is left)
    int answerAfterMs = 0;     // how long a box waits for its answer, events running meanwhile
    int limitMs = 600000;      // the run gives up at this simulated time
};

class SimulatedBurnRun : public BurnShell {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned flags = 0;
        int answer = 0;
        bool dismissed = false;  // closed by the program, not answered
        double at = 0;           // seconds
    };
    struct Progress {
        int min = 0, max = 0, position = 0;
    };

    SimulatedBurnRun(SimulatedController& controller, const BurnInputs& inputs, const RomFile& rom,
                     BurnRunOptions options = {});

    // Starts the protocol and runs until the window has closed and its last bytes have
    // reached the controller. False when the time limit came first.
    bool Run();
    ComBurnProtocol& Protocol() { return protocol_; }
    double Seconds() const { return static_cast<double>(now_) * 1e-9; }

    std::vector<Box> boxes;
    std::vector<std::string> statuses;
    std::vector<std::pair<int, bool>> maxSteps;  // SetMaxSteps calls
    std::vector<Progress> progressShown;         // ShowProgress calls
    std::vector<int> progress;                   // SetProgress calls
    bool progressVisible = false;
    std::vector<std::vector<uint8_t>> frames;    // every send, in order
    size_t bytesSent = 0;
    size_t bytesReceived = 0;
    bool closed = false;
    double closedAt = 0;          // seconds, when the window was asked to close
    size_t bytesSentAtClose = 0;

    void SendBytes(const std::vector<uint8_t>& bytes, int room) override;
    void SendIfRoom(const std::vector<uint8_t>& bytes) override;
    void DropOutput() override;
    void Pause(int ms) override;
    void ShowStatus(const std::string& caption) override;
    void ShowProgress(int min, int max, int position) override;
    void SetProgress(int position) override;
    void HideProgress() override;
    int ShowBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void DismissBox() override;
    void SetMaxSteps(int steps, bool keep) override;
    void CloseWindow() override;

private:
    enum class Kind { ToController, ToProgram, Receive, Tick };
    struct Event {
        uint64_t at;   // ns
        uint64_t seq;
        Kind kind;
        uint8_t byte;
        bool operator>(const Event& o) const { return at != o.at ? at > o.at : seq > o.seq; }
    };

    void Schedule(uint64_t at, Kind kind, uint8_t byte = 0);
    // Handles events up to limit (ns); stops early when stop says so. True when stopped.
    bool RunUntil(uint64_t limit, const std::function<bool()>& stop);
    void Dispatch(const Event& e);
    uint64_t ByteTime() const;
    uint32_t NowMs() const { return static_cast<uint32_t>(now_ / 1000000); }

    SimulatedController& controller_;
    BurnRunOptions options_;
    ComBurnProtocol protocol_;
    std::priority_queue<Event, std::vector<Event>, std::greater<Event>> events_;
    uint64_t seq_ = 0;
    uint64_t now_ = 0;
    uint64_t toControllerFree_ = 0;  // when the line to the controller is free again
    uint64_t toProgramFree_ = 0;
    std::vector<uint8_t> inbox_;     // received, not yet read by the window
    bool receivePending_ = false;
    int lineEvents_ = 0;             // bytes on the way and receive events
    int depth_ = 0;
    bool formClosed_ = false;
    std::vector<size_t> openBoxes_;
};
