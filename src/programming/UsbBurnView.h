#pragma once
// What the USB programming steps ask of the programming window. Every call comes on the
// main thread, from UsbBurn::Connect or UsbBurn::Tick.
#include <string>

class UsbBurnView {
public:
    virtual ~UsbBurnView() = default;

    // The status line's caption.
    virtual void ShowStatus(const std::string& caption) = 0;
    // Shows the progress bar with these bounds and position.
    virtual void ShowProgress(int min, int max, int position) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void HideProgress() = 0;
    // Lets pending window messages run (repainting, the user's clicks).
    virtual void ProcessMessages() = 0;

    // Boxes titled "Программирование контроллера": an error box with an OK button; a
    // question with Yes and No (true for Yes); the time-out box with the error icon, OK
    // and Cancel (true for OK, which means "keep searching").
    virtual void ShowError(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual bool AskRetry(const std::string& text) = 0;

    // The main window's step maximum (keep: the scenario is not cut).
    virtual void SetMaxSteps(int steps, bool keep) = 0;
    // Closes the programming window; no further call follows.
    virtual void Close() = 0;
};
