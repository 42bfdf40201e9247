// The reference-counted loading of a run-time library, with a loader that records what
// it was asked to do.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "themes/RefCountedLibrary.h"

namespace {

class RecordingLoader : public LibraryLoader {
public:
    bool Load() override
    {
        ++loads;
        if (!available)
            return false;
        if (bound)
            doubleLoad = true;
        bound = true;
        return true;
    }
    void Unload() override
    {
        ++unloads;
        if (!bound)
            unloadWhileUnbound = true;
        bound = false;
    }
    bool available = true;
    bool bound = false;  // stands for the bound entry points
    int loads = 0, unloads = 0;
    bool doubleLoad = false, unloadWhileUnbound = false;
};

} // namespace

TEST(RefCountedLibrary, TheLastReleaseUnloadsAndClearsTheEntryPoints)
{
    RecordingLoader loader;
    RefCountedLibrary library(loader);
    EXPECT_TRUE(library.Acquire());
    EXPECT_TRUE(library.Acquire());
    EXPECT_EQ(loader.loads, 1);
    library.Release();
    EXPECT_TRUE(library.Loaded());
    EXPECT_TRUE(loader.bound);
    EXPECT_EQ(loader.unloads, 0);
    library.Release();
    EXPECT_FALSE(library.Loaded());
    EXPECT_FALSE(loader.bound);
    EXPECT_EQ(loader.unloads, 1);
    EXPECT_EQ(library.References(), 0);
}

TEST(RefCountedLibrary, AReleaseWithoutRequestsDoesNothing)
{
    RecordingLoader loader;
    RefCountedLibrary library(loader);
    library.Release();
    EXPECT_EQ(library.References(), 0);
    EXPECT_EQ(loader.unloads, 0);
    // The count did not go below zero: one request and one release load and unload.
    EXPECT_TRUE(library.Acquire());
    library.Release();
    EXPECT_EQ(loader.loads, 1);
    EXPECT_EQ(loader.unloads, 1);
}

TEST(RefCountedLibrary, AFailedLoadIsCountedAndTriedAgainOnTheNextRequest)
{
    RecordingLoader loader;
    loader.available = false;
    RefCountedLibrary library(loader);
    EXPECT_FALSE(library.Acquire());
    EXPECT_EQ(library.References(), 1);
    EXPECT_FALSE(library.Loaded());

    loader.available = true;
    EXPECT_TRUE(library.Acquire());
    EXPECT_EQ(loader.loads, 2);
    library.Release();
    EXPECT_TRUE(library.Loaded());  // the failed request still holds it
    library.Release();
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(loader.unloads, 1);
}

TEST(RefCountedLibrary, ALibraryThatNeverLoadedIsNeverUnloaded)
{
    RecordingLoader loader;
    loader.available = false;
    {
        RefCountedLibrary library(loader);
        library.Acquire();
        library.Acquire();
        library.Release();
    }
    EXPECT_EQ(loader.unloads, 0);
    EXPECT_FALSE(loader.unloadWhileUnbound);
}

TEST(RefCountedLibrary, DestructionReleasesTheRequestsStillHeld)
{
    RecordingLoader loader;
    {
        RefCountedLibrary library(loader);
        library.Acquire();
        library.Acquire();
        library.Acquire();
    }
    EXPECT_EQ(loader.unloads, 1);
    EXPECT_FALSE(loader.bound);
}

TEST(RefCountedLibraryConcurrency, RequestsFromManyThreadsLoadAndUnloadInTurn)
{
    RecordingLoader loader;
    RefCountedLibrary library(loader);
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                if (!library.Acquire())
                    failed = true;
                library.Release();
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_FALSE(failed);
    EXPECT_FALSE(loader.doubleLoad);
    EXPECT_FALSE(loader.unloadWhileUnbound);
    EXPECT_EQ(loader.loads, loader.unloads);
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(library.References(), 0);
}
