// The programming window's form description: components with their names, captions,
// geometry and event bindings.
#include "programming/UnitBurn.h"
#include "programming/BurnTexts.h"
#include "ui/FormBuilder.h"

void TFormBurn::BuildForm()
{
    BeginLoading(*this);
    Name = "FormBurn";
    SetCaption("  Программирование");
    BorderStyle = bsToolWindow;
    Position = poScreenCenter;
    SetClientSize(283, 72);

    TFont bold = Font();
    bold.Height = -13;
    bold.Style = fsBold;
    Panel2 = Place<TPanel>(this, this, "Panel2", 0, 0, 283, 72);
    Panel2->SetAlign(alClient);
    Panel2->SetFont(bold);
    Panel1 = Place<TPanel>(this, Panel2, "Panel1", 8, 10, 267, 22);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetFont(bold);
    Panel1->SetCaption("Подготовка...");
    ProgressBar1 = Place<TProgressBar>(this, Panel2, "ProgressBar1", 8, 42, 267, 18);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(100);
    ProgressBar1->Hide();

    SioComPort1 = Make<TSioComPort>(this, "SioComPort1");
    SioComPort1->SetComNumber(1);
    SioComPort1->SetBaud(38400);
    SioComPort1->AutoOpen = false;
    SioComPort1->SetDTR(false);
    SioComPort1->SetRTS(false);
    SioComPort1->TraceName = "SIO.TRC";
    SioComPort1->TraceAllHex = true;
    SioComPort1->LogName = "SIO.LOG";
    SioComPort1->LogAllHex = true;
    SioComPort1->TapiMode = tmOff;

    Timer1 = Make<TTimer>(this, "Timer1");
    Timer1->SetEnabled(false);

    BindEvents();
    FinishLoading(*this);
}

void TFormBurn::BindEvents()
{
    using std::placeholders::_1;
    using std::placeholders::_2;
    OnClose = std::bind(&TFormBurn::FormClose, this, _1, _2);
    OnDestroy = std::bind(&TFormBurn::FormDestroy, this, _1);
    OnPaint = std::bind(&TFormBurn::FormPaint, this, _1);
    SioComPort1->SetOnTriggerAvail(std::bind(&TFormBurn::SioComPort1TriggerAvail, this, _1, _2));
    Timer1->OnTimer = std::bind(&TFormBurn::Timer1Timer, this, _1);
}
