#include "serial/SioTextFile.h"

namespace {
constexpr size_t BufferSize = 512;
}

SioTextFile::~SioTextFile()
{
    if (handle_ != -1)
        Close();
}

int SioTextFile::Open(const std::string& name, bool append)
{
    int error = 0;
    handle_ = SioFileOpen(name, append, error);
    error_ = 0;
    buffer_.clear();
    return handle_ == -1 ? (error ? error : 5) : 0;
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
    if (!buffer_.empty() && error_ == 0)
        error_ = SioFileWrite(handle_, buffer_.data(), buffer_.size());
    buffer_.clear();
}

int SioTextFile::Close()
{
    if (handle_ == -1)
        return 0;
    Flush();
    int closeError = SioFileClose(handle_);
    handle_ = -1;
    return error_ ? error_ : closeError;
}
