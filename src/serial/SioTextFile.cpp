#include "serial/SioTextFile.h"

#include "ui/PlatformFile.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

namespace {
constexpr size_t BufferSize = 512;
constexpr int kAccessDenied = 5;
constexpr int kWriteFault = 29;
} // namespace

SioTextFile::SioTextFile() = default;

SioTextFile::~SioTextFile() { Close(); }

int SioTextFile::Open(const std::string& name, bool append)
{
    error_ = 0;
    buffer_.clear();
    bool appending = append && FileExists(name);
    std::string reason;
    int number = 0;
    file_.reset(PlatformFile::Open(name, appending ? fmOpenWrite | fmShareDenyWrite : fmCreate, reason, &number));
    if (!file_)
        return number ? number : kAccessDenied;
    if (appending && file_->Seek(0, 2) < 0) {
        file_.reset();
        return kWriteFault;
    }
    return 0;
}

void SioTextFile::Write(const std::string& text)
{
    buffer_ += text;
    if (buffer_.size() >= BufferSize)
        Flush();
}

void SioTextFile::WriteLn(const std::string& text) { Write(text + "\r\n"); }

void SioTextFile::Flush()
{
    if (file_ && !buffer_.empty() && error_ == 0) {
        auto size = static_cast<int64_t>(buffer_.size());
        if (file_->Write(buffer_.data(), size) != size)
            error_ = kWriteFault;
    }
    buffer_.clear();
}

int SioTextFile::Close()
{
    if (!file_)
        return 0;
    Flush();
    file_.reset();
    return error_;
}
