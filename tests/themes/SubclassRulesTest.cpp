// Which list of the visual-style manager a control joins, from what it is, the options
// and whether themes are enabled; and the options' link with the application's theming
// flags.
#include <gtest/gtest.h>

#include "themes/ThemeOptions.h"

namespace {

// What the class library's controls are (every class they descend from).
const unsigned Button = ckButtonControl | ckWinControl;
const unsigned SpeedButton = ckSpeedButton;
const unsigned GroupBox = ckGroupBox | ckWinControl;
const unsigned Panel = ckPanel | ckWinControl;
const unsigned Frame = ckFrame | ckWinControl;
const unsigned ListView = ckListView | ckWinControl;
const unsigned TrackBar = ckTrackBar | ckWinControl;
const unsigned CheckList = ckCheckListBox | ckWinControl;
const unsigned StatusBar = ckStatusBar | ckWinControl;
const unsigned TabSheet = ckTabSheet | ckWinControl;
const unsigned Splitter = ckSplitter;
const unsigned Animate = ckAnimate | ckWinControl;
const unsigned Form = ckForm | ckWinControl;
const unsigned Edit = ckWinControl;
const unsigned Label = 0;

TStyleList Joins(unsigned kinds, TThemeOptions options = DefaultThemeOptions, bool themes = true)
{
    return StyleListForInsertion(kinds, options, themes);
}

} // namespace

TEST(SubclassRules, WithTheDefaultOptionsEachClassJoinsItsOwnList)
{
    EXPECT_EQ(DefaultThemeOptions.Bits(), 0x7FFF7u);
    EXPECT_FALSE(DefaultThemeOptions.Contains(toSubclassAnimate));
    EXPECT_FALSE(DefaultThemeOptions.Contains(toAlternateTabSheetDraw));
    EXPECT_EQ(Joins(Button), slButtonControl);
    EXPECT_EQ(Joins(SpeedButton), slSpeedButton);
    EXPECT_EQ(Joins(GroupBox), slGroupBox);
    EXPECT_EQ(Joins(TabSheet), slTabSheet);
    EXPECT_EQ(Joins(Panel), slPanel);
    EXPECT_EQ(Joins(Frame), slFrame);
    EXPECT_EQ(Joins(ListView), slListView);
    EXPECT_EQ(Joins(TrackBar), slTrackBar);
    EXPECT_EQ(Joins(CheckList), slCheckListBox);
    EXPECT_EQ(Joins(StatusBar), slStatusBar);
    EXPECT_EQ(Joins(Splitter), slSplitter);
    EXPECT_EQ(Joins(Form), slForm);
    EXPECT_EQ(Joins(Edit), slWinControl);
    EXPECT_EQ(Joins(Label), slNone);
    // An animation is windowed, yet its own clear option decides: no list at all.
    EXPECT_EQ(Joins(Animate), slNone);
    EXPECT_EQ(Joins(Animate, DefaultThemeOptions.With(toSubclassAnimate)), slAnimate);
}

TEST(SubclassRules, TheFirstClassTestDecidesEvenWhenItsOptionIsClear)
{
    TThemeOptions noPanels = DefaultThemeOptions.Without(toSubclassPanel);
    EXPECT_EQ(Joins(Panel, noPanels), slNone);  // not taken as a plain windowed control
    EXPECT_EQ(Joins(Edit, noPanels), slWinControl);
    // A control that is several listed classes at once goes by the earlier test.
    EXPECT_EQ(Joins(ckButtonControl | ckPanel | ckWinControl), slButtonControl);
    EXPECT_EQ(Joins(ckTabSheet | ckPanel | ckWinControl), slTabSheet);
    EXPECT_EQ(Joins(ckTrackBar | ckCheckListBox), slTrackBar);
    // Forms join whatever the options; other windowed controls need their option.
    TThemeOptions noWinControls = DefaultThemeOptions.Without(toSubclassWinControl);
    EXPECT_EQ(Joins(Form, noWinControls), slForm);
    EXPECT_EQ(Joins(Edit, noWinControls), slNone);
    EXPECT_EQ(Joins(Form, TThemeOptions(0)), slForm);
    // The lookup option stands for no class.
    EXPECT_EQ(Joins(Edit, DefaultThemeOptions.Without(toSubclassDBLookup)), slWinControl);
}

TEST(SubclassRules, WithoutThemesOnlyListViewsAreSubclassed)
{
    for (unsigned kinds : {Button, SpeedButton, GroupBox, Panel, Frame, TrackBar, Form, Edit})
        EXPECT_EQ(Joins(kinds, DefaultThemeOptions, false), slNone) << kinds;
    EXPECT_EQ(Joins(ListView, DefaultThemeOptions, false), slListView);
    EXPECT_EQ(Joins(ListView, DefaultThemeOptions.Without(toSubclassListView), false), slNone);
}

TEST(SubclassRules, TheFirstThreeOptionsAreTheApplicationsThemingFlags)
{
    EXPECT_EQ(ThemeAppProperties(DefaultThemeOptions), 7u);
    EXPECT_EQ(ThemeAppProperties(DefaultThemeOptions.Without(toAllowControls)), 5u);
    EXPECT_EQ(ThemeAppProperties(TThemeOptions(0).With(toAllowWebContent)), 4u);
    TThemeOptions read = WithThemeAppProperties(DefaultThemeOptions, 1);
    EXPECT_EQ(read.Bits(), 0x7FFF1u);  // only the three flags follow
    EXPECT_EQ(WithThemeAppProperties(read, 7), DefaultThemeOptions);
    EXPECT_TRUE(WantsFixControls(DefaultThemeOptions));
    EXPECT_TRUE(WantsFixControls(TThemeOptions(0).With(toSetTransparency)));
    EXPECT_FALSE(WantsFixControls(DefaultThemeOptions.Without(toResetMouseCapture).Without(toSetTransparency)));
}
