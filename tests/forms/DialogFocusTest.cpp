// The program's dialogs open with the focus in their first field, its enter event run,
// so that typing goes there without a click.
#include <gtest/gtest.h>

#include "programming/UnitSetBurnChannels.h"
#include "serial/SioSelCom.h"
#include "setup/UnitChSetup.h"
#include "setup/UnitGradient.h"
#include "support/RecordingDialogs.h"
#include "ui/Application.h"

namespace {

// The control that has the focus once the form is open.
TWinControl* FocusedOnOpening(TForm* form)
{
    form->Show();
    TWinControl* focused = form->ActiveControl();
    return focused && focused->Focused() ? focused : nullptr;
}

TEST(DialogFocus, EachDialogOpensWithItsFirstFieldFocused)
{
    RecordingDialogs dialogs;

    auto* range = new TFormSetBurnChannels(Application);
    range->EndCh = range->TotalCh = 40;
    range->CtrlChannels = 18;
    EXPECT_EQ(FocusedOnOpening(range), range->EditCtrlNum);
    TComponent::Free(range);

    auto* gradient = new TFormGradient(Application);
    gradient->Maximum = 128;
    EXPECT_EQ(FocusedOnOpening(gradient), gradient->EditMin);
    EXPECT_EQ(gradient->EditMin->Color(), clWindow) << "its enter event ran";
    TComponent::Free(gradient);

    auto* setup = new TFormChSetup(Application);
    EXPECT_EQ(FocusedOnOpening(setup), setup->StringGridCh);
    TComponent::Free(setup);

    auto* port = new TComSelectForm(Application);
    EXPECT_EQ(FocusedOnOpening(port), port->OkBtn);
    TComponent::Free(port);
}

TEST(DialogFocus, AFormShownAgainOpensInItsFirstFieldOnceMore)
{
    RecordingDialogs dialogs;
    auto* gradient = new TFormGradient(Application);
    gradient->Maximum = 128;
    gradient->Show();
    gradient->EditMax->SetFocus();
    gradient->Hide();
    EXPECT_EQ(gradient->EditMax->Color(), clWindow) << "hiding ran no exit event";
    EXPECT_EQ(FocusedOnOpening(gradient), gradient->EditMin);
    EXPECT_EQ(gradient->EditMin->Color(), clWindow) << "its enter event ran again";
    TComponent::Free(gradient);
}

} // namespace
