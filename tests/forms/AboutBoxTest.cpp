// The About box over this test program's version block (the program's own one, built
// into the test program too), its links and the main window's About button.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "BuildInfo.h"
#include "MainFormFixture.h"
#include "setup/UnitAbout.h"
#include "support/TempDir.h"
#include "ui/ExtCtrls.h"
#include "ui/Messages.h"

namespace {

// Reads a file's version block into a record that held garbage: true when all of it
// came back zero.
bool ReadsAsEmpty(const std::string& file)
{
    VersionRecord record, zero{};
    std::memset(&record, 'z', sizeof record);
    ReadVersionInfo(file, record);
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

TEST(AboutBox, ShowsTheVersionBlockAndOpensItsLinks)
{
    TFormAbout* about = new TFormAbout(Application);
    std::vector<std::string> opened;
    about->OpenLink = [&](const std::string& target, int showMode) {
        opened.push_back(target + " " + std::to_string(showMode));
    };
    const std::string shortVersion = ShortVersion(PELVOR_VERSION_TEXT);
    ASSERT_FALSE(shortVersion.empty());
    EXPECT_EQ(about->LabelVersion->Caption(), "Версия: " + shortVersion);
    EXPECT_EQ(about->LabelAuthor->Caption(), PELVOR_COPYRIGHT);
    EXPECT_EQ(about->MessageLink, AboutMessageLink(PELVOR_MAIL_ADDRESS, shortVersion));
    EXPECT_EQ(std::string(about->Version.fileName), Application->ExeName());
    EXPECT_STRNE(about->Version.language, "");

    about->ImageLogo->Click();
    about->LabelOwner->Click();
    about->LabelAuthor->Click();
    std::vector<std::string> expected = {std::string(PELVOR_WEB_PAGE) + " " + std::to_string(SW_SHOWNORMAL),
                                         std::string(PELVOR_WEB_PAGE) + " " + std::to_string(SW_SHOWNORMAL),
                                         about->MessageLink + " " + std::to_string(SW_SHOW)};
    EXPECT_EQ(opened, expected);

    for (TLabel* link : {about->LabelAuthor, about->LabelOwner}) {
        EXPECT_EQ(link->Cursor, crHandPoint);
        link->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(link->Font().Color, clBlue);
        link->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(link));
        EXPECT_EQ(link->Font().Color, clWindowText);
    }

    // A program file without a version block: no version, no copyright, the subject stays.
    TempDir dir;
    EXPECT_TRUE(ReadsAsEmpty(dir.Write("plain.txt", {'n', 'o'})));
    about->ShowVersion(VersionRecord{});
    EXPECT_EQ(about->LabelVersion->Caption(), "Версия: ");
    EXPECT_EQ(about->LabelAuthor->Caption(), "");
    EXPECT_EQ(about->MessageLink, AboutMessageLink(PELVOR_MAIL_ADDRESS, ""));
    TComponent::Free(about);
}

TEST(AboutBox, ATranslationEntryTooShortToHoldACodePageIsNotRead)
{
    std::string fixture = ExtractFilePath(Application->ExeName()) + "short_translation.dll";
    ASSERT_TRUE(FileExists(fixture)) << fixture;
    EXPECT_TRUE(ReadsAsEmpty(fixture));
}

TEST_F(MainFormTest, TheAboutButtonShowsTheBoxModallyAndFreesIt)
{
    TTimer closer(nullptr);
    closer.SetInterval(1);
    bool shownModally = false;
    closer.OnTimer = [&](TObject*) {
        if (!FormAbout || !FormAbout->Visible())
            return;
        closer.SetEnabled(false);
        shownModally = FormAbout->IsModal();
        FormAbout->SpeedButtonClose->Click();
    };
    form->SpeedButtonAboutClick(form->SpeedButtonAbout);
    EXPECT_TRUE(shownModally);
    EXPECT_EQ(FormAbout, nullptr);
}

} // namespace
