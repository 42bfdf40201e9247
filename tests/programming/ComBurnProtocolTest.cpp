#include "programming/ComBurnProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "programming/BurnTexts.h"
#include "RecordingBurnShell.h"

namespace {

class ComBurnProtocolTest : public ::testing::Test {
protected:
    ComBurnProtocolTest()
    {
        rom.RomLoaded = true;
        rom.RomType = 'M';
        rom.RomLength = 300;
        rom.RomData.assign(300, 0x5A);
        image.assign(50, 0x11);
        eeprom.assign(33, 0x22);
        inputs.RomFileName = "C:\\pelvor\\Rom\\Qarto.rom";
        inputs.ChannelCount = 4;
        inputs.ScnData = image;
        inputs.EeData = eeprom;
    }

    void Feed(const std::string& bytes, uint32_t ms = 0)
    {
        protocol.Receive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), ms);
    }
    // Started, found, and told 512 bytes of EEPROM, type M, 32-byte blocks, 1024 bytes of
    // boot-loader in 16 KiB of flash.
    void ReachFlash()
    {
        protocol.Start(0);
        Feed("v01?");
        Feed("1MQdm");
        ASSERT_EQ(protocol.State(), 3);
    }
    // Indexes of the flash block frames sent so far.
    std::vector<int> BlocksSent() const
    {
        std::vector<int> out;
        for (const auto& f : shell.sent)
            if (f.size() == static_cast<size_t>(protocol.BlockSize()) + 4 && protocol.BlockSize() > 0)
                out.push_back(f[0] << 8 | f[1]);
        return out;
    }

    RomFile rom;
    std::vector<uint8_t> image, eeprom;
    BurnInputs inputs;
    RecordingBurnShell shell;
    ComBurnProtocol protocol{inputs, rom, shell};
};

TEST_F(ComBurnProtocolTest, StartFlushesThePortThenSaysHello)
{
    protocol.Start(0);
    std::vector<std::string> expected = {"status Поиск контроллера..."};
    for (int i = 0; i < 4; ++i) {
        expected.push_back("send 128 bytes room 128");
        expected.push_back("pause 10");
    }
    expected.push_back("send 62 01 72 73 room 5");
    EXPECT_EQ(shell.log, expected);
    EXPECT_EQ(shell.sent[0], std::vector<uint8_t>(128, 0xFF));
    EXPECT_EQ(protocol.State(), 1);
}

TEST_F(ComBurnProtocolTest, FindsTheControllerAndLearnsItsSizes)
{
    protocol.Start(0);
    Feed("v1fz05000?");
    EXPECT_EQ(protocol.FirmwareVersion(), 0x1f);
    EXPECT_EQ(protocol.FirmwareSize(), 5000);
    EXPECT_EQ(protocol.State(), 2);
    EXPECT_EQ(shell.log.back(), "send 21 room 1");

    shell.log.clear();
    protocol.Tick(500);
    EXPECT_EQ(shell.log, (std::vector<std::string>{"status Поиск контроллера....", "send if room 21"}));

    Feed("4MTfr");
    EXPECT_EQ(protocol.EepromSize(), 4096);
    EXPECT_EQ(protocol.BlockSize(), 256);
    EXPECT_EQ(protocol.BootSize(), 4096);
    EXPECT_EQ(protocol.FlashSize(), 40960);
    EXPECT_EQ(protocol.State(), 3);
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(ComBurnProtocolTest, TwentyQuietTicksAskWhetherToWaitOn)
{
    protocol.Start(0);
    for (int i = 1; i < 20; ++i)
        protocol.Tick(500u * i);
    EXPECT_TRUE(shell.boxes.empty());
    EXPECT_EQ(shell.Lines("send 62").size(), 20u) << "a hello on every tick while searching";
    EXPECT_EQ(shell.status, "Поиск контроллера..." + std::string(19, '.'));

    size_t linesAtBox = 0;
    shell.duringBox = [&] {
        linesAtBox = shell.log.size();
        protocol.Tick(10500);  // the timer is off while the box is up
        protocol.Tick(11000);
    };
    protocol.Tick(10000);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.log.size(), linesAtBox + 1) << "only the status after OK";
    EXPECT_EQ(shell.boxes[0], TimeoutText(false, ""));
    EXPECT_EQ(shell.boxCaptions[0], "Программирование контроллера");
    EXPECT_EQ(shell.boxFlags[0], kBoxOkCancel | kBoxIconError);
    EXPECT_EQ(shell.status, "Поиск контроллера...") << "OK restores the status";
    EXPECT_EQ(protocol.Countdown(), 20);
    EXPECT_FALSE(shell.closed);

    shell.answers = {kAnswerCancel};
    for (int i = 0; i < 20; ++i)
        protocol.Tick(11000u + 500u * i);
    EXPECT_EQ(shell.boxes.size(), 2u);
    EXPECT_TRUE(shell.closed);
    EXPECT_TRUE(protocol.Closing());
}

