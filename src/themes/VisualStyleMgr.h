#pragma once
// The component that makes the standard controls of every form draw with the platform's
// visual style. It hooks the application's window, finds the forms of the application
// and every control on them, and replaces the message handler of each control whose
// class it knows by one of its own (subclassing). That handler first offers the message
// to the manager's event and listeners, then either draws the control with the theme
// services or passes the message on to the control's saved handler. Several managers
// may exist; exactly one, the main manager, subclasses, and the others defer to it.
// GUI thread only.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "themes/ControlRegistry.h"
#include "themes/ListenerList.h"
#include "themes/ThemeOptions.h"
#include "themes/ThemedElements.h"
#include "ui/Controls.h"

class TApplication;
class TBitBtn;
class TCheckListBox;
class TCustomGroupBox;
class TCustomPanel;
class TForm;
class TVisualStyleManager;

// Sent (synchronously) to the application's window when the main manager goes, so that
// another one takes its place; wParam, lParam 0.
constexpr UINT WM_MAINSTYLEMANAGERRELEASED = 0xBCB2;

using TControlMessageEvent =
    std::function<void(TObject* Sender, TControl* Control, TMessage& Message, bool& Handled)>;
using TAllowSubclassingEvent = std::function<void(TObject* Sender, TControl* Control, bool& Allow)>;
using TControlMessageListeners = ListenerList<TObject*, TControl*, TMessage&>;
using TControlMessageListener = TControlMessageListeners::Listener;

// The subclassed controls of one class, each with the message handler it had before.
class TWindowProcList {
public:
    TWindowProcList(TVisualStyleManager* owner, TStyleList kind) : owner_(owner), kind_(kind) {}
    // Restores every control it holds.
    ~TWindowProcList() { Clear(); }
    TWindowProcList(const TWindowProcList&) = delete;
    TWindowProcList& operator=(const TWindowProcList&) = delete;

    TStyleList Kind() const { return kind_; }
    int Count() const { return entries_.Count(); }
    TControl* Control(int index) const;
    // Subclasses a control of the list's class that it does not hold yet: its handler
    // becomes the manager's procedure of the class, and the manager hears of its
    // destruction. Returns the new index, or -1 when nothing was added.
    int Add(TControl* control);
    bool Find(TControl* control, int& index) { return entries_.Find(control, index); }
    // Gives the control its handler back, and releases its windowed children too.
    void Remove(TControl* control);
    void Clear();
    // Passes a message to the control's saved handler. A control whose window is
    // destroyed leaves the list, unless the window is only being recreated.
    void DispatchMessage(TControl* control, TMessage& message);

private:
    TVisualStyleManager* owner_;
    TStyleList kind_;
    ControlRegistry<TWndMethod> entries_;
};

class TVisualStyleManager : public TComponent {
public:
    explicit TVisualStyleManager(TComponent* owner);
    ~TVisualStyleManager() override;

    // The main manager collects every form.
    void Loaded() override;

    TThemeOptions Options() const { return options_; }
    // On a manager that is not the main one, applied to the main manager.
    void SetThemeOptions(TThemeOptions value);
    bool IsMainManager() const;
    // The main manager, or null.
    static TVisualStyleManager* CurrentStyleManager();
    // Makes this manager the main one at once; the previous one lets its controls go.
    virtual void ForceAsMainManager();

    TNotifyEvent OnThemeChange;
    TControlMessageEvent OnControlMessage;
    TAllowSubclassingEvent OnAllowSubclassing;

    void RegisterListener(const TControlMessageListener& listener) { listeners_.Register(listener); }
    void UnregisterListener(const TControlMessageListener& listener) { listeners_.Unregister(listener); }
    bool FindListener(const TControlMessageListener& listener, int& index) const
    {
        return listeners_.Find(listener, index);
    }

    // Controls whose window is being recreated keep their subclassing; their children
    // are collected again once the new window exists.
    virtual void AddRecreationCandidate(TControl* control);
    bool IsRecreationCandidate(TControl* control) const;
    void RemoveRecreationCandidate(TControl* control);

    virtual bool DoAllowSubclassing(TControl* control);
    // Offers a subclassed control's message to OnControlMessage, then to the listeners
    // in order; true when one handled it.
    virtual bool DoControlMessage(TControl* control, TMessage& message);
    virtual void DoOnThemeChange();
    // A control was inserted (joins the list of its class, as the options say) or
    // removed (leaves whichever list holds it).
    virtual void HandleControlChange(TControl* control, bool inserting);
    virtual bool NeedsBorderPaint(TControl* control);

