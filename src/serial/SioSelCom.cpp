#include "serial/SioSelCom.h"

#include <windows.h>

#include "serial/SioWin32Dispatcher.h"
#include "ui/FormBuilder.h"
#include "ui/Handles.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

bool UseDispatcherForAvail = true;
bool ShowPortsInUse = true;

bool IsPortAvailable(uint16_t comNum)
{
    if (comNum == 0)
        return false;
    const std::string name = "\\\\.\\COM" + IntToStr(comNum);
    DWORD error = 0;
    try {
        if (UseDispatcherForAvail) {
            TSioWin32Dispatcher probe(nullptr);
            if (probe.OpenCom(name.c_str(), 64, 64) >= 0) {
                probe.CloseCom();
                return true;
            }
            error = probe.LastWinError;  // read while the probe still exists
        } else {
            TKernelHandle port(CreateFileW(ToWide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr));
            if (port)
                return true;
            error = GetLastError();
        }
    } catch (...) {
        return false;
    }
    return ShowPortsInUse && error == ERROR_ACCESS_DENIED;
}

TComSelectForm::TComSelectForm(TComponent* owner) : TForm(owner)
{
    BuildForm();
    FormCreate(this);
}

void TComSelectForm::BuildForm()
{
    Name = "ComSelectForm";
    SetCaption("Select Port");
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    TFont font;
    font.Name = "MS Sans Serif";
    font.Height = -11;  // 8 points
    font.Color = clBlack;
    SetFont(font);
    SetClientSize(220, 131);

    Bevel1 = Place<TBevel>(this, this, "Bevel1", 8, 8, 201, 42);
    Label1 = Place<TLabel>(this, this, "Label1", 18, 14, 20, 13);
    Label1->SetCaption("The configured serial port is not valid.");
    Label2 = Place<TLabel>(this, this, "Label2", 18, 30, 20, 13);
    Label2->SetCaption("Please choose another port.");
    // Created in tab order: OK, Cancel, the list.
    OkBtn = Place<TBitBtn>(this, this, "OkBtn", 8, 95, 85, 27);
    OkBtn->SetCaption("OK");
    OkBtn->SetDefault(true);
    OkBtn->ModalResult = mrOk;
    AbortBtn = Place<TBitBtn>(this, this, "AbortBtn", 124, 95, 85, 27);
    AbortBtn->SetCaption("Cancel");
    AbortBtn->ModalResult = mrAbort;
    // Its style is set before it joins the form, so its window is made once.
    PortsComboBox = Place<TComboBox>(this, nullptr, "PortsComboBox", 8, 64, 201, 21);
    PortsComboBox->SetStyle(csDropDownList);
    PortsComboBox->SetParent(this);
}

void TComSelectForm::FormCreate(TObject*)
{
    for (uint16_t n = 1; n <= 50; ++n)
        if (IsPortAvailable(n))
            PortsComboBox->Items().Add("COM" + IntToStr(n));
    if (PortsComboBox->Items().Count() > 0)
        PortsComboBox->SetItemIndex(0);
}

std::string TComSelectForm::SelectedCom()
{
    int index = PortsComboBox->ItemIndex();
    return index >= 0 ? PortsComboBox->Items()[index] : std::string();
}

uint16_t TComSelectForm::SelectedComNum()
{
    // "COM" and the number: nothing selected gives no number rather than a bad conversion.
    std::string text = SelectedCom();
    int n = text.size() > 3 ? StrToIntDef(text.substr(3), 0) : 0;
    return n > 0 && n <= 0xFFFF ? static_cast<uint16_t>(n) : 0;
}