TEST_F(ComBurnProtocolTest, RepliesSplitAcrossEventsAreAssembledWithinTheirDeadline)
{
    protocol.Start(0);
    Feed("v0", 0);
    Feed("1z050", 40);
    Feed("00?", 140);  // 100 ms after the "z"
    EXPECT_EQ(protocol.FirmwareVersion(), 1);
    EXPECT_EQ(protocol.FirmwareSize(), 5000);
    EXPECT_EQ(protocol.State(), 2);
}

TEST_F(ComBurnProtocolTest, LateDigitsAreDroppedWithTheirReply)
{
    rom.RomLoaded = false;
    protocol.Start(0);
    Feed("z05", 1000);
    Feed("000?", 1101);
    EXPECT_EQ(protocol.FirmwareSize(), 0);
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0], "Невозможно загрузить сценарий!\nНе найден файл \"C:\\pelvor\\Rom\\Qarto.rom\"");
    EXPECT_EQ(shell.boxFlags[0], kBoxOk | kBoxIconError);
    EXPECT_EQ(shell.log.back(), "close");
    EXPECT_EQ(shell.Lines("send 21").size(), 1u) << "the acknowledge still goes out";
}

TEST_F(ComBurnProtocolTest, BlankPaddedRepliesAreReadAsFormattedNumbers)
{
    struct Case {
        const char* reply;
        int version, size;
    };
    for (const Case& c : {Case{"v 1z 5000?", 1, 5000}, Case{"v1 z5000 ?", 1, 5000}, Case{"vA0z   64?", 0xA0, 64},
                          Case{"v 0z50 00?", 0, 50}, Case{"v  z     ?", 0, 0}}) {
        RecordingBurnShell fresh;
        ComBurnProtocol p(inputs, rom, fresh);
        p.Start(0);
        p.Receive(reinterpret_cast<const uint8_t*>(c.reply), std::strlen(c.reply), 0);
        EXPECT_EQ(p.FirmwareVersion(), c.version) << c.reply;
        EXPECT_EQ(p.FirmwareSize(), c.size) << c.reply;
        EXPECT_EQ(p.State(), 2) << c.reply << ": the blanks belong to the replies, the \"?\" is read";
    }
}

TEST_F(ComBurnProtocolTest, AnswersToARepeatedHelloAreNotReadAsSizeCodes)
{
    protocol.Start(0);
    Feed("v1fz05000?");
    Feed("v2az01234?");  // its digits hold EEPROM and boot-loader codes
    EXPECT_EQ(protocol.State(), 2);
    EXPECT_EQ(protocol.EepromSize(), 64);
    EXPECT_EQ(protocol.BootSize(), 0);
    EXPECT_EQ(protocol.FirmwareSize(), 5000) << "replies count only while searching";

    Feed("v3+");  // a reply cut short leaves the next character to the protocol
    Feed("z1?", 50);
    EXPECT_EQ(protocol.FirmwareVersion(), 0x1f);
    EXPECT_EQ(protocol.EepromSize(), 64);
}

TEST_F(ComBurnProtocolTest, AnotherControllerTypeIsRefusedAndNothingMoreIsRead)
{
    protocol.Start(0);
    Feed("?");
    Feed("1NQdm+");
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0], "Несоответствующий контроллер!");
    EXPECT_EQ(shell.log.back(), "close");
    EXPECT_TRUE(BlocksSent().empty());
    size_t lines = shell.log.size();
    Feed("+");
    protocol.Tick(500);
    EXPECT_EQ(shell.log.size(), lines);
}


