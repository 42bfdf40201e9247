// The controller and channel set-up dialog, driven through its handlers, with the file,
// colour and message dialogs answered by the test; and the main window's set-up button
// running it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "MainFormFixture.h"
#include "setup/ChannelSetup.h"
#include "setup/CtrFile.h"
#include "setup/UnitChSetup.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/ExtCtrls.h"

namespace {

std::unique_ptr<ControllerConfig> Config(unsigned model, int channels)
{
    auto cfg = std::make_unique<ControllerConfig>();
    ResetControllerConfig(*cfg);
    SetChannelDefaults(*cfg);
    TakeModelIdentity(*cfg, model);
    TakeModelFirmware(*cfg, model);
    cfg->channels = channels;
    return cfg;
}

// A 24-bit bitmap file, black but for the given pixels {x, y from the top, 0x00BBGGRR}.
std::vector<unsigned char> Bitmap(int width, int height, const std::vector<std::array<uint32_t, 3>>& pixels)
{
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> b(54 + stride * static_cast<size_t>(height), 0);
    auto put = [&](size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i)
            b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = 24;
    put(2, static_cast<uint32_t>(b.size()));
    put(10, 54);
    put(14, 40);
    put(18, static_cast<uint32_t>(width));
    put(22, static_cast<uint32_t>(height));
    for (const auto& p : pixels) {
        size_t at = 54 + stride * (static_cast<size_t>(height) - 1 - p[1]) + p[0] * 3;
        b[at] = static_cast<unsigned char>(p[2] >> 16), b[at + 1] = static_cast<unsigned char>(p[2] >> 8);
        b[at + 2] = static_cast<unsigned char>(p[2]);
    }
    return b;
}

class ChSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = new TFormChSetup(Application);
        dialog->ProgramFolder = dir.Folder();
    }
    void TearDown() override { TComponent::Free(dialog); }
    // The dialog over a configuration, as the main window opens it (its window is
    // made only where a test needs one).
    void Open(unsigned model, int channels)
    {
        auto cfg = Config(model, channels);
        dialog->SetConfig(*cfg);
        dialog->FormShow(dialog);
    }
    void ClickColourCell(int row)
    {
        TRect r = dialog->StringGridCh->CellRect(1, row);
        ASSERT_GT(r.Width(), 0) << "row " << row << " in view";
        dialog->StringGridCh->OnMouseDown(dialog->StringGridCh, mbLeft, 0, r.Left + 3, r.Top + 3);
    }
    bool CanClose()
    {
        bool canClose = true;
        dialog->FormCloseQuery(dialog, canClose);
        return canClose;
    }
    const ChannelRecord& Channel(int i) const { return dialog->ConfigCopy.channelTable[i]; }

    TempDir dir;
    RecordingDialogs dialogs;
    TFormChSetup* dialog = nullptr;
};

TEST_F(ChSetupTest, SetConfigSelectsTheModelWhoseFieldsTheCopyTakes)
{
    EXPECT_EQ(dialog->ComboBoxType->Items().Count(), 9);
    auto cfg = Config(5, 6);  // Brevan8
    CopyText(cfg->firmwareFile, "Other.rom");
    cfg->paramRow = 0;
    dialog->SetConfig(*cfg);
    EXPECT_EQ(dialog->ComboBoxType->ItemIndex(), 5);
    EXPECT_STREQ(dialog->ConfigCopy.firmwareFile, "Brevan81um.rom");
    EXPECT_EQ(dialog->ConfigCopy.paramRow, 2u);
    EXPECT_STREQ(dialog->ConfigCopy.setupFile, (dir.Folder() + "Новый.ctr").c_str());

    // A name in no row takes the row still selected, and the index follows it.
    CopyText(cfg->modelName, "Gone");
    cfg->modelIndex = 2;
    dialog->SetConfig(*cfg);
    auto back = std::make_unique<ControllerConfig>();
    dialog->GetConfig(*back);
    EXPECT_STREQ(back->modelName, "Brevan8");
    EXPECT_EQ(back->modelIndex, 5u);
}

