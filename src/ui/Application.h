#pragma once
// The application object: message loop, the hidden top-level window with its message
// hooks, exception handling with the default stop box, hints, and the command line.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Handles.h"

class TForm;
class TControl;
struct TMessage;

// A hook sees every message of the application's hidden window first; returning true
// marks the message handled.
using TWindowHook = std::function<bool(TMessage& message)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Creates the hidden window and sets the common controls up.
    void Initialize();
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = new T(this);
        if (!MainForm)
            MainForm = reference;
    }
    // Shows the main form and runs the message loop until the application terminates.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles one message, or waits for one when none is queued (or until Wake).
    void HandleMessage();
    // Ends the wait of HandleMessage now or the next one, so its loop looks at its state
    // again. A message posted for that could be taken by a loop nested in the handler
    // that runs, the outer wait then sleeping on.
    void Wake();
    // Handles every queued message and returns.
    void ProcessMessages();

    // Shows the exception being handled (call from a catch block) in the default box.
    void HandleException();
    void ShowException(const std::string& message);

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    HWND Handle() const { return handle_; }
    // Hides the hint shown now and forgets a pending one. Called whenever a dialog or a
    // modal form opens, so no hint of the control that opened it stays on top of it.
    void CancelHint();
    int HookCount() const { return static_cast<int>(hooks_.size()); }
    // Returns an id for UnhookMainWindow.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);

    // The program's full file name and its command-line arguments (Windows-1251).
    std::string ExeName() const;
    int ParamCount() const;
    std::string ParamStr(int index) const;

    TForm* MainForm = nullptr;  // owned as a component

private:
    static LRESULT CALLBACK HiddenWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool ProcessMessage();
    void ShowHintNow();

    HWND handle_ = nullptr;
    TKernelHandle wake_;  // set by Wake
    bool terminated_ = false;
    std::string title_;
    struct Hook {
        int id;
        TWindowHook fn;
    };
    std::vector<Hook> hooks_;
    int nextHookId_ = 1;
    HWND hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;  // not owned
    std::vector<std::string> params_;
    friend void HintEnter(TControl*);
    friend void HintLeave(TControl*);
};

extern TApplication* Application;

// Called where an exception must not cross a window procedure or a thread's entry.
void ApplicationHandleException();
// The owner for a message box or dialog: the active window, or when the program is not
// active, the main form's last active popup (the main form itself when it has none).
HWND DialogOwnerWindow();
// Hint display: the mouse entered or left a control.
void HintEnter(TControl* control);
void HintLeave(TControl* control);
