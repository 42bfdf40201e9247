// A firmware file that exists but is held open by another program, as only Windows
// can arrange: reading its header fails quietly while the main window is built.
#include <gtest/gtest.h>
#include <windows.h>

#include "programming/RomFile.h"
#include "programming/RomHeader.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {

TEST(RomHeaderLocked, AFileThatCannotBeOpenedIsNoHeader)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring name = std::wstring(dir) + L"pelvor-locked.rom";
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const unsigned char header[20] = {'M', '6', '0', '0', 0, 0, 0, 0, 1, 20, 'M', 1};
    DWORD written = 0;
    WriteFile(h, header, sizeof header, &written, nullptr);
    RomHeader read{};
    EXPECT_TRUE(FileExists(FromWide(name)));
    EXPECT_FALSE(ReadRomHeader(FromWide(name), read));  // held without sharing: no exception
    EXPECT_EQ(LoadRomFile(FromWide(name)).status, RomLoadStatus::Unreadable)
        << "a file that is there is not reported missing";
    CloseHandle(h);
    EXPECT_TRUE(ReadRomHeader(FromWide(name), read));
    DeleteFileW(name.c_str());
}

} // namespace
