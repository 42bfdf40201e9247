#include "serial/SioMessageTable.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<SioSystemMessageSource> systemSource{nullptr};
constexpr size_t MaxText = 255;

// The midpoint rounded to the nearest integer, halves going to the even neighbour.
int Midpoint(int low, int high)
{
    int sum = low + high;
    int mid = sum / 2;
    if (sum % 2 != 0 && mid % 2 != 0)
        ++mid;
    return mid;
}

} // namespace

std::string MessageNumberToString(int16_t code)
{
    const int32_t sought = std::abs(static_cast<int32_t>(code));
    int low = 0;
    int high = SioMessageCount - 1;
    while (low <= high) {
        int mid = Midpoint(low, high);
        const SioMessageEntry& entry = SioMessageNumberLookup[mid];
        int32_t found = std::abs(entry.Code);
        if (found == sought)
            return std::string(entry.Message, std::min(std::strlen(entry.Message), MaxText));
        if (sought < found)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return std::string();
}

std::string CleanSystemMessage(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        char ch = static_cast<unsigned char>(c) < 32 ? ' ' : c;
        if (ch == ' ' && !out.empty() && out.back() == ' ')
            continue;
        out.push_back(ch);
    }
    return out;
}

void SetSioSystemMessageSource(SioSystemMessageSource source) { systemSource = source; }

std::string SioLoadStr(int16_t code)
{
    std::string text = MessageNumberToString(code);
    if (!text.empty())
        return text;
    SioSystemMessageSource source = systemSource;
    if (!source)
        return std::string();
    text = CleanSystemMessage(source(static_cast<uint32_t>(std::abs(static_cast<int32_t>(code)))));
    if (text.size() > MaxText)
        text.resize(MaxText);
    return text;
}

std::string ErrorMsg(int16_t code) { return SioLoadStr(code); }

char* SioLoadZ(char* dest, int32_t code)
{
    std::string text = SioLoadStr(static_cast<int16_t>(code));
    std::memcpy(dest, text.c_str(), text.size() + 1);
    return dest;
}
