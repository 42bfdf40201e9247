#include "ui/Forms.h"

#include <algorithm>
#include <optional>

#include "ui/Application.h"
#include "ui/Exceptions.h"
#include "ui/FlagScope.h"
#include "ui/Messages.h"
#include "ui/TaskWindows.h"
#include "ui/WorkArea.h"

namespace {
TScreen screenInstance;
}
TScreen* Screen = &screenInstance;

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    visible_ = false;
    width_ = 640;
    height_ = 480;
    left_ = CW_USEDEFAULT;
    top_ = CW_USEDEFAULT;
    Screen->forms_.push_back(this);
}

TForm::~TForm()
{
    DestroyComponents();
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application && Application->MainForm == this)
        Application->MainForm = nullptr;
}

void TForm::BeforeDestruction()
{
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            ApplicationHandleException();
        }
    }
    ComponentState |= csDestroying;
    DestroyComponents();
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == activeControl_)
        activeControl_ = nullptr;
}

void TForm::CreateParams(TCreateParams& p)
{
    p.systemClass = nullptr;
    p.parent = nullptr;
    p.exStyle = 0;
    switch (BorderStyle) {
    case bsNone:
        p.style = WS_POPUP;
        break;
    case bsSingle:
        p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case bsDialog:
        p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        p.exStyle = WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        p.exStyle = WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        p.exStyle = WS_EX_TOOLWINDOW;
        break;
    default:
        p.style = WS_OVERLAPPEDWINDOW;
        break;
    }
    p.style |= WS_CLIPCHILDREN;
    p.exStyle |= WS_EX_CONTROLPARENT;
    bool isMain = Application && Application->MainForm == this;
    if (isMain || ShowInTaskbar)
        p.exStyle |= WS_EX_APPWINDOW;
    else if (Application && Application->MainForm && Application->MainForm->HandleAllocated())
        p.parent = Application->MainForm->Handle();  // owned: stays above the main window
    if (StayOnTop)
        p.exStyle |= WS_EX_TOPMOST;
}

void TForm::PlaceOnScreen()
{
    if (placed_)
        return;
    placed_ = true;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int w = width_, h = height_;
    int x = left_, y = top_;
    TForm* center = nullptr;
    if (Position == poMainFormCenter && Application && Application->MainForm != this)
        center = Application->MainForm;
    else if (Position == poOwnerFormCenter)
        center = dynamic_cast<TForm*>(Owner());
    if (center && center->HandleAllocated() && center->Visible()) {
        x = center->Left() + (center->Width() - w) / 2;
        y = center->Top() + (center->Height() - h) / 2;
    } else if (Position != poDesigned || x == CW_USEDEFAULT) {
        x = work.left + (work.right - work.left - w) / 2;
        y = work.top + (work.bottom - work.top - h) / 2;
    }
    TRect fitted = FitToWorkArea(x, y, w, h);
    SetBounds(fitted.Left, fitted.Top, fitted.Width(), fitted.Height());
}

