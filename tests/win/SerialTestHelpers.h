#pragma once
// Helpers of the serial tests under Wine: the COM ports the pty runner provides, message
// pumping until a condition holds, and the counts of the process's handles and threads.
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdint>

#include "serial/SioClock.h"
#include "ui/Handles.h"

// The ports of tests/tools/serialpeer/run_pty_tests.sh.
constexpr uint16_t EchoPort = 21;
constexpr uint16_t BurstPort = 22;
constexpr uint16_t MissingPort = 23;
constexpr uint16_t RefusedPort = 24;

// Handles this thread's messages until pred holds or ms pass; whether it held.
template <class Pred>
bool PumpUntil(Pred pred, int ms = 10000)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (!SafeYield())
            Sleep(1);
    }
    return true;
}

// The process's open handles: the system's count where it keeps one, else every value
// that names a handle (Wine answers no count).
inline int OpenHandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return static_cast<int>(count);
    int n = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++n;
    }
    return n;
}

inline int ThreadCount()
{
    TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    DWORD self = GetCurrentProcessId();
    if (snapshot && Thread32First(snapshot.Get(), &entry)) {
        do {
            if (entry.th32OwnerProcessID == self)
                ++n;
        } while (Thread32Next(snapshot.Get(), &entry));
    }
    return n;
}
