#pragma once
// The element classes of the visual-styles library and the numbering of their parts and
// states. Every element has one enumeration: value 0 is its "don't care" value, 1 its
// root, then come one value per state of part 1, one per state of part 2, and so on. The
// numbering is computed from one table, which gives for each element the class name the
// library knows it by and the number of states of each of its parts (the library's part
// and state numbers count from 1 in the same order).
#include <cstdint>
#include <stdexcept>

enum TThemedElement : uint8_t {
    teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu,
    tePage, teProgress, teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab,
    teTaskBand, teTaskBar, teToolBar, teToolTip, teTrackBar, teTrayNotify, teTreeview,
    teWindow
};
constexpr int ThemedElementCount = teWindow + 1;

// What the library's drawing calls take: the element's class, a part and a state.
struct TThemedElementDetails {
    TThemedElement Element;
    int32_t Part;
    int32_t State;
};
inline bool operator==(const TThemedElementDetails& a, const TThemedElementDetails& b)
{
    return a.Element == b.Element && a.Part == b.Part && a.State == b.State;
}

constexpr int MaxThemedParts = 37;

struct ThemedElementTable {
    const wchar_t* ClassName;
    int PartCount;
    uint8_t States[MaxThemedParts];  // states of parts 1 to PartCount
};

inline constexpr ThemedElementTable ThemedElements[ThemedElementCount] = {
    {L"button", 5, {5, 8, 12, 2, 1}},
    {L"clock", 1, {1}},
    {L"combobox", 1, {4}},
    {L"edit", 2, {7, 1}},
    {L"explorerbar", 12, {3, 3, 6, 3, 1, 3, 3, 1, 1, 3, 3, 1}},
    {L"header", 4, {3, 3, 3, 2}},
    {L"listview", 5, {5, 1, 1, 1, 1}},
    {L"menu", 6, {3, 1, 1, 1, 1, 1}},
    {L"page", 4, {4, 4, 4, 4}},
    {L"progress", 4, {1, 1, 1, 1}},
    {L"rebar", 5, {1, 1, 6, 4, 4}},
    {L"scrollbar", 10, {16, 4, 4, 4, 4, 4, 4, 4, 4, 2}},
    {L"spin", 4, {4, 4, 4, 4}},
    {L"startpanel", 11, {1, 1, 3, 1, 1, 1, 1, 1, 3, 1, 1}},
    {L"status", 3, {1, 1, 1}},
    {L"tab", 10, {5, 5, 5, 5, 5, 5, 5, 5, 1, 1}},
    {L"taskband", 3, {1, 1, 1}},
    {L"taskbar", 1, {1}},
    {L"toolbar", 6, {6, 6, 6, 6, 6, 6}},
    {L"tooltip", 5, {2, 2, 2, 2, 3}},
    {L"trackbar", 10, {1, 1, 5, 5, 5, 5, 5, 5, 1, 1}},
    {L"traynotify", 2, {1, 1}},
    {L"treeview", 3, {5, 2, 1}},
    {L"window", 37, {3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5,
                     4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
};

// A value of element E's enumeration.
template <TThemedElement E>
struct TThemedValue {
    int Value;
};
template <TThemedElement E>
constexpr bool operator==(TThemedValue<E> a, TThemedValue<E> b)
{
    return a.Value == b.Value;
}
template <TThemedElement E>
constexpr bool operator!=(TThemedValue<E> a, TThemedValue<E> b)
{
    return a.Value != b.Value;
}
using TThemedButton = TThemedValue<teButton>;
using TThemedClock = TThemedValue<teClock>;
using TThemedComboBox = TThemedValue<teComboBox>;
using TThemedEdit = TThemedValue<teEdit>;
using TThemedExplorerBar = TThemedValue<teExplorerBar>;
using TThemedHeader = TThemedValue<teHeader>;
using TThemedListview = TThemedValue<teListView>;
using TThemedMenu = TThemedValue<teMenu>;
using TThemedPage = TThemedValue<tePage>;
using TThemedProgress = TThemedValue<teProgress>;
using TThemedRebar = TThemedValue<teRebar>;
using TThemedScrollBar = TThemedValue<teScrollBar>;
using TThemedSpin = TThemedValue<teSpin>;
using TThemedStartPanel = TThemedValue<teStartPanel>;
using TThemedStatus = TThemedValue<teStatus>;
using TThemedTab = TThemedValue<teTab>;
using TThemedTaskBand = TThemedValue<teTaskBand>;
using TThemedTaskBar = TThemedValue<teTaskBar>;
using TThemedToolBar = TThemedValue<teToolBar>;
using TThemedToolTip = TThemedValue<teToolTip>;
using TThemedTrackBar = TThemedValue<teTrackBar>;
using TThemedTrayNotify = TThemedValue<teTrayNotify>;
using TThemedTreeview = TThemedValue<teTreeview>;
using TThemedWindow = TThemedValue<teWindow>;

// The number of values of an element's enumeration, "don't care" and root included.
constexpr int ThemedValueCount(TThemedElement element)
{
    const ThemedElementTable& table = ThemedElements[element];
    int count = 2;
    for (int part = 0; part < table.PartCount; ++part)
        count += table.States[part];
    return count;
}

// The value of {part, state} in element E's enumeration; part 0 has the two states
// "don't care" (1) and root (2). Raises std::out_of_range for a pair the element lacks
// (a compile-time error where the value is a constant).
template <TThemedElement E>
constexpr TThemedValue<E> ThemedValue(int part, int state)
{
    const ThemedElementTable& table = ThemedElements[E];
    if (part < 0 || part > table.PartCount || state < 1 || state > (part == 0 ? 2 : table.States[part - 1]))
        throw std::out_of_range("no such part or state of a themed element");
    if (part == 0)
        return TThemedValue<E>{state - 1};
    int value = 2;
    for (int p = 1; p < part; ++p)
        value += table.States[p - 1];
    return TThemedValue<E>{value + state - 1};
}

// {element, part, state} of a value: within the values of a part, the state counts from
// 1; "don't care" and root are part 0 with states 1 and 2. A number that is no value of
// the enumeration gives part 0, state 0.
TThemedElementDetails ElementDetails(TThemedElement element, int value);

template <TThemedElement E>
TThemedElementDetails GetElementDetails(TThemedValue<E> value)
{
    return ElementDetails(E, value.Value);
}

// The values the themed drawing of the standard controls uses.
constexpr TThemedButton tbPushButtonNormal = ThemedValue<teButton>(1, 1);
constexpr TThemedButton tbPushButtonHot = ThemedValue<teButton>(1, 2);
constexpr TThemedButton tbPushButtonPressed = ThemedValue<teButton>(1, 3);
constexpr TThemedButton tbPushButtonDisabled = ThemedValue<teButton>(1, 4);
constexpr TThemedButton tbPushButtonDefaulted = ThemedValue<teButton>(1, 5);
constexpr TThemedButton tbCheckBoxUncheckedNormal = ThemedValue<teButton>(3, 1);
constexpr TThemedButton tbCheckBoxUncheckedDisabled = ThemedValue<teButton>(3, 4);
constexpr TThemedButton tbCheckBoxCheckedNormal = ThemedValue<teButton>(3, 5);
constexpr TThemedButton tbCheckBoxCheckedDisabled = ThemedValue<teButton>(3, 8);
constexpr TThemedButton tbCheckBoxMixedNormal = ThemedValue<teButton>(3, 9);
constexpr TThemedButton tbCheckBoxMixedDisabled = ThemedValue<teButton>(3, 12);
constexpr TThemedButton tbGroupBoxNormal = ThemedValue<teButton>(4, 1);
constexpr TThemedButton tbGroupBoxDisabled = ThemedValue<teButton>(4, 2);
constexpr TThemedEdit teEditTextNormal = ThemedValue<teEdit>(1, 1);
constexpr TThemedRebar trBandNormal = ThemedValue<teRebar>(3, 1);
constexpr TThemedStatus tsStatusRoot = ThemedValue<teStatus>(0, 2);
constexpr TThemedTab ttBody = ThemedValue<teTab>(10, 1);
constexpr TThemedToolBar ttbButtonNormal = ThemedValue<teToolBar>(1, 1);
constexpr TThemedToolBar ttbButtonHot = ThemedValue<teToolBar>(1, 2);
constexpr TThemedToolBar ttbButtonPressed = ThemedValue<teToolBar>(1, 3);
constexpr TThemedToolBar ttbButtonDisabled = ThemedValue<teToolBar>(1, 4);
constexpr TThemedTrackBar ttbThumbTics = ThemedValue<teTrackBar>(9, 1);