TEST_F(ComBurnProtocolTest, BlocksGoOutOnPlusAndAgainOnMinusThenTheEepromBytes)
{
    ReachFlash();
    // 300 bytes of firmware take 10 blocks of 32 (one more even past an edge), the image 2.
    for (int i = 0; i < 12; ++i)
        Feed(i == 5 ? "-" : "+");
    EXPECT_EQ(protocol.FirmwareBlocks(), 10);
    EXPECT_EQ(BlocksSent(), (std::vector<int>{0, 1, 2, 3, 4, 4, 5, 6, 7, 8, 9, 10}));
    for (const auto& f : shell.sent) {
        if (f.size() == 36) {
            EXPECT_EQ((f[2] & 0x40) != 0, (f[0] << 8 | f[1]) < 10) << "bit 6 of the key marks firmware";
        }
    }
    EXPECT_EQ(shell.Lines("max steps"), (std::vector<std::string>{"max steps " + std::to_string((15360 - 320 - 10) / 6) + " keep"}));
    Feed("+");
    Feed("+");
    EXPECT_EQ(shell.log.back(), "send FF FF room 2") << "past the image: the end of flash";
    EXPECT_EQ(protocol.CurrentBlock(), -1);
    Feed(")+");
    EXPECT_EQ(protocol.State(), 4);
    EXPECT_EQ(shell.log.back(), "send 00 00 22 22 room 4");
    Feed("-");
    EXPECT_EQ(shell.log.back(), "send 00 00 22 22 room 4");
    for (int i = 1; i < 33; ++i)
        Feed("+");
    EXPECT_EQ(shell.log.back(), "send 00 20 22 42 room 4");
    shell.log.clear();
    Feed("+");
    std::vector<std::string> end;
    for (int i = 0; i < 3; ++i) {
        end.push_back("send FF FF room 2");
        end.push_back("pause 50");
    }
    end.push_back("progress hidden");
    end.push_back("close");
    EXPECT_EQ(shell.log, end);

    shell.log.clear();
    protocol.FormClose();
    EXPECT_EQ(shell.log.front(), "status Завершение...");
    EXPECT_EQ(shell.Lines("send 128 bytes").size(), 4u) << "the flush after a normal end";
}

TEST_F(ComBurnProtocolTest, AnAnswerDuringASendIsHandledAfterIt)
{
    ReachFlash();
    shell.duringSend = [&] { Feed("+"); };  // the controller answers while the block still waits for room
    Feed("+");
    EXPECT_FALSE(shell.nestedSend);
    EXPECT_EQ(BlocksSent(), (std::vector<int>{0, 1}));
}

TEST_F(ComBurnProtocolTest, TheTimeoutBoxIsClosedByAnAnswerThatMovesOn)
{
    ReachFlash();
    Feed("+");
    shell.duringBox = [&] { Feed("+"); };
    for (int i = 1; i <= 20; ++i)
        protocol.Tick(500u * i);
    ASSERT_EQ(shell.boxes.size(), 1u);
    const std::vector<std::string> boxOn = shell.Lines("box");
    auto at = std::find(shell.log.begin(), shell.log.end(), boxOn[0]);
    ASSERT_NE(at, shell.log.end());
    EXPECT_EQ(*(at + 1), "dismiss box");
    EXPECT_EQ(BlocksSent(), (std::vector<int>{0, 1}));
    EXPECT_FALSE(protocol.BoxOpen());
    EXPECT_EQ(protocol.Countdown(), 20);
    EXPECT_EQ(shell.status, "Загрузка...");
    EXPECT_FALSE(shell.closed);
}

