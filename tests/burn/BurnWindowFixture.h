#pragma once
// One programming window shown modally in this process, as the main window shows it, with
// the step maximum it passes on recorded and a limit on how long it may stay open.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "BurnTestSupport.h"
#include "programming/UnitBurn.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"
#include "ui/Application.h"

// Records the boxes and answers them; onBox runs first, as the box comes up.
class BoxRecorder : public RecordingDialogs {
public:
    int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned flags) override
    {
        if (onBox)
            onBox();
        return RecordingDialogs::ShowMessageBox(owner, text, caption, flags);
    }
    std::function<void()> onBox;
};

class BurnWindowTest : public ::testing::Test {
protected:
    BurnWindowTest()
    {
        form->OnSetMaxSteps = [this](int steps, bool keep) { maxSteps.emplace_back(steps, keep); };
        form->ChannelCount = 18;
    }
    ~BurnWindowTest() override { TComponent::Free(form); }

    // A fresh window for another run, with the same inputs.
    void Renew()
    {
        const BurnInputs inputs = *form;
        TComponent::Free(form);
        form = new TFormBurn(Application);
        static_cast<BurnInputs&>(*form) = inputs;
        form->OnSetMaxSteps = [this](int steps, bool keep) { maxSteps.emplace_back(steps, keep); };
        maxSteps.clear();
    }

    // A firmware file for controllers of this type, named in the window's inputs.
    void UseFirmware(const Bytes& firmware, char type)
    {
        firmwareFile = folder.File("sim.rom");
        std::string bytes = FirmwareFile(firmware, type);
        folder.Write("sim.rom", Bytes(bytes.begin(), bytes.end()));
        form->RomFileName = firmwareFile;
    }
    // Shows the window until it closes; false when it was still open after limitMs (it
    // is then closed): only a hang waits that long, however loaded the machine.
    bool Run(unsigned limitMs = 120000);

    TempDir folder;
    std::string firmwareFile;
    TFormBurn* form = new TFormBurn(Application);
    std::vector<std::pair<int, bool>> maxSteps;
};
