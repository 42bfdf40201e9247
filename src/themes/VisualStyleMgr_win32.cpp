// The visual-style manager: the main-manager rule, discovering forms and controls, the
// lists they join and leave, the options and the theme changes.
#include "themes/VisualStyleMgr.h"

#include <algorithm>
#include <mutex>

#include "themes/StyleControlKinds.h"
#include "themes/ThemeLibrary.h"
#include "themes/ThemeServices.h"
#include "ui/Application.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/Frames.h"
#include "ui/Grids.h"
#include "ui/ListView.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"
#include "ui/ToolBar.h"

namespace {

// Process-wide state of the managers.
struct ManagerUnit {
    std::recursive_mutex lock;            // guards main; re-entered by the hand-over
    TVisualStyleManager* main = nullptr;  // the main manager
    bool isWindowsXP = false;             // the platform has visual styles at all
};

ManagerUnit& Unit()
{
    static ManagerUnit* unit = [] {
        auto* u = new ManagerUnit;  // lives to the end of the process
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (GetVersionExW(&version))
            u->isWindowsXP = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
        return u;
    }();
    return *unit;
}

bool ThemesEnabled() { return ThemeServices()->ThemesEnabled(); }

HWND ApplicationWindow() { return Application ? Application->Handle() : nullptr; }

// New forms are redrawn whole once subclassed: invalidated and erased, children too.
const UINT kNewFormRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
// After a change of options every form is redrawn, frames included, at once.
const UINT kOptionsRedraw = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW |
                            RDW_ERASENOW | RDW_FRAME;

const int kDialogTabTexture = 6;  // ETDT_ENABLETAB: enabled, with the tab page's texture

template <class F>
void ForEachScreenForm(F f)
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        f(Screen->Forms(i));
}

} // namespace

// ---------------------------------------------------------------------------------------
// Life and the main-manager rule

TVisualStyleManager::TVisualStyleManager(TComponent* owner) : TComponent(owner)
{
    for (int kind = 0; kind < StyleListCount; ++kind)
        lists_[kind] = std::make_unique<TWindowProcList>(this, static_cast<TStyleList>(kind));
    // Hooked whether or not a style is active now: a style switched on later is followed.
    if (Application && Application->Handle()) {
        application_ = Application;
        hookId_ = application_->HookMainWindow([this](TMessage& m) { return MainWindowHook(m); });
        hookedMainWindow_ = true;
    }
    themesWereEnabled_ = ThemesEnabled();
    std::lock_guard<std::recursive_mutex> guard(Unit().lock);
    if (!Unit().main) {
        Unit().main = this;
    } else {
        subclassingDisabled_ = true;
        options_ = Unit().main->options_;
    }
}

TVisualStyleManager::~TVisualStyleManager()
{
    // No message of the application's window may reach the lists while they go.
    if (hookedMainWindow_)
        application_->UnhookMainWindow(hookId_);
    hookedMainWindow_ = false;
    for (TStyleList kind : StyleListReleaseOrder) {
        lists_[kind]->Clear();
        lists_[kind].reset();  // never used again: later lists skip it
    }
    std::lock_guard<std::recursive_mutex> guard(Unit().lock);
    if (Unit().main == this) {
        Unit().main = nullptr;
        if (HWND window = ApplicationWindow())
            SendMessageW(window, WM_MAINSTYLEMANAGERRELEASED, 0, 0);
    }
}

bool TVisualStyleManager::IsMainManager() const { return Unit().main == this; }

TVisualStyleManager* TVisualStyleManager::CurrentStyleManager() { return Unit().main; }

void TVisualStyleManager::TakeOverAsMain()
{
    Unit().main = this;
    subclassingDisabled_ = false;
    CollectForms(nullptr);
}

void TVisualStyleManager::ForceAsMainManager()
{
    if (IsMainManager())
        return;
    std::lock_guard<std::recursive_mutex> guard(Unit().lock);
    if (TVisualStyleManager* previous = Unit().main) {
        previous->subclassingDisabled_ = true;
        // Every control it holds, forms included: none may be subclassed twice.
        previous->ClearAllLists();
    }
    TakeOverAsMain();
}

void TVisualStyleManager::Loaded()
{
    if (IsMainManager())
        CollectForms(nullptr);
    TComponent::Loaded();
}

