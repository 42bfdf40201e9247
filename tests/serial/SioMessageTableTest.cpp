// The message table: its size, its order, the codes it holds and the texts the program
// and its log files depend on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "serial/SioMessageTable.h"

namespace {

struct CodeRun {
    int first;
    int last;
};

// Every code of the table, as runs (negative runs written from -first to -last).
const CodeRun codeRuns[] = {
    {0, 0}, {-2, -6}, {-8, -8}, {-15, -15}, {-18, -18}, {-100, -105}, {-150, -162},
    {-1001, -1009}, {-2001, -2012}, {-3001, -3010}, {-4001, -4017}, {-4020, -4021},
    {4101, 4101}, {4200, 4213}, {4301, 4312}, {4401, 4403}, {4500, 4523}, {4550, 4553},
    {4599, 4611}, {4630, 4633}, {4660, 4671}, {4700, 4728}, {4730, 4730}, {4801, 4808},
    {4820, 4828}, {4830, 4832}, {4840, 4843}, {-5001, -5003}, {-5501, -5506},
    {-6001, -6016}, {-7001, -7014}, {-7500, -7502}, {-8001, -8005}, {-8050, -8055},
    {-8060, -8075}, {-8080, -8083}, {-8085, -8085}, {-8087, -8092}, {-8100, -8103},
    {-8300, -8305}, {-8310, -8318}, {-8320, -8322}, {-8330, -8332}, {-8340, -8340},
    {-8500, -8500}, {9001, 9007}, {10000, 10000}, {10004, 10004}, {10009, 10009},
    {10013, 10014}, {10022, 10022}, {10024, 10024}, {10035, 10071}, {10091, 10093},
    {10101, 10101}, {11001, 11004}, {13501, 13516}, {13533, 13557}, {13565, 13565},
    {13597, 13601}, {13650, 13670}, {-13801, -13803}, {-13805, -13848}, {-13850, -13886},
    {-13928, -13932}, {13933, 13933}, {-13934, -13945}, {-13950, -13959}, {-13980, -13980},
    {15001, 15021}, {15100, 15356}, {15501, 15502}, {15601, 15608}, {15700, 15742},
};

const std::pair<int, const char*> givenTexts[] = {
    {0, "OK"},
    {-2, "File not found"},
    {-3, "Path not found"},
    {-4, "Too many open files"},
    {-5, "File access denied"},
    {-6, "Invalid file handle"},
    {-8, "Insufficient memory"},
    {-160, "Device write error"},
    {-161, "Device read error"},
    {-162, "General failure"},
    {-1001, "Bad handle passed to com function"},
    {-1002, "Bad argument passed to function"},
    {-1003, "Got quit message"},
    {-1005, "ComPort component not assigned"},
    {-1006, "Internal error creating window class"},
    {-2001, "ie_BadId - Specified comport doesn't exist"},
    {-2002, "ie_Baudrate - unsupported baud rate"},
    {-2003, "ie_Bytesize - invalid byte size"},
    {-2004, "ie_Default - error in default parameters"},
    {-2005, "ie_Hardware - Specified comport in use"},
    {-2006, "ie_Memory - unable to allocate queues"},
    {-2007, "ie_NOpen - device not open"},
    {-2008, "ie_Open - device already open"},
    {-2009, "No more handles, can't open port"},
    {-2010, "No timers available"},
    {-2011, "The ComNumber property of the TSioComPort has not been set"},
    {-2012, "Comport was not opened by Tapi"},
    {-3001, "No device layer specified"},
    {-3002, "Function not supported by driver"},
    {-3003, "EnableCommNotification failed"},
    {-3004, "Failed to put entire block"},
    {-3005, "Failed to get entire block"},
    {-3006, "Output buffer too small for block"},
    {-3007, "Buffer is empty"},
    {-3008, "Tracing not enabled"},
    {-3009, "Logging not enabled"},
    {-3010, "Base address not set"},
    {-5001, "No more trigger slots"},
    {-5002, "Data trigger too long"},
    {-5003, "Bad trigger handle"},
    {-6006, "Fatal time out"},
    {-6008, "Too many errors during protocol"},
    {-6009, "Block sequence error in Xmodem"},
    {15001, "No event"},
    {15002, "Dispatch"},
    {15003, "Trigger"},
    {15004, "Error"},
    {15005, "Thread"},
    {15006, "TrigAllc"},
    {15007, "TrigDisp"},
    {15008, "TrgHdAlc"},
    {15009, "TrgHdDsp"},
    {15010, "TrDatChg"},
    {15011, "Telnet"},
    {15012, "Fax"},
    {15013, "XModem"},
    {15014, "YModem"},
    {15015, "ZModem"},
    {15016, "Kermit"},
    {15017, "Ascii"},
    {15018, "BPlus"},
    {15019, "Packet"},
    {15020, "User"},
    {15021, "Script"},
    {15100, ""},
    {15101, "ReadCom"},
    {15102, "WriteCom"},
    {15103, "Line status"},
    {15104, "Modem status"},
    {15105, "Avail"},
    {15106, "Timer"},
    {15107, "Data"},
    {15108, "Status"},
    {15109, "Start"},
    {15110, "Exit"},
    {15111, "Sleep"},
    {15112, "Wake"},
    {15113, "Data"},
    {15114, "Timer"},
    {15115, "Status"},
    {15116, "Avail"},
    {15117, "Window"},
    {15118, "Procedure"},
    {15119, "Method"},
    {15120, "Sent WILL"},
    {15121, "Sent WON'T"},
    {15122, "Sent DO"},
    {15123, "Sent DON'T"},
    {15124, "Recv WILL"},
    {15125, "Recv WON'T"},
    {15126, "Recv DO"},
    {15127, "Recv DON'T"},
    {15128, "Command"},
    {15129, "Sent Term"},
    {15352, "Status Queued"},
    {15353, "Data Queued"},
    {15354, "Data Written"},
    {15143, "tf1TSIRespns"},
    {15346, "PcktTimeout"},
    {15355, "ZSInit"},
    {15356, "CheckSInit"},
    {15501, "Time      Type      SubType       Data      OtherData"},
    {15502, "--------  --------  ------------  --------  ---------"},
    {15601, "DCTS "},
    {15602, "DDSR "},
    {15603, "TERI "},
    {15604, "DDCD "},
    {15605, "CTS "},
    {15606, "DSR "},
    {15607, "RI "},
    {15608, "DCD "},
    {15700, "Binary"},
    {15701, "Echo"},
    {15702, "Reconnection"},
    {15703, "Supress Go Ahead"},
    {15704, "Approx Msg Size"},
    {15705, "Status"},
    {15706, "Timing Mark"},
    {15707, "Remote Trans & Echo"},
    {15708, "Output Line Width"},
    {15709, "Output Page Size"},
    {15710, "Output C/R Disp"},
    {15711, "Output Horz Tabs"},
    {15712, "Output Horz Tab Disp"},
    {15713, "Output FF Disp"},
    {15714, "Output Vert Tabs"},
    {15715, "Output Vert Tab Disp"},
    {15716, "Output Linefeed Disp"},
    {15717, "Extended ASCII"},
    {15718, "Logout"},
    {15719, "Byte Macro"},
    {15720, "Data Entry Terminal"},
    {15721, "SUPDUP"},
    {15722, "SUPDUP Output"},
    {15723, "Send Location"},
    {15724, "Terminal Type"},
    {15725, "End of Record"},
    {15726, "TACACS User ID"},
    {15727, "Output Marking"},
    {15728, "Terminal Loc Num"},
    {15729, "Telnet3270 Regime"},
    {15730, "X.3 PAD"},
    {15731, "Neg Window Size"},
    {15732, "Terminal Speed"},
    {15733, "Flow Control"},
    {15734, "LineMode"},
    {15735, "X Display Location"},
    {15736, "Environment"},
    {15737, "Authentication"},
    {15738, "Telnet code 38"},
    {15739, "New Environment"},
    {15740, "Telnet code 40"},
    {15741, "Telnet code 41"},
    {15742, "Character Set"},
};

TEST(SioMessageTable, HoldsEveryCodeOnceInOrderOfAbsoluteValue)
{
    std::set<int> expected;
    for (const CodeRun& r : codeRuns) {
        int step = r.last >= r.first ? 1 : -1;
        for (int c = r.first; c != r.last + step; c += step) {
            expected.insert(c);
        }
    }
    ASSERT_EQ(expected.size(), 897u);
    ASSERT_EQ(SioMessageCount, 897);

    std::set<int> present;
    int negatives = 0, positives = 0, empties = 0;
    for (int i = 0; i < SioMessageCount; ++i) {
        const SioMessageEntry& e = SioMessageNumberLookup[i];
        if (i > 0) {
            EXPECT_LT(std::abs(SioMessageNumberLookup[i - 1].Code), std::abs(e.Code)) << "entry " << i;
        }
        present.insert(e.Code);
        negatives += e.Code < 0;
        positives += e.Code > 0;
        empties += e.Message[0] == '\0';
    }
    EXPECT_EQ(present, expected);
    EXPECT_EQ(negatives, 296);
    EXPECT_EQ(positives, 600);
    EXPECT_EQ(empties, 11);
}

TEST(SioMessageTable, GivesTheProgramsTexts)
{
    for (const auto& [code, text] : givenTexts)
        EXPECT_EQ(MessageNumberToString(static_cast<int16_t>(code)), text) << "code " << code;
}

TEST(SioMessageTable, ProtocolStateNamesFitTheLogColumn)
{
    for (int code = 15130; code <= 15356; ++code) {
        if (code >= 15352 && code <= 15354)
            continue;  // the thread queue names are wider
        EXPECT_LE(MessageNumberToString(static_cast<int16_t>(code)).size(), 12u) << code;
    }
}

TEST(SioMessageTable, LookupIgnoresTheSignAndMissesCleanly)
{
    for (int i = 0; i < SioMessageCount; ++i) {
        int16_t code = static_cast<int16_t>(SioMessageNumberLookup[i].Code);
        EXPECT_EQ(MessageNumberToString(code), SioMessageNumberLookup[i].Message);
        EXPECT_EQ(MessageNumberToString(static_cast<int16_t>(-code)), SioMessageNumberLookup[i].Message);
    }
    EXPECT_EQ(SioLoadStr(-2011), SioLoadStr(2011));
    EXPECT_EQ(SioLoadStr(0), "OK");
    for (int16_t missing : {1, 7, 106, 163, 1000, 1010, 4018, 5000, 13804, 15357, 32767, -32768})
        EXPECT_EQ(MessageNumberToString(missing), "") << missing;
}

std::string FakeSystemText(uint32_t number)
{
    if (number == 4200)
        return "The\tsystem  text\r\n";
    if (number == 7)
        return "Storage\r\ncontrol blocks destroyed.\r\n";
    return "";
}

TEST(SioMessageTable, EmptyOrMissingTextsFallBackToTheSystemText)
{
    EXPECT_EQ(SioLoadStr(-7), "");  // no source installed yet
    SetSioSystemMessageSource(&FakeSystemText);
    EXPECT_EQ(SioLoadStr(-7), "Storage control blocks destroyed. ");
    EXPECT_EQ(SioLoadStr(4200), "The system text ");  // an empty table text
    EXPECT_EQ(SioLoadStr(-2), "File not found");     // table texts win
    EXPECT_EQ(SioLoadStr(9), "");                    // neither has one
    char buffer[256];
    EXPECT_STREQ(SioLoadZ(buffer, -3007), "Buffer is empty");
    SetSioSystemMessageSource(nullptr);
}

TEST(SioMessageTable, CleanSystemMessageFoldsControlsAndBlankRuns)
{
    EXPECT_EQ(CleanSystemMessage("a\r\n\r\nb   c\x01"), "a b c ");
    EXPECT_EQ(CleanSystemMessage(""), "");
    EXPECT_EQ(CleanSystemMessage("  x"), " x");
}

} // namespace
