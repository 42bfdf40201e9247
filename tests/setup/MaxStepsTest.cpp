#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/TempDir.h"
#include "setup/ControllerModels.h"

namespace {

// A program folder, a configuration for one model, and its firmware file under "Rom".
class MaxSteps : public ::testing::Test {
protected:
    MaxSteps() : cfg_(std::make_unique<ControllerConfig>())
    {
        ResetControllerConfig(*cfg_);
        SetChannelDefaults(*cfg_);
    }

    void UseModel(unsigned index, const char* deviceId)
    {
        const ControllerModel& m = ControllerModelTable[index];
        cfg_->modelIndex = index;
        cfg_->channels = static_cast<int32_t>(m.channels);
        CopyText(cfg_->modelName, m.name);
        CopyText(cfg_->firmwareFile, index == kUnknownModel ? "Other.rom" : m.firmwareFile);
        CopyText(cfg_->deviceId, deviceId);
    }

    void WriteFirmware(char type, const char* magic = "M600")
    {
        std::vector<unsigned char> h = {static_cast<unsigned char>(magic[0]),
                                        static_cast<unsigned char>(magic[1]),
                                        static_cast<unsigned char>(magic[2]),
                                        static_cast<unsigned char>(magic[3]),
                                        0, 0, 0, 0, 1, 20, static_cast<unsigned char>(type), 3,
                                        0, 0, 0, 0, 0, 0, 0, 0};
        dir_.Write(std::string("Rom/") + cfg_->firmwareFile, h);
    }

    int32_t Steps() const { return ComputeMaxSteps(*cfg_, dir_.Folder()); }

    TempDir dir_;
    std::unique_ptr<ControllerConfig> cfg_;
};

TEST_F(MaxSteps, Qarto18OnUsbWithAnMFirmwareHas1308Steps)
{
    UseModel(0, "Qarto186");
    WriteFirmware('M');
    // Reserved (4500 div 64 + 1) * 64 = 4544; (32768 - 2048 - 4544 - 10) div (18 + 2).
    EXPECT_EQ(Steps(), 1308);
}

// Qarto18 (memory 32768, 18 channels) tells page and boot sizes apart; the unknown
// model (no memory size, no channels, divisor 2) tells the header's memory size.
struct LetterCase {
    char letter;
    int32_t serial;   // Qarto18, device id ""
    int32_t usb;      // Qarto18, device id "Qarto186"
    int32_t unknown;  // unknown model, device id ""
};

class MaxStepsByLetter : public MaxSteps, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(MaxStepsByLetter, HeaderTypeSelectsMemoryPageAndBootSize)
{
    const LetterCase& c = GetParam();
    UseModel(0, "");
    WriteFirmware(c.letter);
    EXPECT_EQ(Steps(), c.serial) << "serial port";

    CopyText(cfg_->deviceId, "Qarto186");
    EXPECT_EQ(Steps(), c.usb) << "USB";

    CopyText(cfg_->deviceId, "485");
    EXPECT_EQ(Steps(), c.usb) << "\"485\" is not empty, so it counts as USB here";

    UseModel(kUnknownModel, "");
    WriteFirmware(c.letter);
    EXPECT_EQ(Steps(), c.unknown) << "unknown model";
}

INSTANTIATE_TEST_SUITE_P(
    Letters, MaxStepsByLetter,
    ::testing::Values(
        // page 64, boot 1024 / 2048, memory 8192
        LetterCase{'A', 1359, 1308, 1307}, LetterCase{'M', 1359, 1308, 1307},
        // page 128, boot 1024 / 2048, memory 16384
        LetterCase{'B', 1356, 1305, 5371}, LetterCase{'F', 1356, 1305, 5371},
        LetterCase{'N', 1356, 1305, 5371}, LetterCase{'L', 1356, 1305, 5371},
        LetterCase{'Z', 1356, 1305, 5371},
        // page 256, boot 1024 / 8192, memory 65536
        LetterCase{'C', 1356, 997, 8000},
        // page 256, boot 2048 either way, memory 131072
        LetterCase{'D', 1305, 1305, 8000},
        // page 128, boot 1024 / 4096, memory 32768
        LetterCase{'E', 1356, 1202, 8000}),
    [](const ::testing::TestParamInfo<LetterCase>& info) { return std::string(1, info.param.letter); });

TEST_F(MaxSteps, WithoutAReadableHeaderOnlyAUsbControllerTakesTheBigBootSize)
{
    // Defaults 16384 / 128 / 1024; Qarto18's memory size replaces 16384.
    UseModel(0, "");
    EXPECT_EQ(Steps(), (32768 - 1024 - 4608 - 10) / 20) << "serial port, no file";
    WriteFirmware('M', "M601");
    EXPECT_EQ(Steps(), (32768 - 1024 - 4608 - 10) / 20) << "serial port, wrong magic";

    for (const char* usb : {"Qarto186", "485"}) {
        CopyText(cfg_->deviceId, usb);
        EXPECT_EQ(Steps(), (32768 - 2048 - 4608 - 10) / 20) << usb << ", wrong magic: boot 2048";
    }

    UseModel(kUnknownModel, "");
    EXPECT_EQ(Steps(), (16384 - 1024 - 4608 - 10) / 2) << "unknown model without a file, serial port";
    CopyText(cfg_->deviceId, "Qarto186");
    EXPECT_EQ(Steps(), (16384 - 2048 - 4608 - 10) / 2) << "unknown model without a file, USB";
}

TEST_F(MaxSteps, TheSmallerOfModelAndConfigurationChannelsCounts)
{
    UseModel(0, "Qarto186");
    WriteFirmware('M');
    cfg_->channels = 4;
    EXPECT_EQ(Steps(), 26166 / 6);
    cfg_->channels = 640;
    EXPECT_EQ(Steps(), 1308) << "more channels than the model drives";
    cfg_->channels = 1;
    EXPECT_EQ(Steps(), 8000) << "26166 div 3 is capped";
}

TEST_F(MaxSteps, DamagedRecordGivesAResultWithoutReadingOutsideTheTable)
{
    UseModel(0, "Qarto186");
    WriteFirmware('M');
    cfg_->channels = -5;
    EXPECT_EQ(Steps(), 8000) << "no channels: divisor 2";
    cfg_->channels = 18;
    cfg_->modelIndex = 1000;
    // The unknown model: memory 8192 from the 'M' header, boot 2048, divisor 2.
    EXPECT_EQ(Steps(), (8192 - 2048 - 4544 - 10) / 2) << "an index past the table is the unknown model";
}

TEST_F(MaxSteps, FirmwareBesideTheProgramIsPreferredToTheRomFolder)
{
    UseModel(0, "Qarto186");
    WriteFirmware('E');  // Rom folder: boot 4096 gives 1202
    std::vector<unsigned char> m = {'M', '6', '0', '0', 0, 0, 0, 0, 1, 20, 'M', 3,
                                    0, 0, 0, 0, 0, 0, 0, 0};
    dir_.Write(cfg_->firmwareFile, m);
    EXPECT_EQ(Steps(), 1308);
}

} // namespace
