#include "serial/LineReader.h"

#include <algorithm>

TLineReader::TLineReader(std::unique_ptr<TStream> stream) : stream_(std::move(stream))
{
    streamSize_ = stream_->Size();
    ReadPage();
}

void TLineReader::ReadPage()
{
    // A stream never gives more than asked; a failing one may report a negative count.
    int n = static_cast<int>(std::clamp<int64_t>(stream_->Read(buffer_, PageSize), 0, PageSize));
    bytesRead_ += n;
    endOfStream_ = n == 0;
    current_ = 0;
    end_ = n;
    if (endOfStream_)
        return;
    // The second half of a CR LF pair split across pages.
    if (buffer_[0] == '\n')
        current_ = 1;
    if (buffer_[n - 1] == 26)
        end_ = n - 1;
}

std::string TLineReader::NextLine()
{
    std::string line;
    for (;;) {
        int i = current_;
        while (i < end_ && buffer_[i] != '\r')
            ++i;
        line.append(buffer_ + current_, static_cast<size_t>(i - current_));
        if (i < end_) {
            current_ = i + 1;
            if (current_ < end_ && buffer_[current_] == '\n')
                ++current_;
            return line;
        }
        current_ = end_;
        if (endOfStream_)
            return line;
        ReadPage();
        if (endOfStream_)
            return line;
    }
}
