// Whole programming runs against the simulated controller: what it stores must be the
// firmware, the controller image and the EEPROM block, and every misbehaviour ends in
// the program's message or a clean success.
#include <gtest/gtest.h>

#include <random>

#include "BurnJob.h"
#include "SimulatedBurnRun.h"
#include "programming/BurnTexts.h"
#include "programming/FlashImage.h"
#include "programming/ControllerImage.h"

namespace {

std::vector<uint8_t> Bytes(size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out)
        b = static_cast<uint8_t>(random());
    return out;
}

// Boxes answered at once with these answers, in order.
BurnRunOptions Answering(std::initializer_list<int> answers)
{
    BurnRunOptions options;
    options.answers = answers;
    return options;
}

class ComBurnRunTest : public ::testing::Test, protected BurnJob {
protected:
    ComBurnRunTest()
    {
        // 100 steps of 18 channels, 2 loops and 1 label: 10 + 100 * 20 + 12 + 2 bytes.
        ScenarioSnapshot scenario;
        scenario.SetCell(0, 0, 101);
        for (int c = 1; c <= 100; ++c) {
            scenario.SetCell(c, 1, static_cast<uint16_t>(c));
            for (int k = 0; k < 18; ++k)
                scenario.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>((c + k) % 129));
        }
        scenario.loops = {{2, 5, 3}, {10, 20, 65535}};
        scenario.labels = {7};
        image = MakeControllerImage(scenario, 42, 0, 18);
        eeprom = MakeEepromBlock(scenario.labels.size(), 42);
        UseFirmware(Bytes(5000, 1));
        inputs.RomFileName = "C:\\pelvor\\Rom\\Qarto186umb.rom";
        inputs.ChannelCount = 18;
        inputs.LoopCount = 2;
        inputs.LabelCount = 1;
        UseBuffers();
    }
    // Runs against a controller with these settings and faults.
    SimulatedBurnRun& Run(BurnRunOptions options = {})
    {
        controller = std::make_unique<SimulatedController>(settings, faults);
        run = std::make_unique<SimulatedBurnRun>(*controller, inputs, rom, std::move(options));
        finished = run->Run();
        return *run;
    }

    std::vector<uint8_t> Flash(size_t from, size_t n) const
    {
        const auto& f = controller->Flash();
        return {f.begin() + static_cast<std::ptrdiff_t>(from), f.begin() + static_cast<std::ptrdiff_t>(from + n)};
    }
    bool FlashIsEmptyFrom(size_t from) const
    {
        const auto& f = controller->Flash();
        return std::all_of(f.begin() + static_cast<std::ptrdiff_t>(from), f.end(), [](uint8_t b) { return b == 0xFF; });
    }
    // The image behind a firmware region of `region` bytes, the EEPROM block, a clean end.
    void ExpectProgrammed(size_t region)
    {
        EXPECT_TRUE(finished);
        EXPECT_TRUE(run->boxes.empty()) << run->boxes[0].text;
        EXPECT_TRUE(run->closed);
        EXPECT_EQ(Flash(region, image.size()), image);
        EXPECT_TRUE(FlashIsEmptyFrom(region + image.size()));
        const auto& e = controller->Eeprom();
        EXPECT_EQ(std::vector<uint8_t>(e.begin(), e.begin() + static_cast<std::ptrdiff_t>(eeprom.size())), eeprom);
        EXPECT_EQ(controller->SessionsDone(), 1);
    }

    SimulatedControllerSettings settings;
    SimulatedControllerFaults faults;
    std::unique_ptr<SimulatedController> controller;
    std::unique_ptr<SimulatedBurnRun> run;
    bool finished = false;
};

TEST_F(ComBurnRunTest, FirmwareImageAndEepromBlockAreStored)
{
    Run();
    ExpectProgrammed(5120);
    EXPECT_EQ(Flash(0, 5000), rom.RomData);
    EXPECT_EQ(Flash(5000, 120), std::vector<uint8_t>(120, 0xFF));
    EXPECT_EQ(controller->FirmwareBlocksStored(), 40);
    EXPECT_TRUE(std::all_of(controller->Eeprom().begin() + static_cast<std::ptrdiff_t>(eeprom.size()),
                            controller->Eeprom().end(), [](uint8_t b) { return b == 0xFF; }));
    // 15360 bytes below the boot-loader, 5120 of them firmware: (10240 - 10) / 20 steps.
    EXPECT_EQ(run->maxSteps, (std::vector<std::pair<int, bool>>{{511, true}}));
    ASSERT_EQ(run->progressShown.size(), 2u);
    EXPECT_EQ(run->progressShown[0].max, 5120 + static_cast<int>(image.size()));
    EXPECT_EQ(run->progressShown[1].max, static_cast<int>(eeprom.size()));
    EXPECT_FALSE(run->progressVisible);
    for (const char* status : {"Поиск контроллера...", "Загрузка...", "Настройка...", "Завершение..."})
        EXPECT_NE(std::find(run->statuses.begin(), run->statuses.end(), status), run->statuses.end()) << status;
    // The flushes at the start and at the close, and the repeated ends of the EEPROM.
    EXPECT_EQ(controller->FlushBytesSkipped(), 512 + 2 * 2 + 512);
}

