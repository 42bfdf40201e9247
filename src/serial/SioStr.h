#pragma once
// TSioStr: a growable zero-terminated text with a cursor. Positions count from 1;
// GetChar and SetChar take a zero-based index. Not shared between threads.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

class TSioStr {
public:
    explicit TSioStr(int32_t size);
    TSioStr(const TSioStr&) = delete;
    TSioStr& operator=(const TSioStr&) = delete;

    // New capacity; the text becomes empty in every case.
    void SetMaxLen(int32_t value);
    // New capacity keeping the first min(newLen - 1, Len) characters.
    void Resize(int32_t newLen);
    int32_t GetMaxLen() const { return maxLen_; }
    int32_t GetLen() const { return len_; }
    int32_t GetBuffLen() const { return maxLen_ + 1; }
    std::string Text() const { return buffer_ ? std::string(buffer_.get(), static_cast<size_t>(len_)) : std::string(); }

    void Clear();
    void Append(const std::string& s);
    void AppendBuff(const char* p);
    void AppendTSioStr(const TSioStr& a);
    void Prepend(const std::string& s);
    void Insert(const std::string& s, int32_t pos);
    void Delete(int32_t pos, int32_t count);
    // Leaves the cursor at pos.
    std::string Copy(int32_t pos, int32_t count);
    // Position of the first occurrence of s (0 when none); the cursor goes to the match
    // (to no position when none).
    int32_t Pos(const std::string& s);
    int32_t PosIdx(const std::string& s, int32_t start);
    void Assign(const TSioStr& a);

    // Cursor moves (no bound checks; reading outside the text gives 0). Without a
    // cursor (after a failed search) the relative moves do nothing.
    void GotoPos(int32_t pos) { SetCursor(int64_t{pos} - 1); }
    void First() { SetCursor(0); }
    void Last() { SetCursor(int64_t{len_} - 1); }
    void Next() { MoveBy(1); }
    void Prev() { MoveBy(-1); }
    void MoveBy(int32_t n)
    {
        if (HasCursor())
            SetCursor(int64_t{cursor_} + n);
    }
    bool HasCursor() const { return cursor_ != NoCursor; }
    // The cursor as a position (1-based), 0 when it has none.
    int32_t CursorPos() const { return HasCursor() ? static_cast<int32_t>(std::min<int64_t>(int64_t{cursor_} + 1, INT32_MAX)) : 0; }
    char GetCurChar() const { return GetChar(cursor_); }

    char GetChar(int32_t index) const;
    // Writes only inside the capacity and only when the character differs.
    void SetChar(int32_t index, char c);
    // Cuts the text to value characters (larger values change nothing).
    void SetLen(int32_t value);

private:
    static constexpr int32_t NoCursor = INT32_MIN;
    // Keeps the cursor inside the 32-bit range, never on the "no cursor" value.
    void SetCursor(int64_t index)
    {
        cursor_ = static_cast<int32_t>(std::max<int64_t>(INT32_MIN + 1, std::min<int64_t>(index, INT32_MAX)));
    }
    void Grow(int32_t needed);
    void Recount();

    int32_t maxLen_ = 0;
    int32_t len_ = 0;
    std::unique_ptr<char[]> buffer_;  // maxLen_ + 5 bytes, zero-terminated text
    int32_t cursor_ = 0;              // index into buffer_, or NoCursor
};
