#include "programming/UnitSetBurnChannels.h"

#include <windows.h>

#include "programming/BurnTexts.h"
#include "programming/ControllerImage.h"
#include "ui/Dialogs.h"

TFormSetBurnChannels* FormSetBurnChannels = nullptr;

TFormSetBurnChannels::TFormSetBurnChannels(TComponent* owner) : TForm(owner) { BuildForm(); }

TFormSetBurnChannels::~TFormSetBurnChannels()
{
    if (FormSetBurnChannels == this)
        FormSetBurnChannels = nullptr;
}

void TFormSetBurnChannels::TakePositions()
{
    range_.ctrlNum.SetPosition(UpDownCtrlNum->Position());
    range_.firstCh.SetPosition(UpDownFirstCh->Position());
    range_.endCh.SetPosition(UpDownEndCh->Position());
}

void TFormSetBurnChannels::ShowUpDown(TUpDown* upDown, const UpDownRange& range)
{
    upDown->SetMin(range.min);
    upDown->SetMax(range.max);
    upDown->SetPosition(range.position);
}

void TFormSetBurnChannels::FormShow(TObject*)
{
    SetCaption(" Программирование " + CtrlName);
    range_.Show(FirstCh, TotalCh, CtrlChannels);
    ShowWholeRange();
}

void TFormSetBurnChannels::ShowWholeRange()
{
    ShowUpDown(UpDownCtrlNum, range_.ctrlNum);
    ShowUpDown(UpDownFirstCh, range_.firstCh);
    ShowUpDown(UpDownEndCh, range_.endCh);
    UpdateRangeLabel();
}

void TFormSetBurnChannels::UpdateRangeLabel()
{
    TakePositions();
    EditEndCh->SetColor(range_.Wide() ? clYellow : clWindow);
    LabelNum->SetCaption(range_.CountLabel());
}

// Each step sets only the up-downs it changes: a number typed into another edit stays
// there as typed.
void TFormSetBurnChannels::RecomputeRange()
{
    TakePositions();
    range_.RecomputeRange();
    ShowUpDown(UpDownFirstCh, range_.firstCh);
    ShowUpDown(UpDownEndCh, range_.endCh);
    UpdateRangeLabel();
}

void TFormSetBurnChannels::FirstChanged()
{
    TakePositions();
    range_.FirstChanged();
    ShowUpDown(UpDownEndCh, range_.endCh);
    UpdateRangeLabel();
}

void TFormSetBurnChannels::FormKeyPress(TObject*, char& Key)
{
    if (Key == 27)
        ModalResult = mrCancel;
}

void TFormSetBurnChannels::UpDownCtrlNumClick(TObject*, TUDBtnType) { RecomputeRange(); }

void TFormSetBurnChannels::EditCtrlNumExit(TObject*)
{
    UpDownCtrlNum->SetPosition(EditInteger(EditCtrlNum->Text()));
    RecomputeRange();
}

void TFormSetBurnChannels::EditCtrlNumKeyPress(TObject* Sender, char& Key)
{
    if (Key == 13)
        EditCtrlNumExit(Sender);
}

void TFormSetBurnChannels::UpDownFirstChClick(TObject*, TUDBtnType) { FirstChanged(); }

// The up-downs read a number typed into their edits themselves; leaving an edit
// neither clamps nor rewrites what was typed there.
void TFormSetBurnChannels::EditFirstChExit(TObject*) { FirstChanged(); }

void TFormSetBurnChannels::EditFirstChKeyPress(TObject* Sender, char& Key)
{
    if (Key == 13)
        EditFirstChExit(Sender);
}

void TFormSetBurnChannels::UpDownEndChClick(TObject*, TUDBtnType) { UpdateRangeLabel(); }

void TFormSetBurnChannels::EditEndChExit(TObject*) { UpdateRangeLabel(); }

void TFormSetBurnChannels::EditEndChKeyPress(TObject* Sender, char& Key)
{
    if (Key == 13)
        EditEndChExit(Sender);
}

void TFormSetBurnChannels::SpeedButtonExitClick(TObject*) { ModalResult = mrCancel; }

void TFormSetBurnChannels::SpeedButtonBurnClick(TObject*)
{
    FirstCh = EditInteger(EditFirstCh->Text()) - 1;
    EndCh = EditInteger(EditEndCh->Text()) - 1;
    // Also refused: a range wider than the 255 channels one image describes.
    if (!IsBurnRange(FirstCh, EndCh, TotalCh)) {
        ShowMessageBox(kChannelRangeMessage, kBurnBoxCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (BuildControllerImage)
        BuildControllerImage(FirstCh, EndCh - FirstCh + 1);
    // The next controller's range, whether this run succeeded or not.
    TakePositions();
    if (range_.NextController())
        ShowWholeRange();
    else
        ModalResult = mrCancel;
}
