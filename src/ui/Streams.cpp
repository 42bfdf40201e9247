#include "ui/Streams.h"

#include <algorithm>
#include <cstring>

#include "ui/Exceptions.h"
#include "ui/PlatformFile.h"

int64_t TStream::Size()
{
    int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : fileName_(fileName)
{
    std::string error;
    file_.reset(PlatformFile::Open(fileName, mode, error));
    if (!file_) {
        if ((mode & 0xFF00) == fmCreate)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + error);
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + error);
    }
}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void* buffer, int64_t count) { return file_->Read(buffer, count); }
int64_t TFileStream::Write(const void* buffer, int64_t count) { return file_->Write(buffer, count); }
void TFileStream::Flush()
{
    std::string error;
    if (!file_->Flush(error))
        throw EWriteError("Cannot write file \"" + fileName_ + "\". " + error);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    return file_->Seek(offset, static_cast<int>(origin));
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t avail = std::max<int64_t>(0, static_cast<int64_t>(data_.size()) - pos_);
    int64_t n = std::max<int64_t>(0, std::min(count, avail));
    if (n > 0)
        std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    size_t end = static_cast<size_t>(pos_ + count);
    if (end > data_.size())
        data_.resize(end);
    std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                 : origin == TSeekOrigin::soCurrent   ? pos_
                                                      : static_cast<int64_t>(data_.size());
    pos_ = std::max<int64_t>(0, base + offset);
    return pos_;
}
