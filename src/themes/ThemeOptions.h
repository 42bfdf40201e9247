#pragma once
// The options of the visual-style manager, and which of its control lists a control
// joins. Portable: the manager asks the class-library questions, these answer from the
// facts.
#include <cstdint>

enum TThemeOption {
    toAllowNonClientArea,     // the application's non-client areas are themed
    toAllowControls,          // its controls are themed
    toAllowWebContent,        // its web content is themed
    toSubclassAnimate,
    toSubclassButtons,
    toSubclassCheckListbox,
    toSubclassDBLookup,       // no class is tested for it
    toSubclassFrame,
    toSubclassGroupBox,
    toSubclassListView,
    toSubclassPanel,
    toSubclassTabSheet,
    toSubclassSpeedButtons,
    toSubclassSplitter,
    toSubclassStatusBar,
    toSubclassTrackBar,
    toSubclassWinControl,     // every other windowed control
    toResetMouseCapture,      // tool buttons stop capturing the mouse
    toSetTransparency,        // tool bars and labels become transparent
    toAlternateTabSheetDraw,  // tab sheets paint their body element themselves
};

// A set of options, bit n standing for option n.
class TThemeOptions {
public:
    constexpr TThemeOptions() = default;
    constexpr explicit TThemeOptions(uint32_t bits) : bits_(bits & 0xFFFFF) {}
    constexpr bool Contains(TThemeOption option) const { return (bits_ >> option) & 1u; }
    constexpr TThemeOptions With(TThemeOption option) const { return TThemeOptions(bits_ | (1u << option)); }
    constexpr TThemeOptions Without(TThemeOption option) const { return TThemeOptions(bits_ & ~(1u << option)); }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool operator==(TThemeOptions other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(TThemeOptions other) const { return bits_ != other.bits_; }

private:
    uint32_t bits_ = 0;
};

// Every option but toSubclassAnimate and toAlternateTabSheetDraw.
constexpr TThemeOptions DefaultThemeOptions{0x7FFF7};

// The application's theming flags (1 non-client, 2 controls, 4 web content) for the
// options present.
uint32_t ThemeAppProperties(TThemeOptions options);
// The options with their first three taken from the application's theming flags.
TThemeOptions WithThemeAppProperties(TThemeOptions options, uint32_t flags);
// Whether the options ask FixControls for anything (capture reset or transparency).
bool WantsFixControls(TThemeOptions options);

// The manager's lists of subclassed controls, in the order it creates them.
enum TStyleList {
    slListView, slTabSheet, slGroupBox, slButtonControl, slSpeedButton, slSplitter, slTrackBar,
    slAnimate, slStatusBar, slCheckListBox, slForm, slFrame, slPanel, slWinControl,
    slNone
};
constexpr int StyleListCount = slNone;
// The order in which the manager releases its lists when it goes.
constexpr TStyleList StyleListReleaseOrder[StyleListCount] = {
    slWinControl, slPanel, slFrame, slForm, slCheckListBox, slStatusBar, slAnimate,
    slTrackBar, slSpeedButton, slSplitter, slButtonControl, slListView, slTabSheet, slGroupBox};

// What a control is, one bit per class the lists are tested for (a control is all the
// classes it descends from).
enum TControlKind : unsigned {
    ckButtonControl = 1u << 0,
    ckSpeedButton = 1u << 1,
    ckGroupBox = 1u << 2,
    ckTabSheet = 1u << 3,
    ckPanel = 1u << 4,
    ckFrame = 1u << 5,
    ckListView = 1u << 6,
    ckTrackBar = 1u << 7,
    ckCheckListBox = 1u << 8,
    ckStatusBar = 1u << 9,
    ckSplitter = 1u << 10,
    ckAnimate = 1u << 11,
    ckForm = 1u << 12,
    ckWinControl = 1u << 13,
};

// The list a control joins when it is inserted: the first class test it passes decides,
// and a class whose option is not set gets no list (later tests are not tried). With
// themes not enabled only list views are subclassed. slNone: no list.
TStyleList StyleListForInsertion(unsigned kinds, TThemeOptions options, bool themesEnabled);