TEST_F(ChSetupTest, TheCountIsClampedAndAModelBringsItsOwn)
{
    Open(0, 18);
    EXPECT_FALSE(dialog->Modified) << "showing starts unmodified";
    EXPECT_EQ(dialog->StringGridCh->Cells(0, 18), "   18");
    dialog->EditChCount->SetText("999");
    char enter = 13;
    dialog->EditChCountKeyPress(dialog->EditChCount, enter);
    EXPECT_EQ(dialog->ConfigCopy.channels, 640);
    EXPECT_EQ(dialog->PanelCtrFileName->Caption(), "  Новый.ctr *");
    EXPECT_EQ(dialog->StringGridCh->RowCount(), 641);
    EXPECT_EQ(dialog->EditChCount->Color(), clYellow) << "more channels than the model drives";
    dialog->EditChCount->SetText("abc");
    dialog->EditChCountExit(dialog->EditChCount);
    EXPECT_EQ(dialog->ConfigCopy.channels, 640);
    dialog->UpDownChCount->Tag = 1;
    dialog->UpDownChCount->Click(btPrev);
    EXPECT_EQ(dialog->ConfigCopy.channels, 640);

    dialog->ComboBoxType->SetItemIndex(7);  // Brevan4
    dialog->ComboBoxTypeChange(dialog->ComboBoxType);
    const ControllerConfig& c = dialog->ConfigCopy;
    EXPECT_STREQ(c.modelName, "Brevan4");
    EXPECT_EQ(c.modelIndex, 7u);
    EXPECT_EQ(c.channels, 4);
    EXPECT_EQ(c.paramRow, 2u);
    EXPECT_STREQ(c.deviceId, "Brevan46");
    EXPECT_STREQ(c.firmwareFile, "Brevan46um.rom");
    EXPECT_EQ(dialog->EditChCount->Color(), clWindow);
}

TEST_F(ChSetupTest, TheRgbBoxFollowsTheRowAndGroupsThatNoLongerFitAreDissolved)
{
    Open(3, 9);
    dialog->StringGridCh->SetRow(5);
    dialog->CheckBoxRGB->SetChecked(true);
    EXPECT_EQ(Channel(3).color, 0x0000FFu);
    EXPECT_EQ(Channel(5).rgbGroup, 1u);
    EXPECT_FALSE(dialog->Modified);
    dialog->StringGridCh->SetRow(2);
    EXPECT_FALSE(dialog->CheckBoxRGB->Checked());
    EXPECT_EQ(Channel(4).rgbGroup, 1u) << "following the row changes nothing";

    dialog->SetChannelCount(5);
    EXPECT_EQ(Channel(3).rgbGroup, 0u);
    EXPECT_EQ(Channel(3).color, kChannelWhite);
    dialog->SetChannelCount(7);
    for (int ch = 6; ch < 9; ++ch)
        dialog->ConfigCopy.channelTable[ch].rgbGroup = 1;
    dialog->StringGridCh->SetRow(7);
    EXPECT_FALSE(dialog->CheckBoxRGB->Enabled()) << "rows 8 and 9 do not exist";
    EXPECT_EQ(Channel(6).rgbGroup, 0u);
}

TEST_F(ChSetupTest, ColourCellsAskForAColourWhichChannelsInGroupsDoNotTake)
{
    Open(3, 6);
    dialog->Show();
    SetRgbGroup(dialog->ConfigCopy, 3, true);
    dialogs.colourAnswers = {0x00AA00};
    ClickColourCell(0);  // the header: every channel outside a group
    EXPECT_EQ(Channel(0).color, 0x0000FFu);
    EXPECT_EQ(Channel(3).color, 0x00AA00u);
    EXPECT_TRUE(dialog->Modified);
    ASSERT_EQ(dialogs.colourRequests.size(), 1u);
    EXPECT_EQ(dialogs.colourRequests[0].initial, 0xFFFFFFu);
    ClickColourCell(2);  // channel 1, in the group: no dialog
    EXPECT_EQ(dialogs.colourRequests.size(), 1u);
    dialogs.colourAnswers = {0x000080};
    ClickColourCell(5);
    EXPECT_EQ(Channel(4).color, 0x000080u);
    EXPECT_EQ(Channel(3).color, 0x00AA00u);
}

