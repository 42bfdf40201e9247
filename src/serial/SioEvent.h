#pragma once
// Event objects of the serial library's threads: auto-reset (one waiter takes a signal)
// or manual-reset (signalled until reset). A thread may wait for either of two events,
// as the write thread waits for output or a flush.
#include <cstdint>

class SioEvent {
public:
    explicit SioEvent(bool manualReset) : manualReset_(manualReset) {}
    SioEvent(const SioEvent&) = delete;
    SioEvent& operator=(const SioEvent&) = delete;

    void Set();
    void Reset();
    // True when the event was signalled within timeoutMs (an auto-reset event is then
    // reset again).
    bool WaitFor(uint32_t timeoutMs);
    // 0 or 1: the event that was signalled first (the first one when both are); -1 when
    // neither was within timeoutMs.
    static int WaitForEither(SioEvent& first, SioEvent& second, uint32_t timeoutMs);
    bool IsSet() const;

private:
    bool Take();  // under the shared lock

    const bool manualReset_;
    bool signalled_ = false;
};

// Two events waited for together.
struct SioEventPair {
    SioEvent* First = nullptr;
    SioEvent* Second = nullptr;
    int WaitFor(uint32_t timeoutMs) const { return SioEvent::WaitForEither(*First, *Second, timeoutMs); }
};
