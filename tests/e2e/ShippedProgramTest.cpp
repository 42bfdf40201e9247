// What the shipped program file carries: its version block, and no debugging sections
// (the Release build is stripped).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "ProgramUnderTest.h"

namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* key)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return L"<no version block>";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return L"<unreadable>";
    void* data = nullptr;
    UINT length = 0;
    std::wstring query = std::wstring(L"\\StringFileInfo\\041904E3\\") + key;
    if (!VerQueryValueW(block.data(), query.c_str(), &data, &length) || !data)
        return L"<missing>";
    return static_cast<const wchar_t*>(data);
}

// What a PE file says about its symbols and sections.
struct PeLayout {
    unsigned symbolCount = 0;
    std::vector<std::string> sectionNames;  // long names appear as "/offset"
};

PeLayout ReadPeLayout(const std::wstring& file)
{
    std::ifstream in(file.c_str(), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PeLayout layout;
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return layout;
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    size_t nt = static_cast<size_t>(dos.e_lfanew);
    if (nt + 4 + sizeof(IMAGE_FILE_HEADER) > bytes.size())
        return layout;
    IMAGE_FILE_HEADER header;
    std::memcpy(&header, bytes.data() + nt + 4, sizeof header);
    layout.symbolCount = header.NumberOfSymbols;
    size_t first = nt + 4 + sizeof header + header.SizeOfOptionalHeader;
    for (unsigned i = 0; i < header.NumberOfSections; ++i) {
        size_t at = first + i * sizeof(IMAGE_SECTION_HEADER);
        if (at + sizeof(IMAGE_SECTION_HEADER) > bytes.size())
            break;
        IMAGE_SECTION_HEADER section;
        std::memcpy(&section, bytes.data() + at, sizeof section);
        const char* name = reinterpret_cast<const char*>(section.Name);
        layout.sectionNames.emplace_back(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME));
    }
    return layout;
}

void ExpectVersionBlock(const std::wstring& exe)
{
    std::string text = PELVOR_VERSION_TEXT;
    EXPECT_EQ(VersionString(exe, L"FileVersion"), std::wstring(text.begin(), text.end()));
    EXPECT_EQ(VersionString(exe, L"OriginalFilename"), L"pelvor.exe");
    EXPECT_EQ(VersionString(exe, L"LegalCopyright").substr(0, 2), L"\u00A9 ");
}

TEST(ShippedProgram, TheProgramCarriesItsVersionBlock)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty());
    ExpectVersionBlock(exe);
}

TEST(ShippedProgram, TheThirtyTwoBitProgramIsStrippedAndCarriesItsVersionBlock)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE_32");
    if (exe.empty())
        GTEST_SKIP() << "PELVOR_EXE_32 is not set";
    ExpectVersionBlock(exe);
    PeLayout layout = ReadPeLayout(exe);
    ASSERT_FALSE(layout.sectionNames.empty());
    EXPECT_EQ(layout.symbolCount, 0u);
    // Debugging sections have long names, kept in the symbols' string table.
    for (const std::string& name : layout.sectionNames)
        EXPECT_TRUE(name[0] != '/' && name.rfind(".debug", 0) != 0) << name;
}

} // namespace
