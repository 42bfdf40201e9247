#pragma once
// The port selection dialog the port component shows when it must open a port and none
// was chosen, and the probe that decides which ports it lists (Windows only).
#include <cstdint>
#include <string>

#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Buttons.h"

// Probe through a temporary dispatcher rather than opening the device directly.
extern bool UseDispatcherForAvail;
// List a port that exists but is held by someone (its open is refused: access denied).
extern bool ShowPortsInUse;

// Whether the port "\\.\COMn" can be offered; never raises.
bool IsPortAvailable(uint16_t comNum);

class TComSelectForm : public TForm {
public:
    // Builds the form and fills the list (FormCreate).
    explicit TComSelectForm(TComponent* owner);

    // Lists every available port from COM1 to COM50 and selects the first.
    void FormCreate(TObject* Sender);
    // The selected item's text ("COM3"); empty when the list is empty.
    std::string SelectedCom();
    // The selected port's number; 0 when no port is listed.
    uint16_t SelectedComNum();

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TBevel* Bevel1 = nullptr;
    TComboBox* PortsComboBox = nullptr;
    TBitBtn* OkBtn = nullptr;
    TBitBtn* AbortBtn = nullptr;

private:
    void BuildForm();
};