TEST_F(ComBurnRunTest, FirmwareTheControllerKeepsIsLeftInPlace)
{
    NoFirmwareFile();
    settings.keptFirmwareSize = 5000;
    Run();
    ExpectProgrammed(5120);
    EXPECT_EQ(controller->StoredBlocks().front(), 40) << "blocks 0..39 hold the kept firmware";
    EXPECT_EQ(controller->FirmwareBlocksStored(), 0);
    for (int i : {0, 1234, 4999})
        EXPECT_EQ(controller->Flash()[static_cast<size_t>(i)], SimulatedController::KeptFirmwareByte(i));
    ASSERT_FALSE(run->progressShown.empty());
    EXPECT_EQ(run->progressShown[0].min, 5120);
    EXPECT_EQ(run->progressShown[0].position, 5120);
}

TEST_F(ComBurnRunTest, AFirmwareOfWholeBlocksGetsOneBlockMore)
{
    UseFirmware(Bytes(4096, 2));
    Run();
    ExpectProgrammed(4224);
    EXPECT_EQ(controller->FirmwareBlocksStored(), 33);
}

TEST_F(ComBurnRunTest, OnlyTheEepromTheControllerHasIsWritten)
{
    eeprom = MakeEepromBlock(68, 42);  // 100 bytes
    UseBuffers();
    settings.eepromSize = 0;  // never reported: 64 bytes are assumed
    Run();
    EXPECT_TRUE(run->boxes.empty());
    EXPECT_EQ(controller->EepromFrames(), 64);
    EXPECT_EQ(controller->Eeprom(), std::vector<uint8_t>(eeprom.begin(), eeprom.begin() + 64));

    settings.eepromSize = 64;
    Run();
    EXPECT_EQ(controller->EepromFrames(), 64);
}

TEST_F(ComBurnRunTest, WithoutAnEepromBlockTheRunEndsAfterTheFlash)
{
    inputs.EeData.clear();
    Run();
    EXPECT_TRUE(finished);
    EXPECT_TRUE(run->boxes.empty());
    EXPECT_EQ(Flash(5120, image.size()), image);
    EXPECT_EQ(controller->EepromFrames(), 0);
    EXPECT_EQ(controller->SessionsDone(), 1) << "the closing flush ends the controller's EEPROM wait";
}

TEST_F(ComBurnRunTest, RejectedFramesAreSentAgain)
{
    faults.rejectFlashFrame = 3;
    faults.rejectEepromFrame = 5;
    Run();
    ExpectProgrammed(5120);
    EXPECT_EQ(controller->Rejected(), 2);
}

TEST_F(ComBurnRunTest, UnansweredHellosAreRepeated)
{
    faults.dropHelloReplies = 2;
    Run();
    ExpectProgrammed(5120);
    EXPECT_GE(controller->Hellos(), 3);
}

TEST_F(ComBurnRunTest, ADroppedAnswerEndsInTheTimeoutBox)
{
    faults.dropFlashReply = 7;
    Run(Answering({kAnswerCancel}));
    EXPECT_TRUE(finished);
    ASSERT_EQ(run->boxes.size(), 1u);
    EXPECT_EQ(run->boxes[0].text, TimeoutText(false, ""));
    EXPECT_EQ(run->boxes[0].caption, "Программирование контроллера");
    EXPECT_EQ(run->boxes[0].flags, kBoxOkCancel | kBoxIconError);
    EXPECT_NEAR(run->boxes[0].at, 10.0, 0.6) << "20 ticks of 500 ms after the last answer";
    EXPECT_TRUE(run->closed);
    EXPECT_EQ(controller->StoredBlocks().size(), 8u);
    EXPECT_EQ(run->statuses.back(), "Завершение...");
}

TEST_F(ComBurnRunTest, ALateAnswerClosesTheTimeoutBoxAndTheRunGoesOn)
{
    faults.delayFlashReply = 7;
    faults.delayMs = 11000;
    BurnRunOptions options;
    options.answers = {kAnswerCancel};  // never used: the answer comes first
    options.answerAfterMs = 5000;
    Run(options);
    EXPECT_TRUE(finished);
    ASSERT_EQ(run->boxes.size(), 1u);
    EXPECT_TRUE(run->boxes[0].dismissed);
    EXPECT_EQ(Flash(5120, image.size()), image);
    EXPECT_EQ(controller->SessionsDone(), 1);
}