TEST_F(ChSetupTest, NamesComeFromTheGridAndSurviveACountChange)
{
    Open(3, 5);
    dialog->StringGridCh->SetCells(2, 1, std::string(60, 'n'));
    dialog->StringGridCh->SetCells(2, 2, "Лампа");
    dialog->SetChannelCount(8);
    EXPECT_EQ(std::strlen(Channel(0).name), 49u);
    EXPECT_STREQ(Channel(1).name, "Лампа");
    EXPECT_EQ(dialog->StringGridCh->Cells(2, 2), "Лампа");
    dialog->Modified = false;
    dialog->StringGridCh->OnSetEditText(dialog->StringGridCh, 2, 3, "x");
    EXPECT_TRUE(dialog->Modified);
}

TEST_F(ChSetupTest, SavingWritesTheFileAndNoToOverwritingShowsTheDialogAgain)
{
    Open(3, 3);
    std::string taken = dir.Write("taken.ctr", {'x'});
    std::string fresh = dir.File("fresh.ctr");
    dialog->StringGridCh->SetCells(2, 1, "Первый");
    dialog->MarkModified();
    dialogs.fileAnswers = {taken, fresh};
    dialogs.answers = {IDNO};
    dialog->SpeedButtonSave->Click();
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].defaultExt, "ctr");
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Новый.ctr");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Сохранить как...");
    EXPECT_EQ(ReadWholeFile(taken), "x");
    EXPECT_EQ(dialog->PanelCtrFileName->Caption(), "  fresh.ctr");
    EXPECT_FALSE(dialog->Modified);
    auto read = Config(0, 18);
    ASSERT_TRUE(ReadCtrFile(fresh, *read));
    EXPECT_STREQ(read->modelName, "Qarto9");
    EXPECT_STREQ(read->channelTable[0].name, "Первый");
}

TEST_F(ChSetupTest, OpeningTakesTheFilesSetUpAndAFileThatCannotBeReadChangesNothing)
{
    auto stored = Config(5, 5);  // Brevan8
    std::string file = dir.File("stored.ctr");
    WriteCtrFile(file, *stored, {"a", "b", "c", "d", "e"}, dir.Folder());
    Open(0, 18);
    dialog->MarkModified();
    dialogs.fileAnswers = {file};
    dialog->SpeedButtonOpen->Click();
    EXPECT_EQ(dialog->ConfigCopy.channels, 5);
    EXPECT_EQ(dialog->ComboBoxType->ItemIndex(), 5);
    EXPECT_STREQ(dialog->ConfigCopy.deviceId, "Brevan81");
    EXPECT_STREQ(dialog->ConfigCopy.setupFile, file.c_str());
    EXPECT_STREQ(Channel(5).name, "Кан. 6") << "channels beyond the file's are reset";
    EXPECT_FALSE(dialog->Modified);
    EXPECT_EQ(dialog->StringGridCh->Cells(2, 5), "e");

    auto before = std::make_unique<ControllerConfig>(dialog->ConfigCopy);
    dialogs.fileAnswers = {dir.File("missing.ctr")};
    dialog->SpeedButtonOpen->Click();
    EXPECT_EQ(std::memcmp(before.get(), &dialog->ConfigCopy, sizeof(ControllerConfig)), 0);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Открыть");
}

TEST_F(ChSetupTest, APictureGivesTheChannelCountAndColoursOfItsMarkersButGroupsKeepTheirs)
{
    Open(3, 9);
    dialog->StringGridCh->SetRow(4);
    dialog->CheckBoxRGB->SetChecked(true);  // channels 3-5: red, green, blue
    // Six channel frames of 10 rows; the group's markers are yellow, aqua and fuchsia.
    std::string picture = dir.Write("layout.bmp", Bitmap(12, 70, {{11, 10, 0x0000FF}, {11, 20, 0x00FF00},
                                                                  {11, 40, 0x00FFFF}, {11, 50, 0xFFFF00},
                                                                  {11, 60, 0xFF00FF}}));
    dialogs.fileAnswers = {picture};
    dialog->SpeedButtonOpenBMP->Click();
    EXPECT_EQ(dialog->ConfigCopy.channels, 6);
    EXPECT_EQ(Channel(0).color, 0x0000FFu);
    EXPECT_EQ(Channel(1).color, 0x00FF00u);
    EXPECT_EQ(Channel(2).color, 0u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Channel(3 + i).rgbGroup, 1u);
        EXPECT_EQ(Channel(3 + i).color, kRgbGroupColours[i]) << "channel " << 3 + i << " keeps its group colour";
    }
    EXPECT_EQ(dialog->PanelBMPFileName->Caption(), "  layout.bmp");
    EXPECT_TRUE(dialog->Modified);

    // A file that is no picture is one without markers: only its name is taken.
    std::string broken = dir.Write("broken.bmp", {'B', 'M', 1, 2, 3});
    dialogs.fileAnswers = {broken};
    dialog->SpeedButtonOpenBMP->Click();
    EXPECT_EQ(dialog->ConfigCopy.channels, 6);
    EXPECT_STREQ(dialog->ConfigCopy.pictureFile, broken.c_str());
    dialog->SpeedButtonClearBMP->Click();
    EXPECT_STREQ(dialog->ConfigCopy.pictureFile, "");
}

