// The port component's wait routines: they take received characters on the caller's
// thread until a text has arrived or the time is up, holding the dispatcher's
// notifications back meanwhile (its event-busy flag), so a close asked for during the
// wait is put off until the wait has ended.
#include <cctype>
#include <vector>

#include "serial/SioClock.h"
#include "serial/SioComPort.h"
#include "serial/SioDispatcher.h"
#include "serial/SioTimer.h"

namespace {

char Fold(char c, bool ignoreCase)
{
    return ignoreCase ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
}

bool Same(char a, char b, bool ignoreCase) { return Fold(a, ignoreCase) == Fold(b, ignoreCase); }

} // namespace

void TSioCustomComPort::ClearEventBusy()
{
    if (dispatcher_) {
        bool wasBusy;
        dispatcher_->SetEventBusy(wasBusy, false);
    }
}

void TSioCustomComPort::PrepareWait()
{
    if (ShuttingDown())
        return;
    TSioBaseDispatcher* d = ValidDispatcher();
    WaitPrepared = true;
    d->SetEventBusy(WaitBusySaved, true);
}

bool TSioCustomComPort::CheckForString(uint8_t& index, char c, const std::string& s, bool ignoreCase)
{
    if (ShuttingDown() || s.empty())
        return false;
    ++index;
    if (index <= s.size() && Same(c, s[index - 1], ignoreCase)) {
        if (index == s.size()) {
            index = 0;
            return true;
        }
        return false;
    }
    index = Same(c, s[0], ignoreCase) ? 1 : 0;
    return false;
}

bool TSioCustomComPort::WaitLoop(int32_t timeout, bool yield, const std::function<bool(char)>& match)
{
    TSioBaseDispatcher* d = ValidDispatcher();
    bool wasBusy = false;
    d->SetEventBusy(wasBusy, true);
    std::shared_ptr<bool> alive = alive_;
    ++busyDepth_;
    bool terminating = false;
    bool expired = false;
    // The busy flag is given back however the loop ends: a handler of OnWaitChar may
    // raise, and a flag left set would hold every later close off.
    auto restore = [&] {
        if (!*alive)
            return;  // destroyed meanwhile: the window finishes the close
        --busyDepth_;
        if (WaitPrepared ? !WaitBusySaved : !wasBusy)
            ClearEventBusy();
        WaitPrepared = WaitBusySaved = false;
    };
    try {
        EventTimer timer;
        NewTimer(timer, timeout);
        bool found = false;
        while (!found && !terminating) {
            // Acts only on a character it was given: a handler of a notification that
            // was already running when the wait began may take bytes meanwhile.
            uint8_t c = 0;
            if (dispatcher_ && dispatcher_->GetChar(c) == 0) {
                WaitChar(static_cast<char>(c));
                if (!*alive)
                    return false;
                found = match(static_cast<char>(c));
            }
            if (!found) {
                expired = TimerExpired(timer);
                found = expired;
                if (yield) {
                    while (uint32_t pumped = SafeYield()) {
                        if ((pumped & 0xFFFF) == WM_QUIT_NUMBER) {
                            terminating = true;
                            break;
                        }
                    }
                    if (!*alive)
                        return false;
                }
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return !terminating && !expired;
}

bool TSioCustomComPort::WaitForString(const std::string& s, int32_t timeout, bool yield, bool ignoreCase)
{
    if (s.empty() || ShuttingDown())
        return true;
    size_t position = 0;
    return WaitLoop(timeout, yield, [&](char c) {
        ++position;
        if (Same(c, s[position - 1], ignoreCase))
            return position == s.size();
        position = Same(c, s[0], ignoreCase) ? 1 : 0;
        return false;
    });
}

int32_t TSioCustomComPort::WaitForMultiString(const std::string& s, int32_t timeout, bool yield, bool ignoreCase,
                                              char sepChar)
{
    if (s.empty() || ShuttingDown())
        return 0;
    struct Part {
        size_t first, end, position;  // the part is s[first, end); position: next to compare
    };
    std::vector<Part> parts;
    for (size_t start = 0; start < s.size() && parts.size() < 127;) {
        size_t sep = s.find(sepChar, start);
        size_t end = sep == std::string::npos ? s.size() : sep;
        parts.push_back({start, end, start});
        if (sep == std::string::npos)
            break;
        start = sep + 1;  // a separator at the very end adds no part
    }
    int32_t result = 0;
    WaitLoop(timeout, yield, [&](char c) {
        for (size_t i = 0; i < parts.size(); ++i) {
            Part& p = parts[i];
            if (p.first == p.end)
                continue;  // an empty part never arrives
            if (Same(c, s[p.position], ignoreCase)) {
                if (p.position + 1 == p.end) {
                    result = static_cast<int32_t>(i) + 1;
                    return true;
                }
                ++p.position;
            } else {
                p.position = p.first + (Same(c, s[p.first], ignoreCase) ? 1 : 0);
            }
        }
        return false;
    });
    return result;
}