    // Reads the theme state again; the options follow the application's theming flags.
    void UpdateThemes();
    // Subclasses one form and its controls, or without a form every form afresh.
    void CollectForms(TForm* form = nullptr);
    void CollectControls(TWinControl* parent);
    void ClearLists();
    void RemoveChildSubclassing(TWinControl* control);
    // Dialog texture for windowed controls, transparency for tool bars and labels, no
    // mouse capture for tool buttons, as the options say; on one form or every form.
    // The texture stays with a control: a window made for it later gets it too.
    void FixControls(TForm* form = nullptr);
    // Tells every form and windowed control that the theme changed.
    void BroadcastThemeChange();

    // A list of subclassed controls; null once the manager has released it.
    TWindowProcList* List(TStyleList kind) const { return lists_[kind].get(); }

    // The procedures of the subclassed controls, by class.
    void ClassWindowProc(TStyleList kind, TControl* control, TMessage& message);
    void AnimateWindowProc(TControl* control, TMessage& message);
    void ButtonControlWindowProc(TControl* control, TMessage& message);
    void CheckListBoxWindowProc(TControl* control, TMessage& message);
    void FormWindowProc(TControl* control, TMessage& message);
    void FrameWindowProc(TControl* control, TMessage& message);
    void GroupBoxWindowProc(TControl* control, TMessage& message);
    void ListviewWindowProc(TControl* control, TMessage& message);
    void PanelWindowProc(TControl* control, TMessage& message);
    void SpeedButtonWindowProc(TControl* control, TMessage& message);
    void SplitterWindowProc(TControl* control, TMessage& message);
    void StatusBarWindowProc(TControl* control, TMessage& message);
    void TabSheetWindowProc(TControl* control, TMessage& message);
    void TrackBarWindowProc(TControl* control, TMessage& message);
    void WinControlWindowProc(TControl* control, TMessage& message);

    // The control's parent paints its own background into dc at the control's place.
    void PerformEraseBackground(TControl* control, HDC dc);
    // Keyboard cues of the control's form after Tab, an arrow key or Alt.
    void UpdateUIState(TControl* control, WORD charCode);
    void DrawBitBtn(TBitBtn* button, DRAWITEMSTRUCT& drawItem);
    void DrawButton(TControl* control, TThemedButton button, HDC dc, TRect r, bool focused);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool MainWindowHook(TMessage& message);
    void TakeOverAsMain();
    // True when the message is finished: a listener handled it, or themes are off and it
    // went on to the control's saved handler.
    bool Offered(TStyleList kind, TControl* control, TMessage& message);
    void PassOn(TStyleList kind, TControl* control, TMessage& message);
    void RemoveFromLists(TControl* control);
    // FixControls gave the control the dialog texture.
    bool DialogTextured(TControl* control) const;
    // The dialog texture for the control's window, when it has one and FixControls gave
    // the control the texture.
    void GiveDialogTexture(TControl* control);
    void ClearAllLists();
    // The parent's background into dc: painted by a double-buffered parent itself, else
    // by the theme library.
    void DrawControlParentBackground(TControl* control, HDC dc, const TThemedElementDetails* details,
                                     bool onlyIfTransparent, const TRect* bounds = nullptr);
    // WM_ERASEBKGND of a container: its parent's background, as behind a group box.
    void EraseToParentBackground(TControl* control, TMessage& message, bool onlyIfTransparent);
    void PaintGroupBox(TCustomGroupBox* box, HDC dc);
    void PaintPanel(TCustomPanel* panel, HDC dc);
    void DrawCheckListItem(TCheckListBox* list, int index, const TRect& rect, unsigned state);
    void DrawCheck(TCheckListBox* list, const TRect& r, int checkState, bool enable);

    TThemeOptions options_ = DefaultThemeOptions;
    std::unique_ptr<TWindowProcList> lists_[StyleListCount];
    TControlMessageListeners listeners_;
    std::vector<TComponent*> pendingForms_;  // announced, checked and subclassed by the hook
    std::vector<TControl*> recreationList_;
    std::vector<TControl*> dialogTextured_;  // windowed controls FixControls gave the texture
    bool subclassingDisabled_ = false;
    bool hookedMainWindow_ = false;
    bool themesWereEnabled_ = false;  // at the last reading of the theme state
    TApplication* application_ = nullptr;  // whose window is hooked
    int hookId_ = 0;
};
