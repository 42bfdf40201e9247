#pragma once
// The channel-range programming window: for a scenario wider than one controller, it
// proposes one controller's range of channels after the other, lets the user adjust it,
// and has each range programmed. It exists for the main window's whole run.
#include <functional>
#include <string>

#include "programming/BurnChannelRange.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

class TFormSetBurnChannels : public TForm {
public:
    explicit TFormSetBurnChannels(TComponent* owner);
    ~TFormSetBurnChannels() override;

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* LabelNum = nullptr;
    TEdit* EditCtrlNum = nullptr;
    TUpDown* UpDownCtrlNum = nullptr;
    TEdit* EditFirstCh = nullptr;
    TUpDown* UpDownFirstCh = nullptr;
    TEdit* EditEndCh = nullptr;
    TUpDown* UpDownEndCh = nullptr;
    TSpeedButton* SpeedButtonBurn = nullptr;
    TSpeedButton* SpeedButtonExit = nullptr;

    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, char& Key);
    void UpDownCtrlNumClick(TObject* Sender, TUDBtnType Button);
    void EditCtrlNumExit(TObject* Sender);
    void EditCtrlNumKeyPress(TObject* Sender, char& Key);
    void UpDownFirstChClick(TObject* Sender, TUDBtnType Button);
    void EditFirstChExit(TObject* Sender);
    void EditFirstChKeyPress(TObject* Sender, char& Key);
    void UpDownEndChClick(TObject* Sender, TUDBtnType Button);
    void EditEndChExit(TObject* Sender);
    void EditEndChKeyPress(TObject* Sender, char& Key);
    void SpeedButtonBurnClick(TObject* Sender);
    void SpeedButtonExitClick(TObject* Sender);

    void UpdateRangeLabel();
    void RecomputeRange();
    void FirstChanged();

    // Set by the main window before the window is shown.
    int FirstCh = 0;       // first channel, 0-based; after a range was programmed, its first
    int EndCh = 0;         // last channel, 0-based; after a range was programmed, its last
    int TotalCh = 0;       // channel rows of the scenario
    std::string CtrlName;  // controller model name
    int CtrlChannels = 0;  // channels one controller drives
    // Programs channels first .. first + count - 1: the main window's image builder,
    // which runs one programming window.
    std::function<void(int first, int count)> BuildControllerImage;

private:
    void BuildForm();
    void BindEvents();
    void PaintGlyphs();
    // The up-downs' positions into the range, and one up-down's range and position
    // from it.
    void TakePositions();
    void ShowUpDown(TUpDown* upDown, const UpDownRange& range);
    // Every up-down from the range, and the count label.
    void ShowWholeRange();

    BurnChannelRange range_;
};

extern TFormSetBurnChannels* FormSetBurnChannels;
