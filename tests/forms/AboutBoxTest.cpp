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
#include "ui/SysUtils.h"

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        about = new TFormAbout(Application);
        about->OpenLink = [this](const std::string& target, int showMode) {
            opened.push_back(target + " " + std::to_string(showMode));
        };
    }
    void TearDown() override { TComponent::Free(about); }

    TFormAbout* about = nullptr;
    std::vector<std::string> opened;
};

void FillWithGarbage(VersionRecord& record) { std::memset(&record, 'z', sizeof record); }

TEST_F(AboutBoxTest, ShowsTheVersionAndCopyrightOfTheProgramsVersionBlock)
{
    const std::string shortVersion = ShortVersion(PELVOR_VERSION_TEXT);
    ASSERT_FALSE(shortVersion.empty());
    EXPECT_EQ(about->LabelVersion->Caption(), "Версия: " + shortVersion);
    EXPECT_EQ(about->LabelAuthor->Caption(), PELVOR_COPYRIGHT);
    EXPECT_EQ(about->MessageLink,
              std::string("mailto:") + PELVOR_MAIL_ADDRESS + "?subject=Редактор сценария " + shortVersion);
    EXPECT_EQ(about->ImageLogo->Hint, PELVOR_WEB_PAGE);
    EXPECT_EQ(about->Caption(), "   О программе");

    const VersionRecord& v = about->Version;
    EXPECT_EQ(std::string(v.fileName), Application->ExeName());
    EXPECT_STREQ(v.fileVersion, PELVOR_VERSION_TEXT);
    EXPECT_STREQ(v.productVersion, PELVOR_VERSION_TEXT);
    EXPECT_STREQ(v.originalFilename, "pelvor.exe");
    EXPECT_STRNE(v.language, "") << "the translation's language is named";
    EXPECT_STREQ(v.comments, "") << "a string the block does not hold stays empty";
}

TEST_F(AboutBoxTest, WithoutAVersionBlockTheLabelsAreEmptyButTheLinkHasItsSubject)
{
    TempDir dir;
    std::string plain = dir.Write("plain.txt", {'n', 'o', ' ', 'b', 'l', 'o', 'c', 'k'});
    VersionRecord record;
    FillWithGarbage(record);
    ReadVersionInfo(plain, record);
    VersionRecord zero{};
    EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);

    about->ShowVersion(record);
    EXPECT_EQ(about->LabelVersion->Caption(), "Версия: ");
    EXPECT_EQ(about->LabelAuthor->Caption(), "");
    EXPECT_EQ(about->MessageLink, std::string("mailto:") + PELVOR_MAIL_ADDRESS + "?subject=Редактор сценария ");
}

TEST_F(AboutBoxTest, ATranslationEntryTooShortToHoldACodePageIsNotRead)
{
    std::string fixture = ExtractFilePath(Application->ExeName()) + "short_translation.dll";
    ASSERT_TRUE(FileExists(fixture)) << fixture;
    VersionRecord record;
    FillWithGarbage(record);
    ReadVersionInfo(fixture, record);
    VersionRecord zero{};
    EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

TEST_F(AboutBoxTest, TheLogoAndOwnerOpenTheWebPageAndTheAuthorLineAMessage)
{
    about->ImageLogo->Click();
    about->LabelOwner->Click();
    about->LabelAuthor->Click();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], std::string(PELVOR_WEB_PAGE) + " " + std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(opened[2], about->MessageLink + " " + std::to_string(SW_SHOW));
}

TEST_F(AboutBoxTest, LinksTurnBlueUnderTheMouseAndBackWhenItLeaves)
{
    about->Show();
    for (TLabel* link : {about->LabelAuthor, about->LabelOwner}) {
        EXPECT_EQ(link->Cursor, crHandPoint);
        EXPECT_EQ(link->Font().Color, clWindowText);
        link->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(link->Font().Color, clBlue);
        link->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(link));
        EXPECT_EQ(link->Font().Color, clWindowText);
    }
    EXPECT_EQ(about->LabelVersion->Font().Color, clWindowText) << "the other labels are no links";
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
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_EQ(dynamic_cast<TFormAbout*>(Screen->Forms(i)), nullptr);
}

} // namespace
