#include "scenario/ScenarioLabels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Labels = std::vector<uint16_t>;

std::unique_ptr<ScenarioSnapshot> WithSteps(int steps, Labels labels = {})
{
    auto s = std::make_unique<ScenarioSnapshot>();
    s->SetCell(0, 0, static_cast<uint16_t>(steps + 1));
    s->labels = std::move(labels);
    return s;
}

TEST(ScenarioLabels, TheFirstLabelBringsOneOnStepOne)
{
    auto s = WithSteps(20);
    EXPECT_EQ(AddLabel(*s, 7), LabelAdd::Added);
    EXPECT_EQ(s->labels, (Labels{1, 7}));
    EXPECT_EQ(AddLabel(*s, 3), LabelAdd::Added);
    EXPECT_EQ(s->labels, (Labels{1, 3, 7})) << "kept ascending";
    EXPECT_EQ(AddLabel(*s, 7), LabelAdd::Present);
    EXPECT_EQ(s->labels, (Labels{1, 3, 7}));

    auto first = WithSteps(5);
    EXPECT_EQ(AddLabel(*first, 1), LabelAdd::Added);
    EXPECT_EQ(first->labels, (Labels{1}));
}

TEST(ScenarioLabels, The256thLabelIsRefused)
{
    auto s = WithSteps(8000);
    for (int i = 1; i <= kMaxLabels; ++i)
        ASSERT_EQ(AddLabel(*s, 2 * i - 1), LabelAdd::Added);
    EXPECT_EQ(AddLabel(*s, 1000), LabelAdd::Full);
    EXPECT_EQ(s->labels.size(), 255u);
    EXPECT_EQ(s->labels.back(), 509);
}

TEST(ScenarioLabels, DeleteRemovesOnlyALabelStandingOnTheColumn)
{
    auto s = WithSteps(20, {1, 7, 9});
    EXPECT_FALSE(DeleteLabel(*s, 8));
    EXPECT_TRUE(DeleteLabel(*s, 7));
    EXPECT_EQ(s->labels, (Labels{1, 9}));
    EXPECT_TRUE(DeleteLabel(*s, 9));
    EXPECT_TRUE(DeleteLabel(*s, 1));
    EXPECT_TRUE(s->labels.empty());
}

TEST(ScenarioLabels, ValidateDropsLabelsBeyondTheStepsAndAddsStepOne)
{
    auto cut = WithSteps(6, {1, 5, 9});
    EXPECT_TRUE(ValidateLabels(*cut));
    EXPECT_EQ(cut->labels, (Labels{1, 5}));

    auto late = WithSteps(6, {3, 4});
    EXPECT_TRUE(ValidateLabels(*late));
    EXPECT_EQ(late->labels, (Labels{1, 3, 4}));

    auto gone = WithSteps(6, {8, 9});
    EXPECT_TRUE(ValidateLabels(*gone));
    EXPECT_TRUE(gone->labels.empty()) << "nothing left, so no label on step 1 either";

    auto empty = WithSteps(6);
    EXPECT_TRUE(ValidateLabels(*empty));
    EXPECT_TRUE(empty->labels.empty());
}

TEST(ScenarioLabels, ValidateRemovesTheOffendingEntriesThemselves)
{
    // A zero, a repeat and a label out of order go; the good labels after them stay.
    auto s = WithSteps(10, {1, 0, 4, 4, 3, 8, 12, 9});
    EXPECT_TRUE(ValidateLabels(*s));
    EXPECT_EQ(s->labels, (Labels{1, 4, 8, 9}));

    auto valid = WithSteps(10, {1, 2, 10});
    EXPECT_TRUE(ValidateLabels(*valid));
    EXPECT_EQ(valid->labels, (Labels{1, 2, 10}));
}

TEST(ScenarioLabels, ValidateReportsAFullListThatCannotTakeStepOne)
{
    Labels full;
    for (int i = 0; i < kMaxLabels; ++i)
        full.push_back(static_cast<uint16_t>(2 + i));
    auto s = WithSteps(8000, full);
    EXPECT_FALSE(ValidateLabels(*s));
    EXPECT_EQ(s->labels, full);
}

} // namespace
