#include "serial/SioPaths.h"

#include <cctype>
#include <limits>

#include "ui/SysUtils.h"

namespace {

bool IsDelimiter(char c) { return c == '\\' || c == ':' || c == '\0'; }

// Index of the last delimiter, or npos.
size_t LastDelimiter(const std::string& s)
{
    for (size_t i = s.size(); i-- > 0;)
        if (IsDelimiter(s[i]))
            return i;
    return std::string::npos;
}

// Index of the dot that starts the extension of the file-name part, or npos.
size_t ExtensionDot(const std::string& name)
{
    size_t dot = name.find_last_of('.');
    size_t delim = LastDelimiter(name);
    if (dot == std::string::npos || (delim != std::string::npos && dot < delim))
        return std::string::npos;
    return dot;
}

} // namespace

std::string Long2StrZ(int32_t value) { return std::to_string(value); }

bool Str2LongZ(const std::string& text, int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::toupper(c) - 'A' + 10;
        else
            return false;
        n = n * base + digit;
        if (n > int64_t{std::numeric_limits<uint32_t>::max()})
            return false;
    }
    if (negative)
        n = -n;
    // Hexadecimal texts may spell the full 32-bit pattern (as $FFFFFFFF for -1).
    if (base == 16 && n > std::numeric_limits<int32_t>::max())
        n -= int64_t{1} << 32;
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(n);
    return true;
}

std::string StrStCopy(const std::string& s, int32_t pos, int32_t count)
{
    if (pos < 0 || count <= 0 || static_cast<size_t>(pos) >= s.size())
        return std::string();
    return s.substr(static_cast<size_t>(pos), static_cast<size_t>(count));
}

std::string JustPathnameZ(const std::string& pathName)
{
    size_t i = LastDelimiter(pathName);
    if (i == std::string::npos)
        return std::string();
    if (i == 0)
        return pathName.substr(0, 1);
    bool keep = pathName[i] != '\\' || pathName[i - 1] == ':';
    return pathName.substr(0, keep ? i + 1 : i);
}

std::string JustFilenameZ(const std::string& pathName)
{
    size_t i = LastDelimiter(pathName);
    std::string name = i == std::string::npos ? pathName : pathName.substr(i + 1);
    if (name.size() > 255)
        name.resize(255);
    return name;
}

std::string JustExtensionZ(const std::string& name)
{
    size_t dot = ExtensionDot(name);
    if (dot == std::string::npos)
        return std::string();
    return name.substr(dot + 1, 3);
}

std::string AddBackSlashZ(const std::string& dirName)
{
    if (dirName.empty() || IsDelimiter(dirName.back()))
        return dirName;
    return dirName + '\\';
}

bool ExistFileZ(const std::string& fileName) { return FileExists(fileName); }

std::string ForceExtensionZ(const std::string& name, const std::string& ext)
{
    size_t dot = ExtensionDot(name);
    return (dot == std::string::npos ? name : name.substr(0, dot)) + '.' + ext;
}

std::string DefaultExtensionZ(const std::string& name, const std::string& ext)
{
    return ExtensionDot(name) == std::string::npos ? name + '.' + ext : name;
}

std::string JustName(const std::string& pathName)
{
    std::string name = JustFilenameZ(pathName);
    return name.substr(0, name.find('.'));
}

std::string AddBackSlash(const std::string& dirName)
{
    if (dirName.empty())
        return dirName;
    std::string text = dirName;
    bool quoted = text.back() == '"';
    if (quoted)
        text.pop_back();
    text = AddBackSlashZ(text);
    if (quoted)
        text += '"';
    return text;
}
