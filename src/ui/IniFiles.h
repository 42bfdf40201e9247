#pragma once
// INI files of the class library, read and written by our own code in Windows-1251 with
// the private-profile conventions: section and key names ignore letter case, values are
// trimmed (and freed of one pair of enclosing quotes), the first of several equal
// sections or keys counts, keys that are not written stay as they were, and a new key
// goes to the end of its section (a new section to the end of the file). Portable.
//
// The file is read once, when the object is made; writes change the text in memory and
// UpdateFile puts it on the disk through a safe save, so a failed write never leaves a
// half-written file in place of the old one.
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TIniFile {
public:
    // Reads the file when it exists; a missing file is an empty one.
    explicit TIniFile(const std::string& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }
    // True when the file existed and was read.
    bool FileFound() const { return found_; }

    // The value, or def when the section or key is missing.
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    // def also when the value is not a decimal 32-bit number.
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    // Any number but 0 is true.
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
    // "." is the decimal separator; def when the value is not a number.
    double ReadFloat(const std::string& section, const std::string& ident, double def) const;

    // A value is written up to its first line break, in quotes when it has blanks at
    // either end or enclosing quotes of its own, so that it reads back unchanged.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    // 1 or 0.
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // Up to 15 significant digits, "." as decimal separator (1.2f is 1.20000004768372).
    void WriteFloat(const std::string& section, const std::string& ident, double value);

    // Writes the text to the file when it was changed. Raises EFCreateError or
    // EWriteError when it cannot, and EWriteError without touching the file when the
    // file existed but could not be read (its keys would be lost).
    void UpdateFile();
    // The text as UpdateFile writes it (lines end with CR LF).
    std::string Text() const;

private:
    struct Line {
        std::string raw;    // the line as read or written, without its line end
        std::string key;    // trimmed key, "" for headers, comments and other lines
        std::string value;  // trimmed value as read
    };
    // Names compared and hashed without regard to letter case, without copies.
    struct FoldHash {
        size_t operator()(const std::string& name) const;
    };
    struct FoldEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using NameIndex = std::unordered_map<std::string, size_t, FoldHash, FoldEqual>;
    struct Section {
        std::vector<Line> lines;  // header line first (none for the text before any section)
        NameIndex keys;           // key -> first line holding it
    };

    void Parse(const std::string& text);
    const Line* Find(const std::string& section, const std::string& ident) const;
    Section& SectionForWrite(const std::string& section);

    std::string fileName_;
    bool found_ = false;
    bool unreadable_ = false;
    bool changed_ = false;
    std::vector<std::unique_ptr<Section>> sections_;         // in file order
    NameIndex sectionIndex_;  // name -> first section of that name
};

// A number in the general format of INI files and of the program's texts: up to 15
// significant digits, "." as decimal separator, an exponent ("1E20", "1E-5") only when
// the number needs it.
std::string FloatToStr(double value);
// The text as a number ("." separator, surrounding blanks allowed), or def.
double StrToFloatDef(const std::string& text, double def);
