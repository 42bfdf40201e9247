#pragma once
// A library that is loaded on the first request and unloaded when the last request is
// released. Loading and unloading are handed to a loader, so the counting is the same
// for every platform and can be tested without one.
#include <cstdint>
#include <mutex>

class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // Loads the library and binds its entry points; false when it cannot be loaded.
    virtual bool Load() = 0;
    // Unloads the library and clears every entry point.
    virtual void Unload() = 0;
};

class RefCountedLibrary {
public:
    explicit RefCountedLibrary(LibraryLoader& loader) : loader_(loader) {}
    // Releases the requests still held, which unloads the library.
    ~RefCountedLibrary();
    RefCountedLibrary(const RefCountedLibrary&) = delete;
    RefCountedLibrary& operator=(const RefCountedLibrary&) = delete;

    // Counts one request and loads the library when it is not loaded (again on every
    // request while loading fails). The request counts even when loading failed and must
    // be released all the same. Returns whether the library is loaded. Raises
    // std::overflow_error when the count would overflow.
    bool Acquire();
    // Releases one request; the last one unloads the library. Without requests nothing
    // happens.
    void Release();

    bool Loaded() const;
    int32_t References() const;

private:
    LibraryLoader& loader_;
    mutable std::mutex lock_;  // serialises requests and releases with the loader's work
    int32_t references_ = 0;
    bool loaded_ = false;
};
