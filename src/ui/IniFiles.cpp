#include "ui/IniFiles.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "ui/Exceptions.h"
#include "ui/SafeSave.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

namespace {

bool IsBlank(const std::string& line) { return Trim(line).empty(); }

// The section name of a header line "[name]", or false when the line is none.
bool HeaderName(const std::string& line, std::string& name)
{
    size_t open = line.find_first_not_of(" \t");
    if (open == std::string::npos || line[open] != '[')
        return false;
    size_t close = line.rfind(']');
    if (close == std::string::npos || close < open)
        return false;
    name = Trim(line.substr(open + 1, close - open - 1));
    return true;
}

std::string StripQuotes(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Every byte in upper case, as AnsiUpperCase makes it.
const std::array<unsigned char, 256>& FoldTable()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = static_cast<unsigned char>(AnsiUpperCase(std::string(1, static_cast<char>(c)))[0]);
        return t;
    }();
    return table;
}

} // namespace

size_t TIniFile::FoldHash::operator()(const std::string& name) const
{
    const auto& fold = FoldTable();
    uint64_t h = 14695981039346656037ull;
    for (char c : name)
        h = (h ^ fold[static_cast<unsigned char>(c)]) * 1099511628211ull;
    return static_cast<size_t>(h);
}

bool TIniFile::FoldEqual::operator()(const std::string& a, const std::string& b) const
{
    if (a.size() != b.size())
        return false;
    const auto& fold = FoldTable();
    for (size_t i = 0; i < a.size(); ++i)
        if (fold[static_cast<unsigned char>(a[i])] != fold[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

TIniFile::TIniFile(const std::string& fileName) : fileName_(fileName)
{
    std::string text;
    if (FileExists(fileName)) {
        try {
            TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
            text.resize(static_cast<size_t>(stream.Size()));
            stream.ReadBuffer(&text[0], static_cast<int64_t>(text.size()));
            found_ = true;
        } catch (const EStreamError&) {
            unreadable_ = true;
            text.clear();
        }
    }
    Parse(text);
}

TIniFile::~TIniFile() = default;

void TIniFile::Parse(const std::string& text)
{
    sections_.push_back(std::make_unique<Section>());  // the text before any section
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        Line line{text.substr(pos, end - pos), std::string(), std::string()};
        pos = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++pos;  // CR LF is one line end, as is a lone CR or LF

        std::string name;
        if (HeaderName(line.raw, name)) {
            sections_.push_back(std::make_unique<Section>());
            sectionIndex_.emplace(name, sections_.size() - 1);
            sections_.back()->lines.push_back(std::move(line));
            continue;
        }
        Section& section = *sections_.back();
        size_t eq = line.raw.find('=');
        std::string key = eq == std::string::npos ? std::string() : Trim(line.raw.substr(0, eq));
        if (!key.empty() && key[0] != ';') {
            line.key = key;
            line.value = Trim(line.raw.substr(eq + 1));
            section.keys.emplace(key, section.lines.size());
        }
        section.lines.push_back(std::move(line));
    }
}

const TIniFile::Line* TIniFile::Find(const std::string& section, const std::string& ident) const
{
    auto s = sectionIndex_.find(section);
    if (s == sectionIndex_.end())
        return nullptr;
    const Section& sec = *sections_[s->second];
    auto k = sec.keys.find(ident);
    return k == sec.keys.end() ? nullptr : &sec.lines[k->second];
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const
{
    const Line* line = Find(section, ident);
    return line ? StripQuotes(line->value) : def;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const
{
    return StrToIntDef(ReadString(section, ident, std::string()), def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) const
{
    return StrToFloatDef(ReadString(section, ident, std::string()), def);
}

TIniFile::Section& TIniFile::SectionForWrite(const std::string& section)
{
    auto s = sectionIndex_.find(section);
    if (s != sectionIndex_.end())
        return *sections_[s->second];
    // A new section goes to the end, after a blank line unless the file is empty.
    Section& last = *sections_.back();
    bool empty = sections_.size() == 1 && last.lines.empty();
    if (!empty && !IsBlank(last.lines.back().raw))
        last.lines.push_back(Line{});
    sections_.push_back(std::make_unique<Section>());
    sectionIndex_.emplace(section, sections_.size() - 1);
    sections_.back()->lines.push_back(Line{"[" + section + "]", std::string(), std::string()});
    return *sections_.back();
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    std::string key = Trim(ident);
    if (key.empty())
        return;
    std::string v = value.substr(0, value.find_first_of("\r\n"));
    // Blanks at either end, or enclosing quotes of its own, would be lost on reading:
    // such a value is written in quotes.
    if (!v.empty() && (Trim(v).size() != v.size() || StripQuotes(v).size() != v.size()))
        v = '"' + v + '"';
    Section& sec = SectionForWrite(section);
    changed_ = true;
    auto k = sec.keys.find(key);
    if (k != sec.keys.end()) {
        Line& line = sec.lines[k->second];
        line.value = v;
        line.raw = line.key + "=" + v;
        return;
    }
    // After the section's last line that is not blank: only blank lines follow it, so
    // the key positions already recorded stay valid.
    size_t at = sec.lines.size();
    while (at > 1 && IsBlank(sec.lines[at - 1].raw))
        --at;
    sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{key + "=" + v, key, v});
    sec.keys.emplace(key, at);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::WriteFloat(const std::string& section, const std::string& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

std::string TIniFile::Text() const
{
    std::string text;
    for (const auto& section : sections_)
        for (const Line& line : section->lines) {
            text += line.raw;
            text += "\r\n";
        }
    return text;
}

void TIniFile::UpdateFile()
{
    if (!changed_)
        return;
    if (unreadable_)
        throw EWriteError("Cannot write file \"" + fileName_ + "\": it could not be read");
    std::string text = Text();
    SaveFileSafely(fileName_, text.data(), text.size());
    changed_ = false;
}

std::string FloatToStr(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    size_t e = text.find('E');
    if (e == std::string::npos)
        return text;
    // "1E+20" -> "1E20", "1E-05" -> "1E-5".
    std::string mantissa = text.substr(0, e + 1);
    size_t digits = e + 1;
    if (text[digits] == '-')
        mantissa += '-';
    if (text[digits] == '-' || text[digits] == '+')
        ++digits;
    while (digits + 1 < text.size() && text[digits] == '0')
        ++digits;
    return mantissa + text.substr(digits);
}

double StrToFloatDef(const std::string& text, double def)
{
    std::string t = Trim(text);
    if (!t.empty() && t[0] == '+')
        t.erase(0, 1);
    if (t.empty())
        return def;
    double value = 0;
    auto result = std::from_chars(t.data(), t.data() + t.size(), value);
    if (result.ec != std::errc() || result.ptr != t.data() + t.size())
        return def;
    return value;
}
