#pragma once
// The entries of one of the visual-style manager's lists: a control (by identity) and
// what was saved of it. Lookups happen for every message of every subclassed control,
// so the entries are kept sorted by control lazily (sorted only when an entry was added
// since the last search), searched by halving, and the last control found is cached.
// Portable.
#include <algorithm>
#include <functional>
#include <vector>

template <class Saved>
class ControlRegistry {
public:
    struct Entry {
        const void* Control;
        Saved Value;
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& At(int index) const { return entries_[static_cast<size_t>(index)]; }

    // Appends an entry unless the control has one; returns its index, or -1.
    int Add(const void* control, Saved value)
    {
        int index;
        if (Find(control, index))
            return -1;
        entries_.push_back(Entry{control, std::move(value)});
        dirty_ = true;
        return Count() - 1;
    }

    // True when the control has an entry, with its index; otherwise index is where it
    // would go in the sorted order.
    bool Find(const void* control, int& index)
    {
        if (lastControl_ && control == lastControl_) {
            index = lastIndex_;
            return true;
        }
        if (dirty_ && entries_.size() > 1) {
            std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
                return std::less<const void*>()(a.Control, b.Control);
            });
            dirty_ = false;
            ForgetLast();
        }
        int low = 0, high = Count() - 1;
        bool found = false;
        while (low <= high) {
            int middle = (low + high) / 2;
            const void* here = entries_[static_cast<size_t>(middle)].Control;
            if (std::less<const void*>()(here, control)) {
                low = middle + 1;
            } else {
                high = middle - 1;
                if (here == control) {
                    found = true;
                    low = middle;
                }
            }
        }
        index = low;
        if (found) {
            lastControl_ = control;
            lastIndex_ = low;
        }
        return found;
    }

    // Takes the control's entry out of the list; false when it has none. The cache is
    // forgotten when the entries at or above the removed place moved.
    bool Take(const void* control, Saved& value)
    {
        int index;
        bool found = Find(control, index);
        if (found) {
            value = std::move(entries_[static_cast<size_t>(index)].Value);
            entries_.erase(entries_.begin() + index);
        }
        if (index <= lastIndex_)
            ForgetLast();
        return found;
    }

    void Clear()
    {
        entries_.clear();
        dirty_ = false;
        ForgetLast();
    }

private:
    void ForgetLast()
    {
        lastControl_ = nullptr;
        lastIndex_ = -1;
    }

    std::vector<Entry> entries_;
    bool dirty_ = false;
    const void* lastControl_ = nullptr;
    int lastIndex_ = -1;
};
