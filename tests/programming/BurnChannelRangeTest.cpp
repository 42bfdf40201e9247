#include "programming/BurnChannelRange.h"

#include <gtest/gtest.h>

#include "ui/Exceptions.h"

namespace {

std::string Range(const BurnChannelRange& r)
{
    return std::to_string(r.firstCh.position) + ".." + std::to_string(r.endCh.position) + " " + r.CountLabel();
}

TEST(BurnChannelRange, OneControllerAfterTheOther)
{
    BurnChannelRange r;
    r.Show(0, 40, 18);
    EXPECT_EQ(r.ctrlNum.max, 3);
    EXPECT_EQ(r.ctrlNum.position, 1);
    EXPECT_EQ(Range(r), "1..18 (18)");
    ASSERT_TRUE(r.NextController());
    EXPECT_EQ(Range(r), "19..36 (18)");
    ASSERT_TRUE(r.NextController());
    EXPECT_EQ(Range(r), "37..40 (4)") << "the last range ends at the last channel";
    EXPECT_FALSE(r.Wide());
    EXPECT_FALSE(r.NextController());

    r.Show(0, 36, 18);
    EXPECT_EQ(r.ctrlNum.max, 2);
    EXPECT_TRUE(r.NextController());
    EXPECT_FALSE(r.NextController());
}

TEST(BurnChannelRange, EditedRanges)
{
    BurnChannelRange r;
    r.Show(0, 40, 18);
    r.endCh.SetPosition(20);
    EXPECT_TRUE(r.Wide());
    EXPECT_EQ(r.CountLabel(), "(20)");

    r.firstCh.SetPosition(10);
    r.FirstChanged();
    EXPECT_EQ(Range(r), "10..27 (18)");
    r.firstCh.SetPosition(30);
    r.FirstChanged();
    EXPECT_EQ(Range(r), "30..40 (11)");
    r.endCh.SetPosition(12);
    EXPECT_EQ(r.endCh.position, 30) << "the last channel never comes before the first";

    r.ctrlNum.SetPosition(7);
    r.RecomputeRange();
    EXPECT_EQ(r.ctrlNum.position, 3);
    EXPECT_EQ(Range(r), "37..40 (4)");
}

TEST(BurnChannelRange, AModelWithoutChannelsIsOneController)
{
    BurnChannelRange r;
    r.Show(0, 40, 0);
    EXPECT_EQ(r.ctrlNum.max, 1);
    EXPECT_EQ(Range(r), "1..40 (40)") << "the whole scenario";
    EXPECT_FALSE(r.Wide());
    EXPECT_FALSE(r.NextController());
}

TEST(BurnChannelRange, RangesThatCanBeProgrammed)
{
    EXPECT_TRUE(IsBurnRange(0, 17, 40));
    EXPECT_TRUE(IsBurnRange(36, 39, 40));
    EXPECT_FALSE(IsBurnRange(4, 3, 40)) << "no channel";
    EXPECT_FALSE(IsBurnRange(-1, 3, 40));
    EXPECT_FALSE(IsBurnRange(30, 40, 40)) << "past the last row";
    EXPECT_TRUE(IsBurnRange(0, 254, 300));
    EXPECT_FALSE(IsBurnRange(0, 255, 300)) << "wider than one image";
}

TEST(BurnChannelRange, EditIntegers)
{
    EXPECT_EQ(EditInteger("12"), 12);
    EXPECT_EQ(EditInteger(" 7"), 7);
    EXPECT_THROW(EditInteger("1a"), EConvertError);
    EXPECT_THROW(EditInteger(""), EConvertError);
}

} // namespace
