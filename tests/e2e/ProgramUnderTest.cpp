#include "ProgramUnderTest.h"

#include <algorithm>

std::wstring ProgramFromEnvironment(const wchar_t* variable)
{
    wchar_t buf[32768];
    DWORD n = GetEnvironmentVariableW(variable, buf, 32768);
    if (n == 0 || n >= 32768)
        return std::wstring();
    std::wstring path(buf, n);
    if (!path.empty() && path[0] == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& exe)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = GetTickCount();; ++n) {
        folder_ = std::wstring(temp) + L"pelvor-e2e-" + std::to_wstring(n) + L"\\";
        if (CreateDirectoryW(folder_.c_str(), nullptr))
            break;
    }
    copy_ = folder_ + L"pelvor.exe";
    CopyFileW(exe.c_str(), copy_.c_str(), FALSE);
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder_ + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder_ + fd.cFileName).c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(folder_.c_str());
}

bool ProgramUnderTest::Start(const std::wstring& arguments)
{
    if (process_.hProcess) {  // started before: the same folder, a new process
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = PROCESS_INFORMATION{};
    }
    std::wstring command = L"\"" + copy_ + L"\"";
    if (!arguments.empty())
        command += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(copy_.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si,
                          &process_) != 0;
}

namespace {
struct Search {
    DWORD pid;
    std::wstring captionEnd;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd))
        return TRUE;
    std::wstring text = WindowText(hwnd);
    if (text.size() >= s->captionEnd.size() &&
        text.compare(text.size() - s->captionEnd.size(), s->captionEnd.size(), s->captionEnd) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND ProgramUnderTest::WaitForWindow(const std::wstring& captionEnd, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search s{process_.dwProcessId, captionEnd, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

long ProgramUnderTest::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
}

bool Settle(HWND window)
{
    for (int trip = 0; trip < 2; ++trip) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
            return false;
    }
    return true;
}

std::wstring WindowText(HWND window)
{
    wchar_t buf[1024];
    int n = GetWindowTextW(window, buf, 1024);
    return std::wstring(buf, n > 0 ? n : 0);
}

std::wstring ClassName(HWND window)
{
    wchar_t buf[256];
    int n = GetClassNameW(window, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

namespace {
struct ClassSearch {
    std::wstring part;
    std::vector<HWND> found;
};
BOOL CALLBACK MatchClass(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<ClassSearch*>(param);
    std::wstring name = ClassName(hwnd);
    CharUpperW(&name[0]);
    if (name.find(s->part) != std::wstring::npos)
        s->found.push_back(hwnd);
    return TRUE;
}
} // namespace

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& classPart)
{
    std::wstring part = classPart;
    CharUpperW(&part[0]);
    ClassSearch s{part, {}};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT len = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(len > 0 ? len : 0));
        items.push_back(text);
    }
    return items;
}

void ClickToolButton(HWND main, int left)
{
    // The tool bar is the main window's first child, along its top.
    POINT p{left + 14, 20};
    HWND bar = ChildWindowFromPointEx(main, p, CWP_SKIPINVISIBLE);
    if (!bar || bar == main)
        return;
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

bool WriteWholeFile(const std::wstring& name, const std::string& bytes)
{
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return written == bytes.size();
}

std::string ReadWholeFile(const std::wstring& name)
{
    std::string bytes;
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}
