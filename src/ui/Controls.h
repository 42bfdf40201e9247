#pragma once
// Controls: the common base (TControl), windowed controls that own an HWND
// (TWinControl, TCustomControl) and non-windowed ones painted by their parent
// (TGraphicControl). Every control has one replaceable message handler, WindowProc;
// Perform sends a message through it. Only the GUI thread touches controls.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Graphics.h"

class TWinControl;
class TForm;
class TPopupMenu;

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndMethod = std::function<void(TMessage&)>;

using TShiftState = unsigned;
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Control style bits: csCaptureMouse, the control captures the mouse while a button
// is held on it; csOpaque, the control paints all of its area itself, so invalidating it
// does not erase its background first.
enum TControlStyleFlags : unsigned { csCaptureMouse = 0x1, csOpaque = 0x2 };
// Mouse pointer shown over a control; crDefault leaves it to the window.
enum TCursor : int { crDefault = 0, crArrow = -2, crHandPoint = -21 };

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// MousePos in screen coordinates; a handler that sets Handled keeps the wheel from the
// control's own use of it (scrolling).
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// Shift state of the keyboard (and mouse buttons) right now.
TShiftState KeyboardShiftState();
// Shift state a mouse message carries in its wParam (MK_* flags), Alt from the keyboard.
TShiftState MouseShiftState(WPARAM keys);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form), or null.
    TForm* ParentForm();

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Width(); }
    int ClientHeight() { return ClientRect().Height(); }
    TPoint ClientToScreen(TPoint p);
    TPoint ScreenToClient(TPoint p);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so is every parent.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Caption and Text are one property.
    virtual std::string Text();
    void SetText(const std::string& text);
    std::string Caption() { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

    TColor Color() const { return color_; }
    // Setting a colour ends ParentColor.
    void SetColor(TColor color);
    // The control takes its parent's colour, now and whenever the parent's changes.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);

    std::string Hint;
    bool ShowHint = true;
    unsigned ControlStyle = 0;  // TControlStyleFlags
    TCursor Cursor = crDefault;
    TPopupMenu* PopupMenu = nullptr;  // not owned

    virtual bool IsWindowed() const { return false; }

    // The replaceable message handler; by default it calls WndProc. Subclassing means
    // swapping it and calling the one it replaced.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled.
    virtual void DefaultHandler(TMessage& message);

    virtual void Invalidate();
    void Repaint();
    // The path a click takes: real clicks and tests call it alike.
    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelUpDownEvent OnMouseWheelDown;  // the wheel turned towards the user
    TMouseWheelUpDownEvent OnMouseWheelUp;

protected:
    // True unless the control or its form is being destroyed: events stay quiet then.
    bool EventsAllowed();
    virtual void TextChanged() {}
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The control had the mouse capture and lost it before the button went up (a box
    // shown from MouseDown, a switch to another program): no click may follow.
    virtual void MouseCaptureLost() { clickPending_ = false; }
    // Handles the mouse messages common to all controls; true when handled.
    bool HandleMouseMessage(TMessage& message);

    TWinControl* parent_ = nullptr;  // not owned
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool mouseInControl_ = false;
    bool clickPending_ = false;  // left button went down on this control

private:
    // A new colour, passed on to the children that follow their parent's.
    void ChangeColor(TColor color);

    friend class TWinControl;
};

// A control without a window, painted by its parent through WM_PAINT carrying the DC
// (wParam), in its own coordinates.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    void WndProc(TMessage& message) override;
    TCanvas* Canvas() { return &canvas_; }

protected:
    virtual void Paint() {}
    TCanvas canvas_;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }
    // The window, created on first use (the parent's window first).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and creates it anew, keeping the control's state. Goes
    // through the control's message handler as CM_RECREATEWND.
    void RecreateWnd();
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() override;
    std::string Text() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_[static_cast<size_t>(index)]; }
    // The visible, enabled non-windowed child under a client point, topmost first.
    TControl* ControlAtPos(TPoint p) const;
    // Paints the non-windowed children that meet the clip rectangle into dc.
    void PaintControls(HDC dc, const RECT* clip);
    // Lays out the children that have an Align.
    void AlignControls();

    bool Focused() const;
    bool CanFocus();
    virtual void SetFocus();
    bool TabStop = false;
    // Paints through an off-screen bitmap (own windows only): the background is erased
    // into the bitmap with WM_ERASEBKGND carrying its DC in both parameters.
    bool DoubleBuffered = false;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void Invalidate() override;

    // Sent when this control becomes or stops being the focused control of its form.
    void DoEnter();
    void DoExit();

    // The up-down whose associate this control is (not owned; the up-down sets and
    // clears it): it steps with the Up and Down keys this control's key events leave.
    TWinControl* AssociatedUpDown() const { return associatedUpDown_; }
    void SetAssociatedUpDown(TWinControl* upDown) { associatedUpDown_ = upDown; }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnResize;

