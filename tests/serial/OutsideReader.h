#pragma once
// The read-once tests' side of a port: the counted pattern they send, and a reader that
// takes what the port has outside its handlers the way plain callers do, in turn one
// character when CharReady says there is one and a block of what InBuffUsed says.
#include <cstdint>
#include <string>

#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"

// Byte i of the pattern: never 0, so a byte that never came stands out.
inline char CountedByte(uint32_t i) { return static_cast<char>(1 + i % 251); }

// How many bytes of text differ from the pattern's start: 0 when each came once, in order.
inline uint32_t OffPattern(const std::string& text)
{
    uint32_t wrong = 0;
    for (uint32_t i = 0; i < text.size(); ++i)
        wrong += text[i] != CountedByte(i);
    return wrong;
}

class OutsideReader {
public:
    explicit OutsideReader(TSioCustomComPort& port) : port_(port) {}

    // One read; a read that raises for want of bytes counts in Raised (only another
    // reader taking them between the look and the take may cause that).
    void ReadOnce()
    {
        try {
            if (byBlock_) {
                std::string block(port_.InBuffUsed(), '\0');
                if (!block.empty()) {
                    port_.GetBlock(&block[0], static_cast<uint16_t>(block.size()));
                    Got += block;
                }
            } else if (port_.CharReady()) {
                Got += port_.GetChar();
            }
        } catch (const EBufferIsEmpty&) {
            ++Raised;
        }
        byBlock_ = !byBlock_;
    }

    std::string Got;
    uint32_t Raised = 0;

private:
    TSioCustomComPort& port_;
    bool byBlock_ = false;
};
