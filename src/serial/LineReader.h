#pragma once
// TLineReader: reads a stream page by page (4096 bytes) and hands out its lines. Lines
// end at a carriage return, optionally followed by a line feed; a Ctrl-Z at the end of
// a page ends the text. The reader owns its stream.
#include <cstdint>
#include <memory>
#include <string>

#include "ui/Streams.h"

class TLineReader {
public:
    static constexpr int PageSize = 4096;

    explicit TLineReader(std::unique_ptr<TStream> stream);
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;

    // The next line without its line end; at the end of the stream the rest.
    std::string NextLine();
    void ReadPage();

    bool EndOfStream() const { return endOfStream_; }
    int64_t BytesRead() const { return bytesRead_; }
    int64_t StreamSize() const { return streamSize_; }

private:
    char buffer_[PageSize + 1] = {};
    bool endOfStream_ = false;
    int current_ = 0;  // next unread character of buffer_
    int end_ = 0;      // end of the page's text
    std::unique_ptr<TStream> stream_;
    int64_t bytesRead_ = 0;
    int64_t streamSize_ = 0;
};
