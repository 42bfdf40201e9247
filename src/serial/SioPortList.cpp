#include "serial/SioPortList.h"

#include <mutex>
#include <vector>

#include "serial/SioDispatcher.h"

namespace {

struct PortList {
    std::recursive_mutex lock;
    std::vector<TSioBaseDispatcher*> slots;
    intptr_t cachedHandle = -1;
    TSioBaseDispatcher* cached = nullptr;
};

PortList& List()
{
    static PortList list;
    return list;
}

} // namespace

void LockPortList() { List().lock.lock(); }
void UnlockPortList() { List().lock.unlock(); }

int32_t EnterPortList(TSioBaseDispatcher* dispatcher)
{
    SioPortListLock guard;
    auto& slots = List().slots;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i]) {
            slots[i] = dispatcher;
            return static_cast<int32_t>(i);
        }
    }
    slots.push_back(dispatcher);
    return static_cast<int32_t>(slots.size() - 1);
}

void LeavePortList(TSioBaseDispatcher* dispatcher, int32_t handle)
{
    SioPortListLock guard;
    PortList& list = List();
    if (handle >= 0 && static_cast<size_t>(handle) < list.slots.size() && list.slots[handle] == dispatcher)
        list.slots[handle] = nullptr;
    while (!list.slots.empty() && !list.slots.back())
        list.slots.pop_back();
    if (list.cached == dispatcher) {
        list.cached = nullptr;
        list.cachedHandle = -1;
    }
}

int32_t PortListCount()
{
    SioPortListLock guard;
    return static_cast<int32_t>(List().slots.size());
}

TSioBaseDispatcher* PortListEntry(int32_t handle)
{
    SioPortListLock guard;
    auto& slots = List().slots;
    return handle >= 0 && static_cast<size_t>(handle) < slots.size() ? slots[handle] : nullptr;
}

TSioBaseDispatcher* GetTComRecPtr(intptr_t comHandle, bool (*isOfClass)(const TSioBaseDispatcher*))
{
    SioPortListLock guard;
    PortList& list = List();
    // The cached dispatcher answers only while it still holds that device.
    if (list.cached && list.cachedHandle == comHandle && list.cached->ComHandle() == comHandle &&
        isOfClass(list.cached))
        return list.cached;
    for (TSioBaseDispatcher* d : list.slots) {
        if (d && d->ComHandle() == comHandle && isOfClass(d)) {
            list.cached = d;
            list.cachedHandle = comHandle;
            return d;
        }
    }
    return nullptr;
}