TEST_F(ComBurnProtocolTest, ATimeoutBoxDueInsideAWaitingSendShowsAtOnce)
{
    ReachFlash();
    // The first block waits for room that does not come; the timer keeps ticking.
    size_t boxesInSend = 0;
    shell.duringSend = [&] {
        for (int i = 1; i <= 20; ++i)
            protocol.Tick(500u * i);
        boxesInSend = shell.boxes.size();
        EXPECT_EQ(shell.status, "Загрузка...") << "OK restores the status at once";
    };
    Feed("+");
    EXPECT_EQ(boxesInSend, 1u);
    EXPECT_EQ(shell.boxes[0], TimeoutText(false, ""));
    EXPECT_EQ(shell.boxFlags[0], kBoxOkCancel | kBoxIconError);
    EXPECT_FALSE(protocol.BoxOpen());
    EXPECT_EQ(protocol.Countdown(), 20);
    EXPECT_EQ(shell.status, "Загрузка...") << "no dotted caption left over from the queue";
    EXPECT_EQ(BlocksSent(), std::vector<int>{0}) << "the send carries on after OK";

    // Cancel closes the window while the next block still waits for its room.
    bool closedInSend = false;
    shell.answers = {kAnswerCancel};
    shell.duringSend = [&] {
        for (int i = 21; i <= 40; ++i)
            protocol.Tick(500u * i);
        closedInSend = shell.closed;
    };
    Feed("+");
    EXPECT_TRUE(closedInSend) << "the send underneath learns that the window closes";
    EXPECT_TRUE(protocol.Closing());
    EXPECT_EQ(shell.boxes.size(), 2u);
}

TEST_F(ComBurnProtocolTest, AnAnswerEndsATimeoutBoxShownInsideAWaitingSend)
{
    ReachFlash();
    shell.answers = {kAnswerCancel};  // not used: the answer ends the box first
    shell.duringSend = [&] {
        shell.duringBox = [&] { Feed("+"); };
        for (int i = 1; i <= 20; ++i)
            protocol.Tick(500u * i);
    };
    Feed("+");
    const auto box = std::find(shell.log.begin(), shell.log.end(), shell.Lines("box").at(0));
    ASSERT_NE(box, shell.log.end());
    EXPECT_EQ(*(box + 1), "dismiss box");
    EXPECT_EQ(BlocksSent(), (std::vector<int>{0, 1})) << "the answer moves the transfer on after the send";
    EXPECT_FALSE(shell.closed);
    EXPECT_TRUE(std::all_of(box, shell.log.end(), [](const std::string& line) {
        return line.compare(0, 7, "status ") != 0 || line == "status Загрузка...";
    })) << "no dotted caption from before the answer";
}

TEST_F(ComBurnProtocolTest, AfterCancelOnlyTheClosingFlushGoesOut)
{
    // A hello waits for room that does not come; the controller's answers queue up
    // behind it, then the time-out box comes and is cancelled. What they asked for never
    // goes out, but the step maximum their sizes give still reaches the window.
    protocol.Start(0);
    shell.answers = {kAnswerCancel};
    shell.duringSend = [&] {
        Feed("v01?");
        Feed("1MQdm");
        Feed("+");
        for (int i = 2; i <= 21; ++i)
            protocol.Tick(500u * i);
    };
    protocol.Tick(500);
    ASSERT_TRUE(shell.closed);
    protocol.FormClose();
    const auto box = std::find(shell.log.begin(), shell.log.end(), shell.Lines("box").at(0));
    std::vector<std::string> onTheLine;
    for (auto line = box + 1; line != shell.log.end(); ++line)
        if (line->rfind("send", 0) == 0 || line->rfind("pause", 0) == 0 || *line == "drop output")
            onTheLine.push_back(*line);
    std::vector<std::string> expected = {"drop output"};
    for (int i = 0; i < 4; ++i) {
        expected.push_back("send 128 bytes room 128");
        expected.push_back("pause 10");
    }
    EXPECT_EQ(onTheLine, expected);
    EXPECT_EQ(shell.Lines("max steps").size(), 1u);
}

TEST_F(ComBurnProtocolTest, NothingIsReadWhileAnErrorBoxIsUp)
{
    protocol.Start(0);
    Feed("?");
    shell.duringBox = [&] { Feed("MQdm+"); };
    Feed("N");
    EXPECT_TRUE(BlocksSent().empty());
    EXPECT_EQ(protocol.BlockSize(), 0);
}




TEST(BurnTexts, TimeoutTexts)
{
    const std::string pad(18, ' ');
    EXPECT_EQ(TimeoutText(false, ""), "Ошибка загрузки!" + pad + "\n\n1. Проверьте правильность подключения кабеля" +
                                          pad + "\n2. Выключите и снова включите питание контроллера");
    EXPECT_EQ(TimeoutText(true, "Qarto18"), "Ошибка загрузки!" + pad +
                                                "\n\n1. Убедитесь, что подключен контроллер \"Qarto18\"" + pad +
                                                "\n2. Отключите и снова подключите кабель USB");
}

} // namespace
