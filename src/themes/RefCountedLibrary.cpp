#include "themes/RefCountedLibrary.h"

#include <limits>
#include <stdexcept>

RefCountedLibrary::~RefCountedLibrary()
{
    while (References() > 0)
        Release();
}

bool RefCountedLibrary::Acquire()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (references_ == std::numeric_limits<int32_t>::max())
        throw std::overflow_error("Integer overflow");
    ++references_;
    if (!loaded_)
        loaded_ = loader_.Load();
    return loaded_;
}

void RefCountedLibrary::Release()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (references_ <= 0)
        return;
    --references_;
    if (references_ == 0 && loaded_) {
        loader_.Unload();
        loaded_ = false;
    }
}

bool RefCountedLibrary::Loaded() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return loaded_;
}

int32_t RefCountedLibrary::References() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return references_;
}
