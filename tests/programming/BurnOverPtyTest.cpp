// The protocol driven in real time over a pty against the simulated controller program,
// the set-up the program under Wine uses.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "BurnJob.h"
#include "PtyBurnRun.h"
#include "SimulatorProcess.h"
#include "programming/BurnTexts.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "support/WaitUntil.h"

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BurnOverPtyTest : public ::testing::Test {
protected:
    BurnOverPtyTest()
    {
        for (size_t i = 0; i < 3000; ++i)
            firmware.push_back(static_cast<uint8_t>(i * 13 + 5));
        job.UseFirmware(firmware);
        for (size_t i = 0; i < 700; ++i)
            job.image.push_back(static_cast<uint8_t>(i ^ 0x5A));
        job.eeprom.assign(40, 0x33);
        job.inputs.ChannelCount = 18;
        job.UseBuffers();
    }

    std::vector<uint8_t> firmware;
    BurnJob job;
    TempDir store;
};

TEST_F(BurnOverPtyTest, TheControllerProgramStoresWhatWasSent)
{
    SimulatorProcess simulator(BURNSIM_PROGRAM, {"--store", store.Folder(), "--reject-flash", "4"});
    ASSERT_TRUE(simulator.Ready());
    PtyBurnRun run(simulator.Line(), job.inputs, job.rom);
    ASSERT_TRUE(run.Run(120000));
    EXPECT_TRUE(run.boxes.empty());
    // The simulator stores the transfer a moment after the end was sent, its summary last.
    WaitUntil([&] { return std::filesystem::exists(store.File("transfer-1.txt")); }, std::chrono::seconds(30),
              std::chrono::milliseconds(10));
    EXPECT_TRUE(simulator.Stop());

    const std::string flash = ReadWholeFile(store.File("flash-1.bin"));
    ASSERT_EQ(flash.size(), 15360u);
    EXPECT_EQ(flash.substr(0, 3000), AsText(firmware));
    EXPECT_EQ(flash.substr(3000, 72), std::string(72, '\xFF')) << "the firmware region ends on a block edge";
    EXPECT_EQ(flash.substr(3072, 700), AsText(job.image));
    EXPECT_EQ(ReadWholeFile(store.File("eeprom-1.bin")).substr(0, 40), AsText(job.eeprom));
}

TEST_F(BurnOverPtyTest, TheControllerProgramMisbehavesOnRequest)
{
    SimulatorProcess simulator(BURNSIM_PROGRAM, {"--type", "N"});
    ASSERT_TRUE(simulator.Ready());
    PtyBurnRun run(simulator.Line(), job.inputs, job.rom);
    ASSERT_TRUE(run.Run(120000));
    EXPECT_EQ(run.boxes, (std::vector<std::string>{kWrongControllerText}));
}

} // namespace
