#include "SimulatedBurnRun.h"

#include <algorithm>

namespace {

constexpr uint64_t kMs = 1000000;  // ns

} // namespace

SimulatedBurnRun::SimulatedBurnRun(SimulatedController& controller, const BurnInputs& inputs, const RomFile& rom,
                                   BurnRunOptions options)
    : controller_(controller), options_(std::move(options)), protocol_(inputs, rom, *this)
{
}

uint64_t SimulatedBurnRun::ByteTime() const
{
    return options_.baud > 0 ? 10 * 1000000000ull / static_cast<uint64_t>(options_.baud) : 0;
}

void SimulatedBurnRun::Schedule(uint64_t at, Kind kind, uint8_t byte)
{
    if (kind != Kind::Tick)
        ++lineEvents_;
    events_.push(Event{at, seq_++, kind, byte});
}

bool SimulatedBurnRun::Run()
{
    protocol_.Start(NowMs());
    Schedule(now_ + 500 * kMs, Kind::Tick);
    RunUntil(static_cast<uint64_t>(options_.limitMs) * kMs, [this] { return formClosed_ && lineEvents_ == 0; });
    return formClosed_ && lineEvents_ == 0;
}

bool SimulatedBurnRun::RunUntil(uint64_t limit, const std::function<bool()>& stop)
{
    while (!events_.empty() && events_.top().at <= limit) {
        Event e = events_.top();
        events_.pop();
        now_ = std::max(now_, e.at);
        ++depth_;
        Dispatch(e);
        --depth_;
        // The window's close handler runs from the outermost message loop.
        if (depth_ == 0 && closed && !formClosed_) {
            formClosed_ = true;
            protocol_.FormClose();
        }
        if (stop && stop())
            return true;
    }
    return false;
}

void SimulatedBurnRun::Dispatch(const Event& e)
{
    if (e.kind != Kind::Tick)
        --lineEvents_;
    switch (e.kind) {
    case Kind::ToController:
        controller_.Receive(e.byte);
        for (const SimulatedReply& reply : controller_.TakeReplies()) {
            uint64_t at = std::max(now_ + static_cast<uint64_t>(reply.delayMs) * kMs, toProgramFree_);
            for (uint8_t b : reply.bytes) {
                at += ByteTime();
                Schedule(at, Kind::ToProgram, b);
            }
            toProgramFree_ = at;
        }
        break;
    case Kind::ToProgram:
        inbox_.push_back(e.byte);
        if (!receivePending_) {
            receivePending_ = true;
            Schedule(now_, Kind::Receive);
        }
        break;
    case Kind::Receive: {
        receivePending_ = false;
        std::vector<uint8_t> bytes;
        bytes.swap(inbox_);
        bytesReceived += bytes.size();
        if (!formClosed_)
            protocol_.Receive(bytes.data(), bytes.size(), NowMs());
        break;
    }
    case Kind::Tick:
        if (!closed) {
            protocol_.Tick(NowMs());
            Schedule(now_ + 500 * kMs, Kind::Tick);
        }
        break;
    }
}

void SimulatedBurnRun::SendBytes(const std::vector<uint8_t>& bytes, int)
{
    frames.push_back(bytes);
    bytesSent += bytes.size();
    for (uint8_t b : bytes) {
        toControllerFree_ = std::max(toControllerFree_, now_) + ByteTime();
        Schedule(toControllerFree_, Kind::ToController, b);
    }
}

void SimulatedBurnRun::SendIfRoom(const std::vector<uint8_t>& bytes) { SendBytes(bytes, 0); }

void SimulatedBurnRun::DropOutput()
{
    // The bytes that would reach the controller later than now never do.
    std::vector<Event> kept;
    for (; !events_.empty(); events_.pop()) {
        if (events_.top().kind == Kind::ToController && events_.top().at > now_)
            --lineEvents_;
        else
            kept.push_back(events_.top());
    }
    for (const Event& e : kept)
        events_.push(e);
    toControllerFree_ = std::min(toControllerFree_, now_);
}

void SimulatedBurnRun::Pause(int ms)
{
    const uint64_t until = now_ + static_cast<uint64_t>(ms) * kMs;
    RunUntil(until, nullptr);
    now_ = std::max(now_, until);
}

void SimulatedBurnRun::ShowStatus(const std::string& caption) { statuses.push_back(caption); }

void SimulatedBurnRun::ShowProgress(int min, int max, int position)
{
    progressShown.push_back(Progress{min, max, position});
    progressVisible = true;
}

void SimulatedBurnRun::SetProgress(int position) { progress.push_back(position); }

void SimulatedBurnRun::HideProgress() { progressVisible = false; }

int SimulatedBurnRun::ShowBox(const std::string& text, const std::string& caption, unsigned flags)
{
    const size_t index = boxes.size();
    boxes.push_back(Box{text, caption, flags, 0, false, Seconds()});
    openBoxes_.push_back(index);
    if (options_.answerAfterMs > 0) {
        const uint64_t until = now_ + static_cast<uint64_t>(options_.answerAfterMs) * kMs;
        if (!RunUntil(until, [&] { return boxes[index].dismissed; }))
            now_ = std::max(now_, until);
    }
    openBoxes_.pop_back();
    int answer = kAnswerOk;
    if (!boxes[index].dismissed && !options_.answers.empty()) {
        answer = options_.answers.front();
        options_.answers.pop_front();
    }
    boxes[index].answer = answer;
    return answer;
}

void SimulatedBurnRun::DismissBox()
{
    if (!openBoxes_.empty())
        boxes[openBoxes_.back()].dismissed = true;
}

void SimulatedBurnRun::SetMaxSteps(int steps, bool keep) { maxSteps.emplace_back(steps, keep); }

void SimulatedBurnRun::CloseWindow()
{
    if (closed)
        return;
    closed = true;
    closedAt = Seconds();
    bytesSentAtClose = bytesSent;
}