TEST_F(ChSetupTest, ClosingWithChangesOffersToSaveThemAndAFailedSaveKeepsTheDialogOpen)
{
    Open(3, 3);
    EXPECT_TRUE(CanClose());
    EXPECT_TRUE(dialogs.boxes.empty()) << "nothing changed, nothing asked";
    dialog->MarkModified();
    dialogs.answers = {IDCANCEL};
    EXPECT_FALSE(CanClose());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "В настройки внесены изменения!\nСохранить файл \"Новый.ctr\"?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Настройки");
    dialogs.answers = {IDNO};
    EXPECT_TRUE(CanClose());
    dialogs.answers = {IDYES};  // and the save dialog cancelled
    EXPECT_TRUE(CanClose());
    dialogs.answers = {IDYES, IDOK};
    dialogs.fileAnswers = {dir.File("no-such-folder\\x.ctr")};
    EXPECT_FALSE(CanClose()) << "the changes could not be kept";
    EXPECT_EQ(dialogs.boxes.back().flags & MB_ICONSTOP, unsigned(MB_ICONSTOP));
}

TEST_F(ChSetupTest, DefaultsGiveTheModelsChannelsAndANewFileName)
{
    auto cfg = Config(4, 3);  // Qarto6
    CopyText(cfg->setupFile, dir.File("old.ctr"));
    CopyText(cfg->pictureFile, "pic.bmp");
    CopyText(cfg->channelTable[0].name, "Своё");
    dialog->SetConfig(*cfg);
    dialog->FormShow(dialog);
    dialog->SpeedButtonDefault->Click();
    EXPECT_EQ(dialog->ConfigCopy.channels, 6);
    EXPECT_STREQ(dialog->ConfigCopy.pictureFile, "");
    EXPECT_EQ(dialog->StringGridCh->Cells(2, 1), "Кан. 1");
    EXPECT_EQ(dialog->PanelCtrFileName->Caption(), "  Новый.ctr");
}

// The main window's set-up button with the real dialog, answered from a timer.
class MainSetupDialogTest : public MainFormTest {
protected:
    void RunSetup(const std::function<void(TFormChSetup&)>& answer)
    {
        TTimer answerer(nullptr);
        answerer.SetInterval(1);
        answerer.OnTimer = [&](TObject*) {
            if (!FormChSetup || !FormChSetup->Visible())
                return;
            answerer.SetEnabled(false);
            answer(*FormChSetup);
        };
        form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    }
};

TEST_F(MainSetupDialogTest, OkHandsTheEditedRecordToTheMainWindowAndCancelDoesNot)
{
    RunSetup([](TFormChSetup& d) {
        d.StringGridCh->SetCells(2, 1, "Другое");
        d.SpeedButtonCancel->Click();
    });
    EXPECT_STREQ(form->Config.channelTable[0].name, "Кан. 1");
    EXPECT_TRUE(dialogs.boxes.empty());

    dialogs.answers = {IDNO};  // do not keep the changes in a set-up file
    RunSetup([](TFormChSetup& d) {
        d.ComboBoxType->SetItemIndex(4);  // Qarto6
        d.ComboBoxTypeChange(d.ComboBoxType);
        d.SpeedButtonOk->Click();
    });
    EXPECT_EQ(FormChSetup, nullptr);
    EXPECT_STREQ(form->Config.modelName, "Qarto6");
    EXPECT_EQ(form->Grid->RowCount(), 3 + 6);
    ASSERT_EQ(dialogs.boxes.size(), 2u) << "the set-up file question, then the cut to Qarto6's fewer steps";
    EXPECT_EQ(dialogs.boxes[0].caption, "Настройки");
}

} // namespace
