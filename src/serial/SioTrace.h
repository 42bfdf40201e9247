#pragma once
// The byte trace of a port: a ring of {entry type, byte} pairs, 'T' for each byte
// written and 'R' for each byte read, dumped as text grouped into "Transmit" and
// "Receive" runs. Owned by the dispatcher and guarded by its data lock, which is
// re-entrant so that a path already holding it may add entries.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class SioTrace {
public:
    static constexpr int32_t MaxEntries = 4000000;

    explicit SioTrace(std::recursive_mutex& dataSection) : lock_(dataSection) {}
    SioTrace(const SioTrace&) = delete;
    SioTrace& operator=(const SioTrace&) = delete;

    // Makes an empty trace of numEntries slots and switches it on; -1002 when there is
    // no trace yet and numEntries is not 1 .. MaxEntries. A trace that exists is only
    // emptied (its size stays).
    int32_t InitTracing(int32_t numEntries);
    void AddTraceEntry(char entryType, uint8_t ch);
    void StartTracing();
    void StopTracing() { on_ = false; }
    int32_t ClearTracing();
    void AbortTracing();

    int32_t DumpTrace(const std::string& fileName, bool inHex, bool allHex);
    int32_t AppendTrace(const std::string& fileName, bool inHex, bool allHex);
    // Writes the trace and empties it. 0, or the negated error number: a failed open
    // discards the trace, a failed close still empties it.
    int32_t DumpTracePrim(const std::string& fileName, bool appendFile, bool inHex, bool allHex);

    // Entries are added only while this is true (the feeding paths test it).
    bool TraceOn() const { return on_; }
    bool HasBuffer() const;
    int32_t TraceMax() const;

private:
    std::recursive_mutex& lock_;  // the dispatcher's data lock
    std::atomic<bool> on_{false};
    std::unique_ptr<uint8_t[]> buffer_;  // max_ pairs {type, byte}
    int32_t index_ = 0;
    int32_t max_ = 0;
    bool wrapped_ = false;
};
