#pragma once
// The gradient dialog of the effects box: the begin and end levels of a gradient. It
// exists for the main window's whole run and is shown modally for each gradient.
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

class TFormGradient : public TForm {
public:
    explicit TFormGradient(TComponent* owner);
    ~TFormGradient() override;

    TLabel* Label1;
    TTrackBar* TrackBarBeginValue;
    TEdit* EditMin;
    TLabel* Label2;
    TTrackBar* TrackBarEndValue;
    TEdit* EditMax;
    TSpeedButton *SpeedButtonOk, *SpeedButtonCancel;

    void FormShow(TObject* Sender);
    void SpeedButtonOkClick(TObject* Sender);
    void SpeedButtonCancelClick(TObject* Sender);
    void EditMinExit(TObject* Sender);
    void EditMaxExit(TObject* Sender);
    void EditMinKeyPress(TObject* Sender, char& Key);
    void EditMaxKeyPress(TObject* Sender, char& Key);
    void EditMinEnter(TObject* Sender);
    void TrackBarBeginValueChange(TObject* Sender);
    void TrackBarEndValueChange(TObject* Sender);

    int Maximum = 0;      // the largest level; set before showing
    int BeginValue = 0;   // the results, valid after mrOk
    int EndValue = 0;
    int BeginPreset = 0;  // set before showing; negative: none
    int EndPreset = 0;

private:
    void BuildForm();
    // Takes an edit's number into value (kept when it is none), limited to 0..Maximum.
    void TakeValue(TEdit* edit, TTrackBar* bar, int& value);
    void KeyPress(TEdit* edit, void (TFormGradient::*exit)(TObject*), int value, char& key);
};

extern TFormGradient* FormGradient;
