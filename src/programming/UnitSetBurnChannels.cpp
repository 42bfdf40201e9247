#include "programming/UnitSetBurnChannels.h"

#include <windows.h>

#include "programming/BurnTexts.h"
#include "programming/ControllerImage.h"
#include "ui/Dialogs.h"
#include "ui/SysUtils.h"

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

void TFormSetBurnChannels::ShowRange()
{
    const std::pair<TUpDown*, const UpDownRange*> controls[] = {
        {UpDownCtrlNum, &range_.ctrlNum}, {UpDownFirstCh, &range_.firstCh}, {UpDownEndCh, &range_.endCh}};
    for (const auto& [upDown, range] : controls) {
        upDown->SetMin(range->min);
        upDown->SetMax(range->max);
        upDown->SetPosition(range->position);
    }
    UpdateRangeLabel();
}

void TFormSetBurnChannels::FormShow(TObject*)
{
    SetCaption(" Программирование " + CtrlName);
    range_.Show(FirstCh, TotalCh, CtrlChannels);
    ShowRange();
}

void TFormSetBurnChannels::UpdateRangeLabel()
{
    TakePositions();
    EditEndCh->SetColor(range_.Wide() ? clYellow : clWindow);
    LabelNum->SetCaption(range_.CountLabel());
}

void TFormSetBurnChannels::RecomputeRange()
{
    TakePositions();
    range_.RecomputeRange();
    ShowRange();
}

void TFormSetBurnChannels::FirstChanged()
{
    TakePositions();
    range_.FirstChanged();
    ShowRange();
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

// The channel edits follow their up-downs as the up-down's buddy does: a number typed
// there becomes the position (kept within the range); anything else leaves it.
void TFormSetBurnChannels::EditFirstChExit(TObject*)
{
    UpDownFirstCh->SetPosition(StrToIntDef(EditFirstCh->Text(), UpDownFirstCh->Position()));
    FirstChanged();
}

void TFormSetBurnChannels::EditFirstChKeyPress(TObject* Sender, char& Key)
{
    if (Key == 13)
        EditFirstChExit(Sender);
}

void TFormSetBurnChannels::UpDownEndChClick(TObject*, TUDBtnType) { UpdateRangeLabel(); }

void TFormSetBurnChannels::EditEndChExit(TObject*)
{
    UpDownEndCh->SetPosition(StrToIntDef(EditEndCh->Text(), UpDownEndCh->Position()));
    UpdateRangeLabel();
}

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
        ShowRange();
    else
        ModalResult = mrCancel;
}
