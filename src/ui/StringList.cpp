#include "ui/StringList.h"

#include "ui/Exceptions.h"
#include "ui/SysUtils.h"

void TStrings::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw Exception("List index out of bounds (" + IntToStr(index) + ")");
}

int TStrings::Add(const std::string& s)
{
    Insert(Count(), s);
    return Count() - 1;
}

void TStrings::Insert(int index, const std::string& s)
{
    CheckIndex(index, Count());
    items_.insert(items_.begin() + index, s);
    if (onChange_)
        onChange_(Change::Insert, index);
}

void TStrings::Delete(int index)
{
    CheckIndex(index, Count() - 1);
    items_.erase(items_.begin() + index);
    if (onChange_)
        onChange_(Change::Delete, index);
}

void TStrings::Clear()
{
    items_.clear();
    if (onChange_)
        onChange_(Change::Clear, -1);
}

const std::string& TStrings::Strings(int index) const
{
    CheckIndex(index, Count() - 1);
    return items_[static_cast<size_t>(index)];
}

int TStrings::IndexOf(const std::string& s) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == s)
            return static_cast<int>(i);
    return -1;
}
