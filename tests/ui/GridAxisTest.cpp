// A grid's axis: positions of the items in view, the item at a pixel, how many fit and
// how far the view may scroll, with fixed items, scrolled ones and grid lines.
#include <gtest/gtest.h>

#include <vector>

#include "ui/GridAxis.h"

namespace {

// 1 fixed column of 80, 8000 columns of 25, lines of 1 pixel.
GridAxis Columns()
{
    GridAxis a;
    a.SetCount(8001, 25);
    a.SetSize(0, 80);
    return a;
}

TEST(GridAxis, StartsAndHitsAgreeAfterScrolling)
{
    GridAxis a = Columns();
    EXPECT_EQ(a.StartOf(0, 900), 0);
    EXPECT_EQ(a.StartOf(1, 900), 81);
    EXPECT_EQ(a.StartOf(3, 900), 81 + 2 * 26);
    EXPECT_EQ(a.StartOf(40, 900), -1) << "past the extent";
    a.First = 7000;
    EXPECT_EQ(a.StartOf(5, 900), -1) << "scrolled out of view";
    EXPECT_EQ(a.StartOf(7000, 900), 81);
    EXPECT_EQ(a.StartOf(0, 900), 0) << "fixed items stay";
    EXPECT_EQ(a.IndexAt(81, 900), 7000);
    EXPECT_EQ(a.IndexAt(80, 900), 0) << "a line belongs to the item before it";
    EXPECT_EQ(a.IndexAt(81 + 26, 900), 7001);
    EXPECT_EQ(a.IndexAt(900, 900), -1);
    EXPECT_EQ(a.IndexAt(-1, 900), -1);
}

TEST(GridAxis, VisitsOnlyWhatIsInView)
{
    GridAxis a = Columns();
    a.First = 4000;
    std::vector<int> seen;
    int end = a.ForEachInView(81 + 10 * 26, [&](int i, int start) {
        seen.push_back(i);
        EXPECT_EQ(start, a.StartOf(i, 1000));
    });
    ASSERT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(seen[1], 4000);
    EXPECT_EQ(seen.back(), 4009);
    EXPECT_EQ(end, 81 + 10 * 26);
}

TEST(GridAxis, HowManyFitAndHowFarTheViewScrolls)
{
    GridAxis a = Columns();
    EXPECT_EQ(a.FixedExtent(), 81);
    EXPECT_EQ(a.VisibleCount(81 + 10 * 26), 10);
    EXPECT_EQ(a.VisibleCount(81 + 10 * 26 - 2), 9) << "the tenth is cut";
    EXPECT_EQ(a.VisibleCount(81 + 10 * 26 - 1), 10) << "only its line is missing";
    EXPECT_EQ(a.MaxFirst(81 + 10 * 26), 8000 - 9);
    GridAxis few;
    few.SetCount(4, 25);
    EXPECT_EQ(few.MaxFirst(1000), 1) << "everything fits: no scrolling";
}

TEST(GridAxis, SizesSetAtOnceAndCountsThatShrink)
{
    GridAxis a = Columns();
    a.SetSizes(7999, {5, 6, 7, 8});
    EXPECT_EQ(a.Size(7999), 5);
    EXPECT_EQ(a.Size(8000), 6);
    EXPECT_EQ(a.Count(), 8001) << "sizes past the end are ignored";
    a.SetSizes(-1, {9, 10});
    EXPECT_EQ(a.Size(0), 10);
    EXPECT_FALSE(a.SetSize(0, 10)) << "the same size is no change";
    EXPECT_FALSE(a.SetSize(8001, 3));
    EXPECT_TRUE(a.SetSize(2, -4));
    EXPECT_EQ(a.Size(2), 0);
    a.First = 7000;
    a.SetCount(50, 25);
    EXPECT_EQ(a.First, 49);
    a.SetCount(0, 25);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Fixed, 0);
}

} // namespace
