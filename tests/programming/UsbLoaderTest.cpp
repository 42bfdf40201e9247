#include "programming/UsbLoader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "SimulatedBootloader.h"

namespace {

std::vector<uint8_t> Pattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 13 + 5);
    return bytes;
}

struct Loader {
    SimulatedBootloader device;
    TUsbLoader loader;

    explicit Loader(SimulatedBootloaderConfig config = {}) : device(std::move(config)), loader(device.Access())
    {
        loader.SetProductName("SIM-8");
    }
};

SimulatedBootloaderConfig WithPage(uint16_t pageSize)
{
    SimulatedBootloaderConfig config;
    config.pageSize = pageSize;
    return config;
}

TEST(UsbLoader, OpensTheDeviceWhoseStringsMatchExactly)
{
    SimulatedBootloaderConfig config;
    config.signature = 0x1E940B;
    config.reportedFirmwareSize = 0x1234;
    Loader t(config);
    const std::string bootloader = "\\\\?\\hid#vid_16c0&pid_05df#other";
    t.device.AddOtherDevice({bootloader + "1", "nordastrale!", "SIM-8"});
    t.device.AddOtherDevice({bootloader + "2", "Nordastrale", "SIM-8"});
    t.device.AddOtherDevice({bootloader + "3", "nordastrale", "SIM-80"});
    t.device.AddOtherDevice({"\\\\?\\hid#vid_046d&pid_c52b#4", "nordastrale", "SIM-8"});
    ASSERT_TRUE(t.loader.Open());
    EXPECT_EQ(t.device.Enumerations(), 1);
    const TUsbLoader::Identity& id = t.loader.identity();
    EXPECT_EQ(id.signature, 0x1E940Bu);
    EXPECT_EQ(id.pageSize, 128u);
    EXPECT_EQ(id.flashSize, 8192u);
    EXPECT_EQ(id.eepromSize, 512u);
    EXPECT_EQ(id.bootSize, 1024u);
    EXPECT_EQ(GetLE(id.info, 2), 0x1234u);
    // The selected device is the one the transfers go to.
    ASSERT_TRUE(t.loader.WriteEepromByte(5, 0xA7));
    EXPECT_EQ(t.device.Eeprom()[5], 0xA7);
}

TEST(UsbLoader, OpenFailsWithoutAUsableIdentity)
{
    Loader unplugged;
    unplugged.device.Unplug();
    EXPECT_FALSE(unplugged.loader.Open());

    Loader failedRead;
    failedRead.device.FailTransfer(1);
    EXPECT_FALSE(failedRead.loader.Open());
    EXPECT_EQ(failedRead.loader.identity().signature, 0u);
    EXPECT_TRUE(failedRead.loader.Open());

    for (uint16_t page : {0, 96}) {
        Loader t(WithPage(page));
        EXPECT_FALSE(t.loader.Open()) << page;
    }
    SimulatedBootloaderConfig noFlash;
    noFlash.flashSize = 0;
    Loader t(noFlash);
    EXPECT_FALSE(t.loader.Open());
}

TEST(UsbLoader, FlashGoesInWhole128ByteChunksRoundedToPages)
{
    const std::vector<uint8_t> image = Pattern(8192);
    struct Case {
        uint16_t page;
        uint32_t address, count;
        std::vector<uint32_t> chunks;
    };
    const Case cases[] = {
        {64, 192, 100, {128, 256}},             // small pages: down and up to 128 bytes
        {256, 256, 300, {256, 384, 512, 640}},  // large pages: the last page whole
        {128, 0, 256, {0, 128}},                // ends on a chunk: nothing extra
    };
    for (const Case& c : cases) {
        Loader t(WithPage(c.page));
        ASSERT_TRUE(t.loader.Open());
        EXPECT_EQ(t.loader.ChunkedEnd(c.address, c.count), c.chunks.back() + 128);
        EXPECT_TRUE(t.loader.WriteFlash(c.address, image, c.count));
        EXPECT_EQ(t.device.FlashWrites(), c.chunks) << c.page;
        const auto from = t.device.Flash().begin() + c.chunks.front();
        EXPECT_TRUE(std::equal(from, from + 128 * c.chunks.size(), image.begin() + c.chunks.front()));
        EXPECT_TRUE(t.device.Faults().empty());
    }
    // An image that ends before the last chunk does is refused before anything is sent.
    Loader t(WithPage(256));
    ASSERT_TRUE(t.loader.Open());
    EXPECT_FALSE(t.loader.WriteFlash(0, Pattern(300), 300));
    EXPECT_TRUE(t.device.FlashWrites().empty());
}

TEST(UsbLoader, ReportsProgressPerChunkAndStopsAtAFailedOne)
{
    const std::vector<uint8_t> image = Pattern(1024);
    Loader t;  // not opened: the first write opens the device itself
    std::vector<int> percents;
    t.loader.OnProgress = [&](int percent) { percents.push_back(percent); };
    EXPECT_TRUE(t.loader.WriteFlash(0, image, 384));
    EXPECT_EQ(percents, (std::vector<int>{33, 66, 100}));

    t.device.FailTransfer(2);
    EXPECT_FALSE(t.loader.WriteFlash(0, image, 512));
    EXPECT_EQ(t.device.FlashWrites().size(), 3u + 1u);
}

TEST(UsbLoader, ProgressIsTheShareDoneInFloatingPointTruncated)
{
    Loader t;
    std::vector<int> percents;
    t.loader.OnProgress = [&](int percent) { percents.push_back(percent); };
    EXPECT_TRUE(t.loader.WriteFlash(0, Pattern(640), 640));
    EXPECT_EQ(percents, (std::vector<int>{19, 40, 60, 80, 100})) << "1 - 4/5 falls just short of 0.2";
}

} // namespace
