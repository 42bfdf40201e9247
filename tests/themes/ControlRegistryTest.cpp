// The sorted list of subclassed controls: adding, finding by halving with the last one
// cached, and taking entries out.
#include <gtest/gtest.h>

#include <string>

#include "themes/ControlRegistry.h"

namespace {
// Controls stand in as the addresses of an array, added out of order.
int controls[8];
const int AddOrder[] = {5, 1, 7, 0, 3, 6, 2, 4};
} // namespace

TEST(ControlRegistry, FindsEveryControlAddedInAnyOrder)
{
    ControlRegistry<std::string> registry;
    for (int i : AddOrder)
        EXPECT_GE(registry.Add(&controls[i], "saved " + std::to_string(i)), 0);
    EXPECT_EQ(registry.Add(&controls[3], "again"), -1);  // one entry per control
    EXPECT_EQ(registry.Count(), 8);
    for (int i = 0; i < 8; ++i) {
        int index = -1;
        ASSERT_TRUE(registry.Find(&controls[i], index)) << i;
        EXPECT_EQ(registry.At(index).Value, "saved " + std::to_string(i));
        EXPECT_EQ(index, i);  // sorted by address
    }
    int index;
    int stranger;
    EXPECT_FALSE(registry.Find(&stranger, index));
}

TEST(ControlRegistry, TakingAnEntryBelowTheCachedOneKeepsLookupsRight)
{
    ControlRegistry<int> registry;
    for (int i : AddOrder)
        registry.Add(&controls[i], i * 10);
    int index;
    ASSERT_TRUE(registry.Find(&controls[6], index));  // cached now
    int saved = 0;
    ASSERT_TRUE(registry.Take(&controls[2], saved));
    EXPECT_EQ(saved, 20);
    ASSERT_TRUE(registry.Find(&controls[6], index));
    EXPECT_EQ(registry.At(index).Value, 60);
    EXPECT_FALSE(registry.Find(&controls[2], index));
    EXPECT_FALSE(registry.Take(&controls[2], saved));
    // An entry added after a search is found as well (the list sorts again).
    registry.Add(&controls[2], 22);
    ASSERT_TRUE(registry.Find(&controls[6], index));
    ASSERT_TRUE(registry.Find(&controls[2], index));
    EXPECT_EQ(registry.At(index).Value, 22);
}

TEST(ControlRegistry, TakingEveryEntryGivesEachSavedValueBack)
{
    ControlRegistry<int> registry;
    for (int i : AddOrder)
        registry.Add(&controls[i], i);
    int sum = 0;
    for (int i : AddOrder) {
        int saved = -1;
        ASSERT_TRUE(registry.Take(&controls[i], saved));
        sum += saved;
    }
    EXPECT_EQ(sum, 28);
    EXPECT_EQ(registry.Count(), 0);
}
