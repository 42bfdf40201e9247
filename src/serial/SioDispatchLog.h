#pragma once
// The dispatch log of a port: one record per dispatcher event (device reads and writes,
// line and modem status, triggers, handlers, threads, user strings), each stamped with
// the ms since the port opened, dumped as a table under a header block. Owned by the
// dispatcher: additions and dumps run under its data lock; the record queue has its
// own lock, which is all that starting, clearing and aborting take.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "serial/SioDispatchTypes.h"
#include "serial/SioQueue.h"

class SioDispatchLog {
public:
    explicit SioDispatchLog(std::recursive_mutex& dataSection);
    SioDispatchLog(const SioDispatchLog&) = delete;
    SioDispatchLog& operator=(const SioDispatchLog&) = delete;

    // Empties the log, limits the data bytes its records carry to queueSize (0: no
    // limit) and switches it on.
    void InitDispatchLogging(int32_t queueSize);
    // Adds a record while the log is on; the oldest records go first while the data
    // bytes already queued exceed the limit.
    void AddDispatchEntry(TDispatchType type, TDispatchSubType subType, uint32_t data,
                          const void* buffer, int32_t bufferLen);
    void StartDispatchLogging() { on_ = true; }
    void StopDispatchLogging() { on_ = false; }
    void ClearDispatchLogging() { queue_.Clear(); }
    void AbortDispatchLogging();

    int32_t DumpDispatchLog(const std::string& fileName, bool inHex, bool allHex);
    int32_t AppendDispatchLog(const std::string& fileName, bool inHex, bool allHex);
    // Writes the records and consumes them. 0, or the negated error number (a failed
    // open keeps the log as it was).
    int32_t DumpDispatchLogPrim(const std::string& fileName, bool appendFile, bool inHex, bool allHex);

    // ms since the time base, wrapping with the clock.
    uint32_t GetDispatchTime() const;
    void SetTimeBase(uint32_t ms) { timeBase_ = ms; }
    bool LogOn() const { return on_; }
    int32_t LogMax() const { return max_; }
    const TIOQueue& LogQueue() const { return queue_; }

    // The header's device line; no back end of this program fills it.
    std::string DeviceName;
    // Texts of the header block; replaceable for tests.
    std::function<std::string()> SystemText;
    std::function<std::string()> DateTimeText;

private:
    void WriteRecord(class SioTextFile& file, const TLogBuffer& record, bool inHex, bool allHex);

    std::recursive_mutex& lock_;  // the dispatcher's data lock
    std::atomic<bool> on_{false};
    TIOQueue queue_;
    std::atomic<int32_t> max_{0};
    std::atomic<uint32_t> timeBase_{0};
};

// The build tool named in the log header.
const char* SioCompilerText();
// The running system's description for the log header; the Win32 side installs it.
void SetSioSystemDescription(std::string (*describe)());
std::string SioSystemDescriptionText();
// The local time as "dd/mm/yy, hh:mm:ss".
std::string SioLocalDateTimeText();
