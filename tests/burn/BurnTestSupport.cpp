#include "BurnTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ProgramUnderTest.h"
#include "programming/Crc32.h"
#include "programming/Gost.h"
#include "programming/RomFile.h"

Bytes Pattern(size_t size, unsigned seed)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + seed * 7 + i / 251);
    return bytes;
}

namespace {

// A file of the store folder of the controller on COMline ("" when there is no store).
std::wstring StoreFile(int line, const std::string& name)
{
    std::wstring store = ProgramFromEnvironment(L"BURN_STORE");
    if (store.empty())
        return std::wstring();
    return store + L"\\com" + std::to_wstring(line) + L"\\" + std::wstring(name.begin(), name.end());
}

} // namespace

std::string Stored(int line, const std::string& name)
{
    const std::wstring file = StoreFile(line, name);
    if (file.empty())
        return std::string();
    // burnsim stores a transfer a moment after the program has sent its end; each file
    // appears whole.
    PollUntil([&] { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; });
    return ReadWholeFile(file);
}

bool LetHeldAnswersGo(int line)
{
    // burnsim watches its store folder for this file.
    const std::wstring file = StoreFile(line, "release");
    return !file.empty() && WriteWholeFile(file, "");
}

bool NothingWritten(int line, size_t keptFirmware)
{
    const std::wstring file = StoreFile(line, "flash-1.bin");
    const std::string flash = file.empty() ? std::string() : ReadWholeFile(file);
    return flash.size() <= keptFirmware || flash.find_first_not_of('\xFF', keptFirmware) == std::string::npos;
}

std::string FirmwareFile(const Bytes& firmware, char type)
{
    Bytes data = firmware;
    TGost().DecryptBuffer(data.data(), static_cast<uint32_t>(data.size()), kRomPassword);  // gamma: its own inverse
    const uint32_t length = static_cast<uint32_t>(firmware.size());
    const uint32_t crc = Crc32(0xFFFFFFFF, firmware.data(), length);
    std::string file = {'M', '6', '0', '0', 0, 0, 0, 0, 1, 20, type, 3};
    for (uint32_t v : {length, crc})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<char>(v >> (8 * i)));
    file.append(data.begin(), data.end());
    return file;
}

namespace {

struct BoxSearch {
    DWORD processId;
    std::wstring title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window) && ClassName(window) == L"#32770" &&
        (search->title.empty() || WindowText(window) == search->title))
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleBoxes(DWORD processId, const std::wstring& title)
{
    BoxSearch search{processId, title, {}};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring BoxText(HWND box)
{
    std::wstring longest;
    for (HWND child : ChildrenOfClass(box, L"STATIC")) {
        std::wstring text = WindowText(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}
