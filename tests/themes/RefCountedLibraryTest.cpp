// The reference-counted loading of a run-time library, with a loader that records what
// it was asked to do.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "support/WaitUntil.h"
#include "themes/RefCountedLibrary.h"

namespace {

struct RecordingLoader : LibraryLoader {
    bool Load() override
    {
        ++loads;
        misused |= bound;
        bound = available;
        return available;
    }
    void Unload() override
    {
        ++unloads;
        misused |= !bound;
        bound = false;
    }
    bool available = true;
    bool bound = false;    // stands for the bound entry points
    bool misused = false;  // loaded twice, or unloaded while not loaded
    int loads = 0, unloads = 0;
};

} // namespace

TEST(RefCountedLibrary, TheLastReleaseUnloadsAndClearsTheEntryPoints)
{
    RecordingLoader loader;
    RefCountedLibrary library(loader);
    library.Release();  // without requests: nothing, and the count stays at 0
    EXPECT_TRUE(library.Acquire());
    EXPECT_TRUE(library.Acquire());
    library.Release();
    EXPECT_TRUE(loader.bound);
    library.Release();
    EXPECT_FALSE(library.Loaded());
    EXPECT_FALSE(loader.bound);
    EXPECT_EQ(loader.loads, 1);
    EXPECT_EQ(loader.unloads, 1);
    {
        RefCountedLibrary held(loader);
        held.Acquire();
        held.Acquire();
    }  // the end releases what is still held
    EXPECT_FALSE(loader.bound);
    EXPECT_FALSE(loader.misused);
}

TEST(RefCountedLibrary, AFailedLoadIsCountedAndTriedAgainOnTheNextRequest)
{
    RecordingLoader loader;
    loader.available = false;
    RefCountedLibrary library(loader);
    EXPECT_FALSE(library.Acquire());
    EXPECT_EQ(library.References(), 1);
    loader.available = true;
    EXPECT_TRUE(library.Acquire());
    library.Release();
    EXPECT_TRUE(library.Loaded());  // the failed request still holds it
    library.Release();
    EXPECT_EQ(loader.loads, 2);
    EXPECT_EQ(loader.unloads, 1);

    loader.available = false;
    library.Acquire();
    library.Release();  // never loaded, so never unloaded
    EXPECT_EQ(loader.unloads, 1);
    EXPECT_FALSE(loader.misused);
}

TEST(RefCountedLibraryConcurrency, RequestsFromManyThreadsLoadAndUnloadInTurn)
{
    RecordingLoader loader;
    RefCountedLibrary library(loader);
    std::vector<std::thread> threads;
    std::atomic<int> started{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            // All four begin together, however late a loaded machine starts the last.
            ++started;
            WaitUntil([&] { return started == 4; }, std::chrono::seconds(10));
            for (int i = 0; i < 2000; ++i) {
                library.Acquire();
                library.Release();
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_FALSE(loader.misused);
    EXPECT_EQ(loader.loads, loader.unloads);
    EXPECT_FALSE(library.Loaded());
}
