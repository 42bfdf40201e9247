// The shipped 32-bit program file carries its version block and no symbols or
// debugging sections (the Release build is stripped).
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
    DWORD handle = 0, size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    std::vector<BYTE> block(size ? size : 1);
    void* data = nullptr;
    UINT length = 0;
    std::wstring query = std::wstring(L"\\StringFileInfo\\041904E3\\") + key;
    if (!size || !GetFileVersionInfoW(file.c_str(), 0, size, block.data()) ||
        !VerQueryValueW(block.data(), query.c_str(), &data, &length) || !data)
        return L"<missing>";
    return static_cast<const wchar_t*>(data);
}

TEST(ShippedProgram, IsStrippedAndCarriesItsVersionBlock)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE_32");
    if (exe.empty())
        GTEST_SKIP() << "PELVOR_EXE_32 is not set";
    std::string version = PELVOR_VERSION_TEXT;
    EXPECT_EQ(VersionString(exe, L"FileVersion"), std::wstring(version.begin(), version.end()));
    EXPECT_EQ(VersionString(exe, L"LegalCopyright").substr(0, 2), L"\u00A9 ");

    std::ifstream in(exe.c_str(), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IMAGE_DOS_HEADER dos{};
    ASSERT_GT(bytes.size(), sizeof dos);
    std::memcpy(&dos, bytes.data(), sizeof dos);
    size_t at = static_cast<size_t>(dos.e_lfanew) + 4;
    IMAGE_FILE_HEADER header{};
    ASSERT_LT(at + sizeof header, bytes.size());
    std::memcpy(&header, bytes.data() + at, sizeof header);
    EXPECT_EQ(header.NumberOfSymbols, 0u);
    // Debugging sections have long names, kept as "/offset" into the symbols' strings.
    at += sizeof header + header.SizeOfOptionalHeader;
    for (unsigned i = 0; i < header.NumberOfSections; ++i, at += sizeof(IMAGE_SECTION_HEADER)) {
        ASSERT_LE(at + sizeof(IMAGE_SECTION_HEADER), bytes.size());
        std::string name(bytes.data() + at, strnlen(bytes.data() + at, IMAGE_SIZEOF_SHORT_NAME));
        EXPECT_TRUE(name[0] != '/' && name.rfind(".debug", 0) != 0) << name;
    }
}

} // namespace
