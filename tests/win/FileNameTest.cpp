// File names from the system (dialogs, command line) are taken only when Windows-1251
// holds them exactly; a look-alike would name a different file.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
#include "ui/Text.h"

TEST(FileNames, ExactConversionMarksWhatTheCodePageLacks)
{
    std::string out;
    EXPECT_TRUE(FromWideExact(L"C:\\Сценарии\\зал 1.scn", out));
    EXPECT_EQ(out, "C:\\Сценарии\\зал 1.scn");
    EXPECT_FALSE(FromWideExact(L"C:\\caf\x00E9.scn", out));
    EXPECT_EQ(out, "C:\\caf?.scn");  // not "cafe.scn", which may be another file
    EXPECT_TRUE(FromWideExact(L"", out));
    EXPECT_EQ(out, "");
}

TEST(FileNames, ANameTheProgramCannotHoldIsRefusedWithABox)
{
    RecordingDialogs dialogs;
    std::string title = Application->Title();
    Application->SetTitle("Пелвор");
    std::string fileName = "before.scn";
    EXPECT_FALSE(AcceptChosenFileName(L"D:\\caf\x00E9.scn", fileName));
    EXPECT_EQ(fileName, "before.scn");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Имя файла содержит знаки, которые программа не может сохранить:\nD:\\caf?.scn");
    EXPECT_EQ(dialogs.boxes[0].caption, "Пелвор");
    EXPECT_EQ(dialogs.boxes[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONSTOP));

    EXPECT_TRUE(AcceptChosenFileName(L"D:\\Шоу.scn", fileName));
    EXPECT_EQ(fileName, "D:\\Шоу.scn");
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    Application->SetTitle(title);
}
