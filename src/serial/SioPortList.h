#pragma once
// The process-wide list of open ports. A dispatcher's index in it is its Handle, which
// every notification carries in the high word of its lParam, so a receiver can find
// the port again. Empty slots are reused. The list's lock is re-entrant and outermost:
// it is never taken while a dispatcher's own lock is held.
#include <cstdint>

class TSioBaseDispatcher;

void LockPortList();
void UnlockPortList();

class SioPortListLock {
public:
    SioPortListLock() { LockPortList(); }
    ~SioPortListLock() { UnlockPortList(); }
    SioPortListLock(const SioPortListLock&) = delete;
    SioPortListLock& operator=(const SioPortListLock&) = delete;
};

// Puts the dispatcher into the first empty slot (or a new one at the end); its index.
int32_t EnterPortList(TSioBaseDispatcher* dispatcher);
// Empties the dispatcher's slot, drops empty slots at the end and forgets the lookup
// cache when it names the dispatcher.
void LeavePortList(TSioBaseDispatcher* dispatcher, int32_t handle);

// Slots of the list, empty ones included.
int32_t PortListCount();
// The dispatcher at index handle; null for an empty slot or an index outside the list.
TSioBaseDispatcher* PortListEntry(int32_t handle);

// The open dispatcher of that device handle that isOfClass accepts, or null. A hit is
// cached, and the cache answers the next lookup of the same device handle.
TSioBaseDispatcher* GetTComRecPtr(intptr_t comHandle, bool (*isOfClass)(const TSioBaseDispatcher*));

template <class T>
T* GetTComRecPtr(intptr_t comHandle)
{
    return static_cast<T*>(GetTComRecPtr(
        comHandle, [](const TSioBaseDispatcher* d) { return dynamic_cast<const T*>(d) != nullptr; }));
}