void TVisualStyleManager::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove)
        dialogTextured_.erase(std::remove(dialogTextured_.begin(), dialogTextured_.end(), component),
                              dialogTextured_.end());
    if (operation == opInsert) {
        // A component is announced while it is being made, before it is a form; the hook
        // looks at it once it is complete.
        if (std::find(pendingForms_.begin(), pendingForms_.end(), component) != pendingForms_.end())
            return;
        if (!IsMainManager()) {
            if (TVisualStyleManager* main = CurrentStyleManager())
                main->Notification(component, operation);
            return;
        }
        pendingForms_.push_back(component);
        FreeNotification(component);  // announced by another manager's owner too
        if (HWND window = ApplicationWindow())
            PostMessageW(window, WM_NULL, 0, 0);
        return;
    }
    if (!IsMainManager())
        return;
    pendingForms_.erase(std::remove(pendingForms_.begin(), pendingForms_.end(), component), pendingForms_.end());
    // A control tells while it is still one (a component that is no longer a control
    // has left every list already).
    if (auto* control = dynamic_cast<TControl*>(component))
        HandleControlChange(control, false);
}

bool TVisualStyleManager::MainWindowHook(TMessage& message)
{
    if (message.Msg == WM_MAINSTYLEMANAGERRELEASED) {
        std::lock_guard<std::recursive_mutex> guard(Unit().lock);
        if (!Unit().main)
            TakeOverAsMain();
    }
    while (!pendingForms_.empty()) {
        TComponent* component = pendingForms_.front();
        pendingForms_.erase(pendingForms_.begin());
        auto* form = dynamic_cast<TForm*>(component);
        if (!form)
            continue;
        lists_[slForm]->Add(form);
        if (IsMainManager())
            CollectControls(form);
        if (WantsFixControls(options_))
            FixControls(form);
        if (form->HandleAllocated())
            RedrawWindow(form->Handle(), nullptr, nullptr, kNewFormRedraw);
    }
    while (!recreationList_.empty()) {
        TControl* control = recreationList_.front();
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
            TWinControl* parent = windowed->Parent();
            if (!windowed->HandleAllocated() && (!parent || parent->HandleAllocated()))
                windowed->HandleNeeded();
            CollectControls(windowed);
        }
        RemoveRecreationCandidate(control);
    }
    if (message.Msg == WM_THEMECHANGED) {
        UpdateThemes();
        DoOnThemeChange();
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// Controls joining and leaving

void TVisualStyleManager::AddRecreationCandidate(TControl* control)
{
    if (IsRecreationCandidate(control))
        return;
    recreationList_.push_back(control);
    // The hook collects the children again on the next message of the window: let one come.
    if (HWND window = ApplicationWindow())
        PostMessageW(window, WM_NULL, 0, 0);
}

bool TVisualStyleManager::IsRecreationCandidate(TControl* control) const
{
    return std::find(recreationList_.begin(), recreationList_.end(), control) != recreationList_.end();
}

void TVisualStyleManager::RemoveRecreationCandidate(TControl* control)
{
    recreationList_.erase(std::remove(recreationList_.begin(), recreationList_.end(), control),
                          recreationList_.end());
}

bool TVisualStyleManager::DoAllowSubclassing(TControl* control)
{
    bool allow = true;
    if (OnAllowSubclassing)
        OnAllowSubclassing(this, control, allow);
    return allow;
}

bool TVisualStyleManager::DoControlMessage(TControl* control, TMessage& message)
{
    bool handled = false;
    if (OnControlMessage)
        OnControlMessage(this, control, message, handled);
    if (!handled)
        handled = listeners_.Dispatch(this, control, message);
    return handled;
}

void TVisualStyleManager::DoOnThemeChange()
{
    if (OnThemeChange)
        OnThemeChange(this);
}

void TVisualStyleManager::RemoveFromLists(TControl* control)
{
    for (auto& list : lists_)
        if (list)
            list->Remove(control);
}

void TVisualStyleManager::HandleControlChange(TControl* control, bool inserting)
{
    // Leaving takes the control from whichever list holds it, whatever the theme state,
    // the options or the platform: a control that joined while themes were on may go
    // while they are off, and forms join every list of forms.
    if (!inserting) {
        RemoveFromLists(control);
        return;
    }
    if (!Unit().isWindowsXP)
        return;
    TStyleList kind = StyleListForInsertion(StyleControlKinds(control), options_, ThemesEnabled());
    TWindowProcList* list = kind == slNone ? nullptr : lists_[kind].get();
    if (!list)
        return;
    // An announced form that is inserted somewhere is decided on here, not by the hook.
    if (kind == slForm)
        pendingForms_.erase(std::remove(pendingForms_.begin(), pendingForms_.end(), control), pendingForms_.end());
    int index;
    if (kind == slListView && !list->Find(control, index)) {
        // A list view gets a new window, made with its subclassing in place.
        auto* windowed = static_cast<TWinControl*>(control);
        if (windowed->HandleAllocated())
            PostMessageW(windowed->Handle(), CM_RECREATEWND, 0, 0);
    }
    if (DoAllowSubclassing(control) && control->Perform(CM_DENYSUBCLASSING) == 0) {
        list->Add(control);
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (windowed && windowed->ControlCount() > 0)
            CollectControls(windowed);
    } else {
        list->Remove(control);
    }
}

bool TVisualStyleManager::NeedsBorderPaint(TControl* control)
{
    // The class library has no rich edit; scrolling containers and grids are the rest.
    return dynamic_cast<TScrollingWinControl*>(control) || dynamic_cast<TCustomGrid*>(control);
}

void TVisualStyleManager::CollectForms(TForm* form)
{
    if (subclassingDisabled_)
        return;
    auto collect = [this](TForm* f) {
        lists_[slForm]->Add(f);
        CollectControls(f);
    };
    if (form) {
        collect(form);
    } else {
        ClearLists();
        ForEachScreenForm(collect);
    }
    if (WantsFixControls(options_))
        FixControls(form);
}

void TVisualStyleManager::CollectControls(TWinControl* parent)
{
    if (!parent)
        throw Exception("Parent of controls to be collected must be valid.");
    if (subclassingDisabled_)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        HandleControlChange(child, true);
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (windowed && windowed->ControlCount() > 0)
            CollectControls(windowed);
    }
}

