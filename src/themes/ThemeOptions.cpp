#include "themes/ThemeOptions.h"

namespace {

struct ClassRule {
    TControlKind kind;
    TThemeOption option;
    TStyleList list;
    bool always;  // joins whatever the options
};

// The class tests in the order they are tried.
constexpr ClassRule Rules[] = {
    {ckButtonControl, toSubclassButtons, slButtonControl, false},
    {ckSpeedButton, toSubclassSpeedButtons, slSpeedButton, false},
    {ckGroupBox, toSubclassGroupBox, slGroupBox, false},
    {ckTabSheet, toSubclassTabSheet, slTabSheet, false},
    {ckPanel, toSubclassPanel, slPanel, false},
    {ckFrame, toSubclassFrame, slFrame, false},
    {ckListView, toSubclassListView, slListView, false},
    {ckTrackBar, toSubclassTrackBar, slTrackBar, false},
    {ckCheckListBox, toSubclassCheckListbox, slCheckListBox, false},
    {ckStatusBar, toSubclassStatusBar, slStatusBar, false},
    {ckSplitter, toSubclassSplitter, slSplitter, false},
    {ckAnimate, toSubclassAnimate, slAnimate, false},
    {ckForm, toSubclassWinControl, slForm, true},
    {ckWinControl, toSubclassWinControl, slWinControl, false},
};

constexpr TThemeOption AppPropertyOptions[] = {toAllowNonClientArea, toAllowControls, toAllowWebContent};

} // namespace

uint32_t ThemeAppProperties(TThemeOptions options)
{
    uint32_t flags = 0;
    for (int i = 0; i < 3; ++i)
        if (options.Contains(AppPropertyOptions[i]))
            flags |= 1u << i;
    return flags;
}

TThemeOptions WithThemeAppProperties(TThemeOptions options, uint32_t flags)
{
    for (int i = 0; i < 3; ++i)
        options = flags & (1u << i) ? options.With(AppPropertyOptions[i]) : options.Without(AppPropertyOptions[i]);
    return options;
}

bool WantsFixControls(TThemeOptions options)
{
    return options.Contains(toResetMouseCapture) || options.Contains(toSetTransparency);
}

TStyleList StyleListForInsertion(unsigned kinds, TThemeOptions options, bool themesEnabled)
{
    if (!themesEnabled)
        return (kinds & ckListView) && options.Contains(toSubclassListView) ? slListView : slNone;
    for (const ClassRule& rule : Rules)
        if (kinds & rule.kind)
            return rule.always || options.Contains(rule.option) ? rule.list : slNone;
    return slNone;
}