protected:
    struct TCreateParams {
        const wchar_t* systemClass = nullptr;  // null: the library's own window class
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        HWND parent = nullptr;
    };
    virtual void CreateParams(TCreateParams& params);
    // After the window exists: push the control's state into it.
    virtual void CreateHandleDone() {}
    // Before the window goes: pull any state that lives only in the window.
    virtual void DestroyHandleStart() {}
    void CreateWnd();
    void DestroyWnd();
    // The recreation itself, run by CM_RECREATEWND.
    void RecreateWindow();
    // Answers WM_PAINT (into the DC in wParam when there is one, else between
    // BeginPaint and EndPaint) and WM_PRINTCLIENT (into the DC in wParam): paint draws on
    // canvas, then the non-windowed children are painted. Cleans up when paint throws.
    void PaintMessage(TMessage& message, TCanvas& canvas, const std::function<void()>& paint);

    // A key message of this control before its window sees it: the key notification,
    // menu shortcuts, key events, the associated up-down's keys and the form's dialog
    // keys. True when used up; otherwise the message (its key perhaps replaced) goes on.
    bool HandleKeyMessage(TMessage& message);
    // Key handling: form preview first, then the control's own event. Return true when
    // the key was consumed (then the default handling is skipped).
    virtual bool DoKeyDown(WORD& key, TShiftState shift);
    virtual bool DoKeyPress(char& key);
    // Runs the popup-menu item (of this control or a parent) that has the key as its
    // shortcut; true when one ran.
    bool DoMenuKey(WORD key);
    // True when the control wants Enter or Escape itself (WM_GETDLGCODE with the key).
    bool WantsDialogKey(WORD key, LPARAM keyData);
    // Erases the background with the control's colour.
    virtual bool EraseBackground(HDC dc);
    // A key of the control whose up-down this is; true when it was used.
    virtual bool AssociateKey(WORD key) { (void)key; return false; }
    // Reflected notification of a system control (CN_*); true when handled.
    virtual bool HandleReflected(TMessage& message) { (void)message; return false; }
    // WM_MOUSEWHEEL: runs OnMouseWheelDown or OnMouseWheelUp; true when one handled it.
    virtual bool DoMouseWheel(TShiftState shift, int delta, TPoint mousePos);

    void VisibleChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void TextChanged() override;

    HWND handle_ = nullptr;
    WNDPROC defProc_ = nullptr;            // the system class's procedure, or DefWindowProc
    std::vector<TControl*> controls_;      // child controls, not owned (owners free them)
    TBrushHandle colorBrush_;              // brush of color_ for colour messages
    TColor colorBrushColor_ = 0;
    bool recreating_ = false;
    bool aligning_ = false;
    TWinControl* associatedUpDown_ = nullptr;  // not owned

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ReflectToChild(TMessage& message);
    void TrackMouse(TControl* target);
    // The window's rectangle in its parent's client coordinates (a form's on the screen).
    TRect WindowBounds() const;
    LRESULT ColorMessage(HDC dc);

    friend class TControl;
};

// A windowed control of the library's own window class that paints itself on a canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    void WndProc(TMessage& message) override;
    TCanvas* Canvas() { return &canvas_; }

protected:
    virtual void Paint() {}
    TCanvas canvas_;
};

// Counts the library's window procedures running on the stack: 1 in a handler called
// from the outermost message loop, more inside a loop that a handler runs (a message
// box, a modal form). Each window procedure of the library holds one scope.
class TDispatchScope {
public:
    TDispatchScope();
    ~TDispatchScope();
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;
};
int DispatchDepth();
// Posts msg (no parameters) to window once the outermost handler has returned, so the
// outermost message loop handles it.
void PostWhenOutermost(HWND window, UINT msg);

// The control at a screen point: the innermost windowed control of ours under it, or its
// non-windowed child there (disabled ones too when allowDisabled); null when none.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);

// The control's parent erases its own background into dc at the control's place (what
// a see-through control shows behind it); nothing without a parent.
void EraseWithParentBackground(TControl* control, HDC dc);

// Control helpers for the mouse and capture state shared by all controls.
TControl* MouseControl();
TControl* CaptureControl();
void SetCaptureControl(TControl* control);