void TForm::SetClientSize(int width, int height)
{
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
    SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

TWindowState TForm::WindowState()
{
    if (!HandleAllocated())
        return pendingState_;
    if (IsIconic(handle_))
        return wsMinimized;
    return IsZoomed(handle_) ? wsMaximized : wsNormal;
}

void TForm::SetWindowState(TWindowState state)
{
    pendingState_ = state;
    if (HandleAllocated() && visible_)
        ShowWindow(handle_, state == wsMaximized ? SW_MAXIMIZE : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

bool TForm::Active() const { return handle_ && GetActiveWindow() == handle_; }

void TForm::Show()
{
    SetVisible(true);
    if (HandleAllocated()) {
        SetForegroundWindow(handle_);
        SetActiveWindow(handle_);
    }
}

void TForm::VisibleChanged()
{
    if (visible_) {
        PlaceOnScreen();
        HandleNeeded();
        int cmd = pendingState_ == wsMaximized ? SW_SHOWMAXIMIZED
                : pendingState_ == wsMinimized ? SW_SHOWMINIMIZED
                                               : SW_SHOW;
        // The focus goes to a control once OnShow has filled the form in.
        {
            FlagScope showing(showing_);
            ShowWindow(handle_, cmd);
            if (OnShow && EventsAllowed())
                OnShow(this);
        }
        if (Active())
            FocusActiveControl();
    } else if (handle_) {
        if (OnHide && EventsAllowed())
            OnHide(this);
        ShowWindow(handle_, SW_HIDE);
        // The next opening starts afresh in the first tab stop, its enter event run. The
        // control is forgotten without its exit event: a form hidden by Cancel applies
        // nothing.
        TrackActiveControl(nullptr);
    }
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (control && control->HandleAllocated() && Visible() && control->CanFocus())
        control->SetFocus();
    else
        TrackActiveControl(control);
}

void TForm::TrackActiveControl(TWinControl* control)
{
    // The control may be owned elsewhere (a grid's editor, a panel's controls): ask to be
    // told when it goes, so activeControl_ never dangles.
    if (activeControl_ && activeControl_ != control)
        RemoveFreeNotification(activeControl_);
    activeControl_ = control;
    if (control)
        FreeNotification(control);
}

void TForm::SetFocusedControl(TWinControl* control)
{
    if (control == activeControl_)
        return;
    TWinControl* old = activeControl_;
    TrackActiveControl(control);
    // Focus moving into a child (a grid's in-place editor, an edit in a group box) does
    // not leave the parent: exit up to the common parent, then enter down from it.
    auto holds = [](TWinControl* outer, TControl* inner) {
        for (TControl* c = inner; c; c = c->Parent())
            if (c == outer)
                return true;
        return false;
    };
    for (TWinControl* w = old; w && w != this && !holds(w, control); w = w->Parent())
        w->DoExit();
    std::vector<TWinControl*> entered;
    for (TWinControl* w = control; w && w != this && !holds(w, old); w = w->Parent())
        entered.insert(entered.begin(), w);
    for (TWinControl* w : entered)
        if (activeControl_ == control)
            w->DoEnter();
}

void TForm::FocusActiveControl()
{
    if (activeControl_ && activeControl_->HandleAllocated() && activeControl_->CanFocus()) {
        ::SetFocus(activeControl_->Handle());
        return;
    }
    // None yet: the first tab stop, as the Tab key goes from the form itself.
    if (HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE))
        ::SetFocus(first);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery && EventsAllowed())
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close()
{
    if (modal_) {
        ModalResult = mrCancel;
        // A close asked for in a message another thread sent (handled inside the modal
        // loop's wait) brings no message that would end that wait.
        Application->Wake();
        return;
    }
    if (!CloseQuery())
        return;
    bool isMain = Application && Application->MainForm == this;
    TCloseAction action = isMain ? caFree : caHide;
    if (OnClose && EventsAllowed())
        OnClose(this, action);
    if (action == caNone)
        return;
    if (isMain) {
        Application->Terminate();
        return;
    }
    if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TForm::CloseModal()
{
    TCloseAction action = caHide;
    if (!CloseQuery())
        action = caNone;
    else if (OnClose && EventsAllowed())
        OnClose(this, action);
    if (action == caNone)
        ModalResult = mrNone;
}

int TForm::ShowModal()
{
    if (visible_ || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    Application->CancelHint();
    if (GetCapture())
        ReleaseCapture();
    HWND previous = GetActiveWindow();
    // Every other window of the program is disabled while this one runs (this one is not
    // visible yet).
    std::optional<TTaskWindowsDisabled> others(std::in_place);
    auto restore = [&] {
        others.reset();
        if (previous && IsWindow(previous))
            SetActiveWindow(previous);
    };
    modal_ = true;
    ModalResult = mrNone;
    try {
        Show();
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                ModalResult = mrCancel;
            else if (ModalResult != mrNone)
                CloseModal();
        } while (ModalResult == mrNone);
    } catch (...) {
        modal_ = false;
        restore();
        Hide();
        throw;
    }
    modal_ = false;
    restore();
    Hide();
    return ModalResult;
}

void TForm::Release()
{
    if (HandleAllocated())
        PostMessageW(handle_, CM_RELEASE, 0, 0);
    else
        TComponent::Free(this);
}

void TForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_QUERYENDSESSION:
        // Logoff or shutdown: the main form may refuse, as when it is closed.
        if (Application && Application->MainForm == this) {
            m.Result = CloseQuery() ? TRUE : FALSE;
            return;
        }
        break;
    case CM_RELEASE:
        // Inside a loop that a handler runs (its message box), that handler may still be
        // using the form: wait until the outermost loop handles the message.
        if (DispatchDepth() > 1) {
            PostWhenOutermost(handle_, CM_RELEASE);
            return;
        }
        TComponent::Free(this);
        return;  // the object is gone
    case WM_ACTIVATE:
        DefaultHandler(m);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            if (!showing_)
                FocusActiveControl();
            if (OnActivate && EventsAllowed())
                OnActivate(this);
        } else if (OnDeactivate && EventsAllowed()) {
            OnDeactivate(this);
        }
        return;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintMessage(m, canvas_, OnPaint && EventsAllowed() ? std::function<void()>([this] { OnPaint(this); })
                                                            : std::function<void()>());
        return;
    }
    TWinControl::WndProc(m);
}

TForm* TScreen::ActiveForm() const
{
    HWND active = GetActiveWindow();
    for (TForm* f : forms_)
        if (f->HandleAllocated() && f->Handle() == active)
            return f;
    return nullptr;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