void TVisualStyleManager::ClearLists()
{
    lists_[slListView]->Clear();
    if (ThemesEnabled())
        ClearAllLists();
}

void TVisualStyleManager::ClearAllLists()
{
    for (auto& list : lists_)
        if (list)
            list->Clear();
}

void TVisualStyleManager::RemoveChildSubclassing(TWinControl* control)
{
    for (int i = 0; i < control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
        if (!child)
            continue;
        RemoveChildSubclassing(child);
        HandleControlChange(child, false);
    }
}

// ---------------------------------------------------------------------------------------
// Options and theme changes

void TVisualStyleManager::SetThemeOptions(TThemeOptions value)
{
    std::lock_guard<std::recursive_mutex> guard(Unit().lock);
    TVisualStyleManager* main = CurrentStyleManager();
    if (main && main != this) {
        main->SetThemeOptions(value);
        return;
    }
    if (value == options_)
        return;
    options_ = value;
    if (!ThemeServices()->ThemesAvailable() || subclassingDisabled_)
        return;
    if (UxTheme.SetThemeAppProperties)
        UxTheme.SetThemeAppProperties(ThemeAppProperties(options_));
    if (ComponentState & csLoading)
        return;
    UpdateThemes();
    BroadcastThemeChange();
    if (HWND window = ApplicationWindow())
        SendMessageW(window, WM_THEMECHANGED, 0, 0);
    ForEachScreenForm([](TForm* f) {
        if (f->HandleAllocated())
            RedrawWindow(f->Handle(), nullptr, nullptr, kOptionsRedraw);
    });
}

void TVisualStyleManager::UpdateThemes()
{
    ThemeServices()->UpdateThemes();
    if (ThemeServices()->ThemesAvailable() && UxTheme.GetThemeAppProperties)
        options_ = WithThemeAppProperties(options_, UxTheme.GetThemeAppProperties());
    // Controls found while themes were off joined no list: now that they are on, every
    // form is collected afresh.
    bool enabled = ThemesEnabled();
    if (enabled && !themesWereEnabled_ && IsMainManager())
        CollectForms(nullptr);
    themesWereEnabled_ = enabled;
}

