#pragma once
// A list of strings (Windows-1251) with an optional change callback, used for the items
// of list-like controls: the control mirrors every change into its window. Portable.
#include <functional>
#include <string>
#include <vector>

class TStrings {
public:
    // What changed: an item was added or inserted at index, deleted at index, or the
    // whole list was cleared (index -1).
    enum class Change { Insert, Delete, Clear };
    using ChangeCallback = std::function<void(Change change, int index)>;

    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises an Exception for an index outside 0..Count-1.
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    // First index of s (exact, case-sensitive), or -1.
    int IndexOf(const std::string& s) const;

    // For the control that owns the list: told of every change.
    void SetOnChange(ChangeCallback callback) { onChange_ = std::move(callback); }

private:
    void CheckIndex(int index, int limit) const;

    std::vector<std::string> items_;
    ChangeCallback onChange_;
};
