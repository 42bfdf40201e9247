#pragma once
#include <gtest/gtest.h>

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

    // Ends the push suspension that the start-up speed synchronisation leaves behind.
    void EnablePushing() { form->TimerSpeedChangeTimer(form->TimerSpeedChange); }
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