void TVisualStyleManager::BroadcastThemeChange()
{
    std::function<void(TWinControl*)> tell = [&tell](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
            if (!child)
                continue;
            if (child->HandleAllocated())
                child->Perform(WM_THEMECHANGED);
            if (dynamic_cast<TCustomListView*>(child) || dynamic_cast<TCoolBar*>(child)) {
                if (child->HandleAllocated())
                    child->Perform(CM_RECREATEWND);
            } else {
                tell(child);
            }
        }
    };
    ForEachScreenForm([&tell](TForm* f) {
        f->Perform(WM_THEMECHANGED);
        tell(f);
    });
}

void TVisualStyleManager::FixControls(TForm* form)
{
    const bool transparency = options_.Contains(toSetTransparency);
    const bool resetCapture = options_.Contains(toResetMouseCapture);
    std::function<void(TWinControl*)> fix = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* child = parent->Controls(i);
            auto* windowed = dynamic_cast<TWinControl*>(child);
            if (windowed && ThemesEnabled()) {
                // Most windows are made after this runs (a form's when it is first
                // shown): the manager's procedures give each new window the texture.
                if (!DialogTextured(child)) {
                    dialogTextured_.push_back(child);
                    FreeNotification(child);
                }
                GiveDialogTexture(child);
            }
            if (auto* bar = dynamic_cast<TToolBar*>(child)) {
                if (transparency)
                    bar->SetTransparent(true);
                for (int b = 0; resetCapture && b < bar->ControlCount(); ++b) {
                    auto* button = dynamic_cast<TToolButton*>(bar->Controls(b));
                    if (button && button->Style() != tbsDropDown)
                        button->ControlStyle &= ~static_cast<unsigned>(csCaptureMouse);
                }
            } else if (auto* label = dynamic_cast<TCustomLabel*>(child)) {
                if (transparency)
                    label->SetTransparent(true);
            } else if (windowed && windowed->ControlCount() > 0) {
                fix(windowed);
            }
        }
    };
    if (form)
        fix(form);
    else
        ForEachScreenForm([&fix](TForm* f) { fix(f); });
}

// ---------------------------------------------------------------------------------------
// The procedures by class

bool TVisualStyleManager::Offered(TStyleList kind, TControl* control, TMessage& message)
{
    if (DoControlMessage(control, message))
        return true;
    if (ThemesEnabled())
        return false;
    PassOn(kind, control, message);
    return true;
}

void TVisualStyleManager::PassOn(TStyleList kind, TControl* control, TMessage& message)
{
    if (TWindowProcList* list = lists_[kind].get())
        list->DispatchMessage(control, message);
    else
        control->WndProc(message);
}

bool TVisualStyleManager::DialogTextured(TControl* control) const
{
    return std::find(dialogTextured_.begin(), dialogTextured_.end(), control) != dialogTextured_.end();
}

void TVisualStyleManager::GiveDialogTexture(TControl* control)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->HandleAllocated() && DialogTextured(control) && ThemesEnabled() &&
        UxTheme.EnableThemeDialogTexture)
        UxTheme.EnableThemeDialogTexture(windowed->Handle(), kDialogTabTexture);
}

void TVisualStyleManager::ClassWindowProc(TStyleList kind, TControl* control, TMessage& message)
{
    switch (kind) {
    case slListView: ListviewWindowProc(control, message); break;
    case slTabSheet: TabSheetWindowProc(control, message); break;
    case slGroupBox: GroupBoxWindowProc(control, message); break;
    case slButtonControl: ButtonControlWindowProc(control, message); break;
    case slSpeedButton: SpeedButtonWindowProc(control, message); break;
    case slSplitter: SplitterWindowProc(control, message); break;
    case slTrackBar: TrackBarWindowProc(control, message); break;
    case slAnimate: AnimateWindowProc(control, message); break;
    case slStatusBar: StatusBarWindowProc(control, message); break;
    case slCheckListBox: CheckListBoxWindowProc(control, message); break;
    case slForm: FormWindowProc(control, message); break;
    case slFrame: FrameWindowProc(control, message); break;
    case slPanel: PanelWindowProc(control, message); break;
    case slWinControl: WinControlWindowProc(control, message); break;
    case slNone: control->WndProc(message); break;
    }
    // A window made for a control after FixControls ran (or made again) gets its texture
    // once the control has made it.
    if (message.Msg == WM_CREATE && message.Result != -1)
        GiveDialogTexture(control);
}
