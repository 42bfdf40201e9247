// The serial library's texts for system error numbers, from the system's message table.
#include <gtest/gtest.h>

#include "serial/SioMessageTable.h"
#include "serial/SioWin32Services.h"
#include "ui/Text.h"

TEST(SioSystemMessages, KeepOneTrailingBlankForTheLineEnd)
{
    SioInstallWin32Services();
    const std::string raw = SysErrorMessageText(87);  // no table text of its own
    ASSERT_GE(raw.size(), 2u);
    ASSERT_EQ(raw.back(), '\n') << "the system's text ends in a line break";
    const std::string text = SioLoadStr(-87);
    EXPECT_EQ(text, SysErrorMessage(87) + " ");
    EXPECT_EQ(SioLoadStr(87), text);
    EXPECT_EQ(SioLoadStr(-2), "File not found") << "table texts come first";
    SioUninstallWin32Services();
    EXPECT_EQ(SioLoadStr(-87), "") << "without the system's table no text";
}
