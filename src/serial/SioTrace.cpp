#include "serial/SioTrace.h"

#include <new>

#include "serial/SioByteText.h"
#include "serial/SioTextFile.h"

namespace {
constexpr int WrapColumn = 78;
}

int32_t SioTrace::InitTracing(int32_t numEntries)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (buffer_) {
        ClearTracing();
    } else {
        if (numEntries <= 0 || numEntries > MaxEntries)
            return -1002;
        buffer_.reset(new uint8_t[static_cast<size_t>(numEntries) * 2]());
        max_ = numEntries;
        index_ = 0;
        wrapped_ = false;
    }
    on_ = true;
    return 0;
}

void SioTrace::AddTraceEntry(char entryType, uint8_t ch)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!buffer_)
        return;
    buffer_[static_cast<size_t>(index_) * 2] = static_cast<uint8_t>(entryType);
    buffer_[static_cast<size_t>(index_) * 2 + 1] = ch;
    if (++index_ == max_) {
        index_ = 0;
        wrapped_ = true;
    }
}

void SioTrace::StartTracing()
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (buffer_)
        on_ = true;
}

int32_t SioTrace::ClearTracing()
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    index_ = 0;
    wrapped_ = false;
    return 0;
}

void SioTrace::AbortTracing()
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    on_ = false;
    buffer_.reset();
}

bool SioTrace::HasBuffer() const
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return buffer_ != nullptr;
}

int32_t SioTrace::TraceMax() const
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return max_;
}

int32_t SioTrace::DumpTrace(const std::string& fileName, bool inHex, bool allHex)
{
    return DumpTracePrim(fileName, false, inHex, allHex);
}

int32_t SioTrace::AppendTrace(const std::string& fileName, bool inHex, bool allHex)
{
    return DumpTracePrim(fileName, true, inHex, allHex);
}

int32_t SioTrace::DumpTracePrim(const std::string& fileName, bool appendFile, bool inHex, bool allHex)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!buffer_ || (!wrapped_ && index_ == 0))
        return 0;
    int32_t start = wrapped_ ? index_ : 0;
    int32_t count = wrapped_ ? max_ : index_;

    SioTextFile file;
    if (int error = file.Open(fileName, appendFile)) {
        AbortTracing();
        return -error;
    }
    uint8_t lastType = 0;
    bool first = true;
    int column = 0;
    for (int32_t n = 0; n < count; ++n) {
        size_t slot = static_cast<size_t>((start + n) % max_) * 2;
        uint8_t type = buffer_[slot];
        if (type != lastType) {
            if (!first)
                file.WriteLn();
            column = 0;
            if (type == 'T')
                file.WriteLn("Transmit: ");
            else if (type == 'R')
                file.WriteLn("Receive: ");
            else
                file.WriteLn(std::string("Special-") + static_cast<char>(type) + ": ");
            lastType = type;
        }
        std::string piece = SioByteText(buffer_[slot + 1], inHex, allHex);
        int width = static_cast<int>(piece.size());
        column += width;
        if (column > WrapColumn) {
            file.WriteLn();
            column = width;
        }
        file.Write(piece);
        first = false;
    }
    file.WriteLn();
    int32_t result = -file.Close();
    InitTracing(max_);
    return result;
}
