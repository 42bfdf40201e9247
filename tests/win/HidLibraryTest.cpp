// The real HID access under Wine, where no boot-loader is ever attached.
#include "programming/HidLibrary.h"

#include <gtest/gtest.h>

#include "programming/UsbBurn.h"
#include "support/RecordingUsbBurnView.h"

namespace {

TEST(HidLibrary, LoadsHidDllAndFindsNoBootloader)
{
    HIDLibrary hid;
    EXPECT_TRUE(hid.Loaded());
    EXPECT_TRUE(hid.Enumerate(kBootloaderPathFilter).empty());
    uint8_t report[132] = {1};
    const std::string absent = "\\\\?\\hid#vid_16c0&pid_05df#absent";
    EXPECT_FALSE(hid.GetFeature(absent, report, 24));
    EXPECT_FALSE(hid.SetFeature(absent, report, 24));
}

TEST(HidLibrary, UsbStepsSearchUntilTheTimeOutBox)
{
    BurnInputs inputs;
    inputs.PortName = "USB";
    inputs.DeviceId = "SIM-8";
    inputs.ModelName = "SIM 8";
    inputs.ScnData.assign(100, 1);
    inputs.EeData.assign(33, 0xFF);
    RecordingUsbBurnView view;
    view.answers = {false};  // Cancel
    UsbBurn burn(inputs, RomFile{}, view, std::make_unique<HIDLibrary>());
    burn.Connect();
    for (int tick = 0; tick < kUsbTimeoutTicks && !burn.Closed(); ++tick)
        burn.Tick();
    EXPECT_EQ(view.retries.size(), 1u);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_TRUE(burn.Closed());
    EXPECT_EQ(view.statuses.back(), "Поиск контроллера" + std::string(3 + kUsbTimeoutTicks, '.'));
}

} // namespace
