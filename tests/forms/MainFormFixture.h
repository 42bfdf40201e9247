#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "support/RecordingDialogs.h"
#include "editor/UnitMain.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

// A main window built as at start-up and activated once, not shown. Each test starts
// without a settings file and removes the one its window leaves.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveFile(SettingsFile());
        form = new TFormMain(Application);
        form->FormActivate(form);
    }
    void TearDown() override
    {
        TComponent::Free(form);
        RemoveFile(SettingsFile());
    }
    static std::string SettingsFile() { return ChangeFileExt(Application->ExeName(), ".ini"); }

    // Ends the push suspension that a gesture leaves behind (the speed timer's tick).
    void EnablePushing() { form->TimerSpeedChange->Timer(); }
    // A visible edit of the current scenario, as an editing command makes it.
    void EditCell(int column, int row, uint16_t value)
    {
        form->PushUndo();
        form->Scn().SetCell(column, row, value);
    }
    void Key(WORD key, TShiftState shift)
    {
        form->FormKeyDown(form, key, shift);
    }

    RecordingDialogs dialogs;
    TFormMain* form = nullptr;
};

// The main window shown, pushing enabled and the grid focused, for tests that drive it
// through real messages.
class ShownMainFormTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        form->Show();
        EnablePushing();
        form->Grid->SetFocus();
    }
};

// Keys held down in this thread's keyboard state for the length of the scope, as the
// controls read them while a key message is handled.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) : keys_(keys) { Set(0x80); }
    ~HeldKeys() { Set(0); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    void Set(BYTE value)
    {
        BYTE state[256];
        GetKeyboardState(state);
        for (int k : keys_)
            state[k] = value;
        SetKeyboardState(state);
    }
    std::vector<int> keys_;
};

// Real key messages to a control: the key going down, its character, the key going up.
inline void TypeKey(TWinControl* control, WORD key, wchar_t character = 0)
{
    SendMessageW(control->Handle(), WM_KEYDOWN, key, 0);
    if (character)
        SendMessageW(control->Handle(), WM_CHAR, character, 0);
    SendMessageW(control->Handle(), WM_KEYUP, key, 0);
}

// Typed text: one WM_CHAR per character after the edit's text was selected.
inline void TypeText(TWinControl* edit, const std::wstring& text)
{
    SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        SendMessageW(edit->Handle(), WM_CHAR, c, 0);
}
