#include "ui/SysUtils.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

std::string IntToStr(long long value) { return std::to_string(value); }

int StrToIntDef(const std::string& text, int def)
{
    std::string t = Trim(text);
    if (t.empty())
        return def;
    const char* begin = t.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return def;
    return static_cast<int>(v);
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string AnsiUpperCase(std::string text)
{
    for (char& c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || u >= 0xE0)
            u = static_cast<unsigned char>(u - 0x20);
        else if (u == 0xB8 || u == 0xBA || u == 0xBF)  // ё є ї
            u = static_cast<unsigned char>(u - 0x10);
        else if (u == 0xB3 || u == 0xBE)  // і ѕ
            u = static_cast<unsigned char>(u - 1);
        else if (u == 0x83)  // ѓ
            u = 0x81;
        else if (u == 0x90)  // ђ
            u = 0x80;
        else if (u >= 0x9A && u <= 0x9F && u != 0x9B)  // љ њ ќ ћ џ
            u = static_cast<unsigned char>(u - 0x10);
        else if (u == 0xA2)  // ў
            u = 0xA1;
        else if (u == 0xBC)  // ј
            u = 0xA3;
        else if (u == 0xB4)  // ґ
            u = 0xA5;
        c = static_cast<char>(u);
    }
    return text;
}

std::string Trim(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

static size_t LastDelimiter(const std::string& fileName)
{
    return fileName.find_last_of("\\/:");
}

std::string ExtractFilePath(const std::string& fileName)
{
    size_t p = LastDelimiter(fileName);
    return p == std::string::npos ? std::string() : fileName.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& fileName)
{
    size_t p = LastDelimiter(fileName);
    return p == std::string::npos ? fileName : fileName.substr(p + 1);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension)
{
    size_t dot = fileName.find_last_of('.');
    size_t delim = LastDelimiter(fileName);
    if (dot == std::string::npos || (delim != std::string::npos && dot < delim))
        return fileName + extension;
    return fileName.substr(0, dot) + extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& path)
{
    if (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        return path;
    return path + "\\";
}
