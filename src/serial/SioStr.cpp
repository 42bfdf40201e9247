#include "serial/SioStr.h"

#include <algorithm>
#include <cstring>

namespace {

// The text of s up to its first zero byte, as the zero-terminated buffer holds it.
std::string UpToZero(const std::string& s) { return s.substr(0, std::strlen(s.c_str())); }

} // namespace

TSioStr::TSioStr(int32_t size) { SetMaxLen(size); }

void TSioStr::SetMaxLen(int32_t value)
{
    value = std::max(value, 0);
    if (value != maxLen_ || (!buffer_ && value > 0)) {
        buffer_.reset();
        maxLen_ = value;
        if (maxLen_ > 0)
            buffer_.reset(new char[static_cast<size_t>(maxLen_) + 5]());
        cursor_ = 0;
    }
    Clear();
}

void TSioStr::Resize(int32_t newLen)
{
    std::string keep = Text().substr(0, static_cast<size_t>(std::max(0, std::min(newLen - 1, len_))));
    SetMaxLen(newLen);
    if (buffer_) {
        std::memcpy(buffer_.get(), keep.data(), keep.size());
        buffer_[keep.size()] = '\0';
    }
    Recount();
}

void TSioStr::Clear()
{
    if (buffer_)
        buffer_[0] = '\0';
    len_ = 0;
    cursor_ = 0;
}

void TSioStr::Recount() { len_ = buffer_ ? static_cast<int32_t>(std::strlen(buffer_.get())) : 0; }

void TSioStr::Grow(int32_t needed)
{
    if (needed > maxLen_) {
        int32_t cursor = cursor_;
        Resize(needed);
        cursor_ = cursor;
    }
}

void TSioStr::Append(const std::string& s)
{
    std::string text = UpToZero(s);
    if (text.empty())
        return;
    Grow(len_ + static_cast<int32_t>(text.size()));
    std::memcpy(buffer_.get() + len_, text.c_str(), text.size() + 1);
    Recount();
}

void TSioStr::AppendBuff(const char* p)
{
    if (p)
        Append(std::string(p));
}

void TSioStr::AppendTSioStr(const TSioStr& a) { Append(a.Text()); }

void TSioStr::Prepend(const std::string& s) { Insert(s, 1); }

void TSioStr::Insert(const std::string& s, int32_t pos)
{
    std::string addition = UpToZero(s);
    if (pos < 1 || pos > len_ || addition.empty())
        return;
    std::string text = Text();
    text.insert(static_cast<size_t>(pos - 1), addition);
    Grow(static_cast<int32_t>(text.size()));
    std::memcpy(buffer_.get(), text.c_str(), text.size() + 1);
    Recount();
}

void TSioStr::Delete(int32_t pos, int32_t count)
{
    if (pos < 1 || pos > len_ || count <= 0)
        return;
    int32_t removed = std::min(count, len_ - pos + 1);
    std::memmove(buffer_.get() + pos - 1, buffer_.get() + pos - 1 + removed,
                 static_cast<size_t>(len_ - (pos - 1) - removed + 1));
    Recount();
}

std::string TSioStr::Copy(int32_t pos, int32_t count)
{
    if (pos < 1 || pos > len_ || count <= 0)
        return std::string();
    cursor_ = pos - 1;
    return Text().substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count));
}

int32_t TSioStr::Pos(const std::string& s) { return len_ > 0 ? PosIdx(s, 1) : (cursor_ = NoCursor, 0); }

int32_t TSioStr::PosIdx(const std::string& s, int32_t start)
{
    if (start < 1 || start > len_) {
        cursor_ = NoCursor;
        return 0;
    }
    size_t at = Text().find(s, static_cast<size_t>(start - 1));
    if (at == std::string::npos) {
        cursor_ = NoCursor;
        return 0;
    }
    cursor_ = static_cast<int32_t>(at);
    return cursor_ + 1;
}

void TSioStr::Assign(const TSioStr& a)
{
    if (&a == this)
        return;
    SetMaxLen(a.maxLen_);
    if (buffer_ && a.buffer_)
        std::memcpy(buffer_.get(), a.buffer_.get(), static_cast<size_t>(a.len_) + 1);
    Recount();
    cursor_ = a.cursor_;
}

char TSioStr::GetChar(int32_t index) const
{
    if (!buffer_ || index < 0 || index > maxLen_)
        return '\0';
    return buffer_[index];
}

void TSioStr::SetChar(int32_t index, char c)
{
    if (!buffer_ || index < 0 || index >= maxLen_ || buffer_[index] == c)
        return;
    buffer_[index] = c;
    Recount();
}

void TSioStr::SetLen(int32_t value)
{
    if (!buffer_ || value < 0 || value > len_)
        return;
    buffer_[value] = '\0';
    len_ = value;
}
