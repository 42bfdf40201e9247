#pragma once
// Forms: top-level windows, modeless (Show) or modal (ShowModal). Closing a modal
// form only sets its ModalResult; the modal loop ends it, so Close from inside an event
// handler is safe. Forms are freed with TComponent::Free or Release.
#include <functional>
#include <vector>

#include "ui/Controls.h"

enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    // Raises OnDestroy while the whole form exists, then frees its components.
    void BeforeDestruction() override;

    void Show();
    // Hiding forgets the focused control: the next opening starts in the first tab stop.
    void Hide() { SetVisible(false); }
    // Asks CloseQuery, then OnClose; hides, frees or (main form) ends the application.
    void Close();
    // Shows the form modally and returns its ModalResult.
    int ShowModal();
    bool IsModal() const { return modal_; }
    // Frees the form once the messages already queued have been handled.
    void Release();
    virtual bool CloseQuery();

    int ModalResult = mrNone;
    bool KeyPreview = false;
    TBorderStyle BorderStyle = bsSizeable;
    TPosition Position = poDesigned;
    bool StayOnTop = false;
    bool ShowInTaskbar = false;  // the main form always shows in the task bar

    void SetClientSize(int width, int height);
    TWindowState WindowState();
    void SetWindowState(TWindowState state);
    bool Active() const;

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Called when a control of this form receives the focus: exit, then enter.
    void SetFocusedControl(TWinControl* control);

    TCanvas* Canvas() { return &canvas_; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void VisibleChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CloseModal();
    void TrackActiveControl(TWinControl* control);
    // Focuses the control that had the focus, or else the first tab stop in tab order.
    void FocusActiveControl();
    // On the first showing: centred where Position asks for it, and fitted to the
    // monitors' work areas.
    void PlaceOnScreen();

    bool modal_ = false;
    bool placed_ = false;
    bool showing_ = false;  // between showing the window and the end of OnShow
    TWinControl* activeControl_ = nullptr;  // not owned
    TCanvas canvas_;
    TWindowState pendingState_ = wsNormal;
};

// The forms in creation order.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TForm* Forms(int index) const { return forms_[static_cast<size_t>(index)]; }
    TForm* ActiveForm() const;
    int Width() const;
    int Height() const;

private:
    std::vector<TForm*> forms_;  // not owned
    friend class TForm;
};

extern TScreen* Screen;
