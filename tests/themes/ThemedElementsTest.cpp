// The numbering of the themed elements' parts and states, checked against the element
// classes as the visual-styles library publishes them: each class's name, the number of
// states of each part in part order, and the number of values of its enumeration.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "themes/ThemedElements.h"

namespace {

struct PublishedElement {
    const wchar_t* className;
    const char* statesPerPart;
    int valueCount;
};

const PublishedElement Published[ThemedElementCount] = {
    {L"button", "5 8 12 2 1", 30},
    {L"clock", "1", 3},
    {L"combobox", "4", 6},
    {L"edit", "7 1", 10},
    {L"explorerbar", "3 3 6 3 1 3 3 1 1 3 3 1", 33},
    {L"header", "3 3 3 2", 13},
    {L"listview", "5 1 1 1 1", 11},
    {L"menu", "3 1 1 1 1 1", 10},
    {L"page", "4 4 4 4", 18},
    {L"progress", "1 1 1 1", 6},
    {L"rebar", "1 1 6 4 4", 18},
    {L"scrollbar", "16 4 4 4 4 4 4 4 4 2", 52},
    {L"spin", "4 4 4 4", 18},
    {L"startpanel", "1 1 3 1 1 1 1 1 3 1 1", 17},
    {L"status", "1 1 1", 5},
    {L"tab", "5 5 5 5 5 5 5 5 1 1", 44},
    {L"taskband", "1 1 1", 5},
    {L"taskbar", "1", 3},
    {L"toolbar", "6 6 6 6 6 6", 38},
    {L"tooltip", "2 2 2 2 3", 13},
    {L"trackbar", "1 1 5 5 5 5 5 5 1 1", 36},
    {L"traynotify", "1 1", 4},
    {L"treeview", "5 2 1", 10},
    {L"window", "3 3 3 3 3 3 2 2 2 2 2 2 5 5 5 5 5 5 5 5 5 5 5 5 4 4 4 4 1 1 1 1 1 1 1 1 1", 117},
};

std::vector<int> StateCounts(const char* text)
{
    std::istringstream in(text);
    std::vector<int> counts;
    for (int n; in >> n;)
        counts.push_back(n);
    return counts;
}

TThemedElementDetails Details(TThemedElement element, int part, int state)
{
    return TThemedElementDetails{element, part, state};
}

} // namespace

TEST(ThemedElements, EveryRunOfEveryElementMapsToItsPartWithStatesFromOne)
{
    for (int e = 0; e < ThemedElementCount; ++e) {
        auto element = static_cast<TThemedElement>(e);
        const PublishedElement& expected = Published[e];
        SCOPED_TRACE(e);
        EXPECT_EQ(std::wstring(ThemedElements[e].ClassName), expected.className);
        EXPECT_EQ(ElementDetails(element, 0), Details(element, 0, 1));
        EXPECT_EQ(ElementDetails(element, 1), Details(element, 0, 2));
        int first = 2;
        std::vector<int> counts = StateCounts(expected.statesPerPart);
        for (size_t i = 0; i < counts.size(); ++i) {
            int part = static_cast<int>(i) + 1;
            int last = first + counts[i] - 1;
            EXPECT_EQ(ElementDetails(element, first), Details(element, part, 1)) << "part " << part;
            EXPECT_EQ(ElementDetails(element, last), Details(element, part, counts[i])) << "part " << part;
            first = last + 1;
        }
        EXPECT_EQ(first, expected.valueCount);
        EXPECT_EQ(ThemedValueCount(element), expected.valueCount);
    }
}

TEST(ThemedElements, NamedValuesSitWhereTheLibraryNumbersThem)
{
    EXPECT_EQ(GetElementDetails(TThemedButton{20}), Details(teButton, 3, 6));  // checked, hot
    EXPECT_EQ(GetElementDetails(TThemedButton{1}), Details(teButton, 0, 2));   // root
    EXPECT_EQ(GetElementDetails(TThemedWindow{116}), Details(teWindow, 37, 1));
    EXPECT_EQ(GetElementDetails(TThemedExplorerBar{13}), Details(teExplorerBar, 3, 6));
    EXPECT_EQ(GetElementDetails(tsStatusRoot), Details(teStatus, 0, 2));
    const int values[] = {tbPushButtonNormal.Value, tbPushButtonDefaulted.Value, tbCheckBoxUncheckedNormal.Value,
                          tbCheckBoxUncheckedDisabled.Value, tbCheckBoxCheckedNormal.Value,
                          tbCheckBoxMixedDisabled.Value, tbGroupBoxNormal.Value, tbGroupBoxDisabled.Value,
                          teEditTextNormal.Value, trBandNormal.Value, ttBody.Value, ttbButtonDisabled.Value,
                          ttbThumbTics.Value};
    EXPECT_EQ(std::vector<int>(std::begin(values), std::end(values)),
              (std::vector<int>{2, 6, 15, 18, 19, 26, 27, 28, 2, 4, 43, 5, 34}));
}

TEST(ThemedElements, NumbersOutsideAnEnumerationAndPairsAnElementLacksAreRejected)
{
    EXPECT_EQ(ElementDetails(teWindow, 117), Details(teWindow, 0, 0));
    EXPECT_EQ(ElementDetails(teClock, -1), Details(teClock, 0, 0));
    EXPECT_THROW(ThemedValue<teButton>(6, 1), std::out_of_range);
    EXPECT_THROW(ThemedValue<teButton>(5, 2), std::out_of_range);
}
