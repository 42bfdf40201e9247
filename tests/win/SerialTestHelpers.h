#pragma once
// Helpers of the serial tests under Wine: the COM ports the pty runner provides, and the
// counts of the process's handles and threads. PumpUntil (serial/MainThreadQueue.h)
// handles this thread's messages until a condition holds.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>

#include "serial/MainThreadQueue.h"
#include "ui/Handles.h"

// The ports of tests/tools/serialpeer/run_pty_tests.sh.
constexpr uint16_t EchoPort = 21;
constexpr uint16_t BurstPort = 22;
constexpr uint16_t MissingPort = 23;
constexpr uint16_t RefusedPort = 24;

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