TEST_F(ComBurnRunTest, SilenceBringsTheTimeoutBoxBackUntilCancelled)
{
    faults.silent = true;
    Run(Answering({kAnswerOk, kAnswerCancel}));
    EXPECT_TRUE(finished);
    ASSERT_EQ(run->boxes.size(), 2u);
    // The timer starts once the 40 ms of the flush are over.
    EXPECT_NEAR(run->boxes[0].at, 10.04, 0.001);
    EXPECT_NEAR(run->boxes[1].at, 20.04, 0.001);
    EXPECT_EQ(controller->Hellos(), 1 + 2 * 20);
    EXPECT_TRUE(controller->StoredBlocks().empty());
}


TEST_F(ComBurnRunTest, ASplitSizeReplyIsAssembledWithinItsDeadline)
{
    NoFirmwareFile();
    settings.keptFirmwareSize = 5000;
    faults.splitSizeReplyMs = 60;
    Run();
    ExpectProgrammed(5120);
    EXPECT_EQ(run->Protocol().FirmwareSize(), 5000);
}

TEST_F(ComBurnRunTest, ASizeReplyCompletedTooLateCountsAsNone)
{
    NoFirmwareFile();
    settings.keptFirmwareSize = 5000;
    faults.splitSizeReplyMs = 150;
    Run();
    EXPECT_TRUE(finished);
    ASSERT_EQ(run->boxes.size(), 1u);
    EXPECT_EQ(run->boxes[0].text, MissingFirmwareText(inputs.RomFileName));
    EXPECT_EQ(controller->FlashFrames(), 0);
}

TEST_F(ComBurnRunTest, AScenarioTooLargeOffersToCutIt)
{
    image.resize(10241);  // one byte more than the room behind 5120 bytes of firmware
    UseBuffers();
    Run(Answering({kAnswerYes}));
    EXPECT_TRUE(finished);
    ASSERT_EQ(run->boxes.size(), 1u);
    EXPECT_EQ(run->boxes[0].text, MemoryShortageText(510, 2, 1));
    EXPECT_EQ(run->boxes[0].flags, kBoxYesNo | kBoxIconQuestion);
    EXPECT_EQ(run->maxSteps, (std::vector<std::pair<int, bool>>{{510, false}}));
    EXPECT_EQ(controller->FlashFrames(), 0);
    EXPECT_EQ(controller->FlushBytesSkipped(), 512) << "the flush at the start, none after the question";

    Run(Answering({kAnswerNo}));
    EXPECT_TRUE(run->maxSteps.empty());
}

TEST_F(ComBurnRunTest, MemoryTooSmallForAnyStepIsSaidPlainly)
{
    struct Case {
        const char* what;
        size_t firmware;
        int flash, boot;
    };
    for (const Case& c : {Case{"no room behind the firmware", 15300, 16384, 1024},
                          Case{"firmware larger than the flash", 15361, 16384, 1024},
                          Case{"boot-loader larger than the flash", 100, 1024, 4096}}) {
        UseFirmware(Bytes(c.firmware, 3));
        settings.flashSize = c.flash;
        settings.bootSize = c.boot;
        Run(Answering({kAnswerYes}));
        EXPECT_TRUE(finished) << c.what;
        ASSERT_EQ(run->boxes.size(), 1u) << c.what;
        EXPECT_EQ(run->boxes[0].text, "Не хватает памяти контроллера для записи сценария!") << c.what;
        EXPECT_EQ(run->boxes[0].flags, kBoxOk | kBoxIconError) << c.what;
        EXPECT_TRUE(run->maxSteps.empty()) << c.what;
        // Where the question would have come, the run ends as after it: no flush.
        EXPECT_EQ(controller->FlushBytesSkipped() > 512, c.firmware != 15300) << c.what;
    }
}

TEST_F(ComBurnRunTest, AMissingBlockSizeIsALinkError)
{
    settings.blockSize = 0;
    Run();
    ASSERT_EQ(run->boxes.size(), 1u);
    EXPECT_EQ(run->boxes[0].text, "Невозможно загрузить сценарий!\nОшибка связи с контроллером.");
}

TEST_F(ComBurnRunTest, PacedAt38400BaudTheSameBytesArrive)
{
    faults.rejectFlashFrame = 10;
    BurnRunOptions paced;
    paced.baud = 38400;
    Run(paced);
    ExpectProgrammed(5120);
    // Bytes sent take 10 bit-times each on the line.
    EXPECT_GT(run->closedAt, static_cast<double>(run->bytesSentAtClose) * 10 / 38400);
}

} // namespace
