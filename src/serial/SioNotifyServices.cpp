#include "serial/SioNotifyServices.h"

#include <atomic>
#include <exception>

namespace {

std::atomic<SioWindowMessenger*> messenger{nullptr};
std::atomic<SioSynchronizer*> synchronizer{nullptr};
std::atomic<void (*)(const std::string&)> exceptionBox{nullptr};
std::atomic<bool> platformIsNT{true};

} // namespace

void SetSioWindowMessenger(SioWindowMessenger* m) { messenger = m; }
void SetSioSynchronizer(SioSynchronizer* s) { synchronizer = s; }
void SetSioExceptionBox(void (*show)(const std::string&)) { exceptionBox = show; }
void SetSioPlatformIsNT(bool isNT) { platformIsNT = isNT; }

SioWindowMessenger* CurrentSioWindowMessenger() { return messenger; }

void SioSynchronize(const std::function<void()>& method)
{
    if (SioSynchronizer* s = synchronizer)
        s->Synchronize(method);
    else
        method();
}

void SioSynchronizeShowingErrors(const std::function<void()>& method)
{
    try {
        SioSynchronize(method);
    } catch (...) {
        ShowHandledSioException();
    }
}

void ShowSioException(const std::string& message)
{
    if (auto show = exceptionBox.load())
        show(message);
}

void ShowHandledSioException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowSioException(e.what());
    } catch (...) {
        ShowSioException("Unknown exception");
    }
}

bool SioPlatformIsNT() { return platformIsNT; }
