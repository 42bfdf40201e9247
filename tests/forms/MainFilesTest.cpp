// Scenario files through the main window: save, save as, open, insert from file, the
// reader's messages, and the last scenario at start-up.
#include "MainFormFixture.h"

#include <fstream>

#include "scenario/ScenarioFile.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"

namespace {

const char kFilter[] = "Файлы сценария|*.scn|Все файлы|*.*";

class MainFilesTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        EnablePushing();
    }
    // A scenario file of steps steps (cells step + channel) for the LED models.
    std::string WriteScenario(const std::string& name, int steps, size_t loops = 1, size_t labels = 1)
    {
        ScenarioSnapshot scn;
        scn.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
        for (int c = 1; c <= steps; ++c) {
            scn.SetCell(c, 1, static_cast<uint16_t>(c));
            for (int k = 0; k < 18; ++k)
                scn.SetCell(c, 3 + k, static_cast<uint16_t>((c + k) % 129));
        }
        scn.loops.assign(loops, LoopRecord{1, 2, 3});
        scn.labels.assign(labels, 2);
        std::vector<uint8_t> bytes = EncodeScenario(scn, 18, 30, ScenarioModel{10, 80, 1, 6000, 128, true, true, true});
        return dir.Write(name, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    }
    void Open(const std::string& file)
    {
        dialogs.fileAnswers.push_back(file);
        form->SpeedButtonOpenClick(form->SpeedButtonOpen);
    }
    // Closes the window as the program does and starts a new one on the settings file.
    void Restart(const std::string& settings)
    {
        TComponent::Free(form);
        std::ofstream(SettingsFile(), std::ios::binary) << settings;
        form = new TFormMain(Application);
        form->FormActivate(form);
    }
    TempDir dir;
};

TEST_F(MainFilesTest, SaveAsWritesTheScenarioAndOpeningItAgainCanBeUndone)
{
    EditCell(1, 3, 128);
    EditCell(2, 4, kCellStrobe);
    form->Scn().SetCell(1, 1, 300);
    form->Scn().loops = {{1, 2, 5}};
    form->Scn().labels = {1, 2};
    const std::string file = dir.File("show.scn");
    dialogs.fileAnswers.push_back(file);
    form->SpeedButtonSaveAsClick(form->SpeedButtonSaveAs);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].save);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Новый.scn");
    EXPECT_EQ(dialogs.fileRequests[0].initialDir, form->ProgramFolder);
    EXPECT_EQ(dialogs.fileRequests[0].defaultExt, "scn");
    EXPECT_EQ(dialogs.fileRequests[0].filter, kFilter);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->ScenarioFileName, file);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  show.scn");

    const int steps = form->StepMaximum;
    const std::string bytes = ReadWholeFile(file);
    ASSERT_EQ(bytes.size(), 48u + static_cast<size_t>(steps) * (2 + 18) + 6 + 2 * 2);
    EXPECT_EQ(bytes.substr(0, 8), "SCN 1.5 ");
    EXPECT_EQ(static_cast<unsigned char>(bytes[18]), 20) << "the default speed";
    EXPECT_EQ(static_cast<unsigned char>(bytes[48]) | static_cast<unsigned char>(bytes[49]) << 8, 300);
    EXPECT_EQ(static_cast<unsigned char>(bytes[50]), 128);

    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EXPECT_EQ(form->Scn().Cell(1, 3), 0);
    Open(file);
    EXPECT_EQ(dialogs.fileRequests.back().fileName, "");
    EXPECT_FALSE(dialogs.fileRequests.back().save);
    EXPECT_EQ(form->Scn().Cell(1, 3), 128);
    EXPECT_EQ(form->Scn().Cell(2, 4), kCellStrobe);
    EXPECT_EQ(form->Scn().Cell(1, 1), 300);
    EXPECT_EQ(form->Scn().loops.size(), 1u);
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(form->Grid->ColCount(), 1 + steps);
    EXPECT_EQ(form->UpDownStepNum->Position(), steps);
    EXPECT_EQ(form->TrackBarSpeed->Position(), 70);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  show.scn");
    EXPECT_TRUE(dialogs.boxes.empty());

    form->Undo();
    EXPECT_EQ(form->Scn().Cell(1, 3), 0) << "undo returns to the scenario before the open";
    EXPECT_TRUE(form->Scn().loops.empty());
    EXPECT_TRUE(form->Scn().labels.empty());
    form->Redo();
    EXPECT_EQ(form->Scn().Cell(1, 3), 128);
}

TEST_F(MainFilesTest, UndoAndRedoAcrossNewAndOpenBringBackTheScenariosFile)
{
    const std::string a = WriteScenario("a.scn", 3);
    const std::string b = WriteScenario("b.scn", 5);
    const std::string bBytes = ReadWholeFile(b);
    Open(a);
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    form->Undo();
    EXPECT_EQ(form->Grid->ColCount(), 4);
    EXPECT_EQ(form->Scn().Cell(3, 3), 3);
    EXPECT_EQ(form->ScenarioFileName, a);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  a.scn *");

    dialogs.answers = {IDNO};  // the undo changed the scenario: not saved
    Open(b);
    ASSERT_EQ(form->Grid->ColCount(), 6);
    form->Undo();
    EXPECT_EQ(form->Grid->ColCount(), 4);
    EXPECT_EQ(form->ScenarioFileName, a);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  a.scn *");
    // Save goes into a.scn, its own file, without a question; b.scn stays as it was.
    RemoveFile(a);
    dialogs.boxes.clear();
    form->SpeedButtonSaveClick(form->SpeedButtonSave);
    EXPECT_TRUE(dialogs.boxes.empty());
    const std::string saved = ReadWholeFile(a);
    ASSERT_GT(saved.size(), 48u);
    EXPECT_EQ(saved[14], 3) << "the three steps of a.scn";
    EXPECT_EQ(ReadWholeFile(b), bBytes);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  a.scn");

    form->Redo();
    EXPECT_EQ(form->Grid->ColCount(), 6);
    EXPECT_EQ(form->ScenarioFileName, b);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  b.scn *");
}

TEST_F(MainFilesTest, SaveAsAsksBeforeReplacingAFile)
{
    const std::string file = WriteScenario("taken.scn", 2);
    const std::string before = ReadWholeFile(file);
    // No: the dialog again; then Cancel: nothing saved.
    dialogs.fileAnswers = {file, file};
    dialogs.answers = {IDNO, IDCANCEL};
    form->SpeedButtonSaveAsClick(form->SpeedButtonSaveAs);
    EXPECT_EQ(dialogs.fileRequests.size(), 2u);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "Файл с таким именем уже существует. Записать поверх?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Сохранить как...");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(ReadWholeFile(file), before);

    dialogs.fileAnswers = {file};
    dialogs.answers = {IDYES};
    form->SpeedButtonSaveAsClick(form->SpeedButtonSaveAs);
    EXPECT_NE(ReadWholeFile(file), before);
    EXPECT_EQ(form->ScenarioFileName, file);

    // Save writes under the scenario's name without asking.
    EditCell(3, 3, 5);
    form->SpeedButtonSaveClick(form->SpeedButtonSave);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(static_cast<unsigned char>(ReadWholeFile(file)[48 + 2 * 20 + 2]), 5);
}

TEST_F(MainFilesTest, SaveAsksBeforeReplacingAFileTheScenarioWasNotReadFromOrWrittenTo)
{
    const std::string first = form->ProgramFolder + "Новый.scn";
    RemoveFile(first);
    EditCell(1, 3, 1);
    form->SpeedButtonSaveClick(form->SpeedButtonSave);
    EXPECT_TRUE(dialogs.boxes.empty()) << "no file to replace";
    const std::string saved = ReadWholeFile(first);
    ASSERT_FALSE(saved.empty());

    // A second new scenario: its Save asks, and No goes to Save As.
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EditCell(1, 3, 2);
    dialogs.answers = {IDNO};
    dialogs.fileAnswers = {dir.File("second.scn")};
    form->SpeedButtonSaveClick(form->SpeedButtonSave);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Файл с таким именем уже существует. Записать поверх?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Сохранить как...");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests[0].save);
    EXPECT_EQ(ReadWholeFile(first), saved);
    EXPECT_EQ(form->ScenarioFileName, dir.File("second.scn"));

    // The scenario's own file is saved again without a word.
    EditCell(1, 3, 3);
    form->SpeedButtonSaveClick(form->SpeedButtonSave);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(form->Modified);

    // The Yes of the save question asks the same; Cancel there saves and replaces nothing.
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EditCell(1, 3, 4);
    dialogs.answers = {IDYES, IDCANCEL};
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[2].text, "Файл с таким именем уже существует. Записать поверх?");
    EXPECT_EQ(ReadWholeFile(first), saved);
    EXPECT_EQ(form->Scn().Cell(1, 3), 4) << "the unsaved scenario stays";
    EXPECT_TRUE(form->Modified);
    RemoveFile(first);
}

TEST_F(MainFilesTest, AFailedSaveKeepsTheOldFileAndTheScenarioUnsaved)
{
    EditCell(1, 3, 9);
    EXPECT_THROW(form->SaveScn(dir.File("no\\such\\folder\\x.scn")), std::exception);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");
}

TEST_F(MainFilesTest, ADamagedFileIsReportedAndChangesNothing)
{
    EditCell(1, 3, 7);
    form->Modified = false;
    struct Case {
        std::string bytes;
        const char* reason;
    };
    std::string version(48, '\0');
    version.replace(0, 3, "SCN");
    version[8] = static_cast<char>(200);
    std::string shortHeader = version;
    shortHeader[8] = static_cast<char>(150);
    shortHeader[10] = 40;  // header size
    for (const Case& c : {Case{"SCN 1.5 ", "Файл поврежден"}, Case{std::string(48, 'x'), "Неверный формат файла"},
                          Case{version, "Неверная версия"}, Case{shortHeader, "Файл поврежден"}}) {
        dialogs.boxes.clear();
        std::string file = dir.Write("bad.scn", std::vector<unsigned char>(c.bytes.begin(), c.bytes.end()));
        Open(file);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, std::string("Ошибка загрузки сценария:\n") + c.reason);
        EXPECT_EQ(dialogs.boxes[0].caption, "Открыть");
        EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(form->Scn().Cell(1, 3), 7);
        EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");
        EXPECT_FALSE(form->Modified);
    }
    // A missing file is no failure to report.
    dialogs.boxes.clear();
    EXPECT_FALSE(form->LoadScn(dir.File("missing.scn"), true));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(MainFilesTest, TooManyStepsLoopsAndLabelsAreCutWithWarnings)
{
    const int maximum = form->StepMaximum;
    const std::string file = WriteScenario("big.scn", maximum + 5, 300, 256);
    Open(file);
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Количество циклов в загружаемом сценарии (300) превышает максимально допустимое! "
              "Будут загружены первые 255 циклов.");
    EXPECT_EQ(dialogs.boxes[0].caption, "Предупреждение");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(dialogs.boxes[1].text,
              "Количество меток в загружаемом сценарии (256) превышает максимально допустимое! "
              "Будут загружены первые 255 меток.");
    EXPECT_EQ(dialogs.boxes[1].caption, "Предупреждение");
    EXPECT_EQ(dialogs.boxes[2].text, "Количество шагов в сценарии \"big.scn\" (" + std::to_string(maximum + 5) +
                                         ") превышает максимально возможное!\nЗагружены первые " +
                                         std::to_string(maximum) + " шагов.");
    EXPECT_EQ(form->Grid->ColCount(), 1 + maximum);
    EXPECT_EQ(form->Scn().loops.size(), 255u);
    EXPECT_EQ(form->Scn().Cell(maximum, 3), maximum % 129);
    EXPECT_EQ(form->ScenarioFileName, file);
}

TEST_F(MainFilesTest, InsertFromFileReadsOnlyTheStepsAndHandsThemToTheClipboard)
{
    const std::string file = WriteScenario("part.scn", 4);
    dialogs.fileAnswers.push_back(file);
    form->N_InsertFromFileClick(form->N_InsertFromFile);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].defaultExt, "scn");
    EXPECT_EQ(dialogs.fileRequests[0].filter, kFilter);
    EXPECT_EQ(form->N_Copy->Tag, 1);
    EXPECT_EQ(form->LoadBuffer.ColCount(), 5);
    EXPECT_EQ(form->LoadBuffer.Cell(4, 3 + 2), 6);
    EXPECT_TRUE(form->LoadBuffer.loops.empty());
    EXPECT_EQ(form->Scn().Cell(4, 3 + 2), 0) << "the scenario changes only when the paste is placed";
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");

    form->N_Copy->Tag = 0;
    dialogs.fileAnswers.push_back(dir.File("missing.scn"));
    form->SpeedButtonCopyFromFileClick(form->SpeedButtonCopyFromFile);
    EXPECT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(form->N_Copy->Tag, 0);
}

TEST_F(MainFilesTest, TheLastScenarioReopensAtStartUpFromTheProgramFolder)
{
    // Stored relative to the program folder, which need not be the current directory.
    const std::string name = "pelvor-last-scenario-test.scn";
    std::string source = WriteScenario("last.scn", 3);
    std::string bytes = ReadWholeFile(source);
    std::ofstream(form->ProgramFolder + name, std::ios::binary) << bytes;
    Restart("[OPTIONS]\r\nLastOpenFile=" + name + "\r\n");
    RemoveFile(form->ProgramFolder + name);
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + name);
    EXPECT_EQ(form->Grid->ColCount(), 4);
    EXPECT_EQ(form->Scn().Cell(3, 3), 3);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled()) << "the history starts empty";
    EXPECT_FALSE(form->N_Paste->Enabled) << "nothing to paste before the first copy";
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto18)  -  " + name);
}

TEST_F(MainFilesTest, ADamagedOrMissingLastScenarioGivesANewOneSilently)
{
    std::string damaged = dir.Write("damaged.scn", {'S', 'C', 'N'});
    Restart("[OPTIONS]\r\nLastOpenFile=" + damaged + "\r\n");
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");
    EXPECT_EQ(form->Grid->ColCount(), 1 + form->StepMaximum);

    // A last file that another program holds open fails the same way.
    std::string held = WriteScenario("held.scn", 3);
    HANDLE h = CreateFileW(std::wstring(held.begin(), held.end()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Restart("[OPTIONS]\r\nLastOpenFile=" + held + "\r\n");
    CloseHandle(h);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");

    // With the times lock on and nothing to keep, the new scenario is still complete.
    Restart("[OPTIONS]\r\nTimesLock=1\r\nLastOpenFile=" + dir.File("missing.scn") + "\r\n");
    EXPECT_TRUE(form->CheckBoxTimesLock->Checked());
    EXPECT_EQ(form->Grid->ColCount(), 1 + form->StepMaximum);
    EXPECT_EQ(form->Scn().ColCount(), 1 + form->StepMaximum);
    EXPECT_EQ(form->Scn().Cell(form->StepMaximum, 1), form->Params.minTime);
}

TEST_F(MainFilesTest, NewSwitchesOffTheChannelsBeyondTheCurrentCount)
{
    const int hiddenRow = form->Grid->RowCount();  // the first channel not shown
    form->Scn().SetCell(5, hiddenRow, 128);
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EXPECT_EQ(form->Scn().Cell(5, hiddenRow), 0) << "it would come back when the count is raised";
}

TEST_F(MainFilesTest, NewWithTheTimesLockKeepsStepsTimesAndLoops)
{
    form->CheckBoxTimesLock->SetChecked(true);
    Open(WriteScenario("timed.scn", 6));
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EXPECT_EQ(form->Grid->ColCount(), 7);
    EXPECT_EQ(form->Scn().Cell(5, 1), 5);
    EXPECT_EQ(form->Scn().loops.size(), 1u);
    EXPECT_EQ(form->Scn().Cell(5, 3), 0) << "the cells are cleared";
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");

    // Steps whose channels are all off already are left alone: they stay shared with
    // the slot before, so a New costs the undo history no copy of them.
    form->Scn().SetCell(2, 4, 7);
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    const ScenarioSnapshot& before = form->Ring().Slot(form->Ring().UndoSlot);
    EXPECT_EQ(form->Scn().Cell(2, 4), 0);
    EXPECT_EQ(form->Scn().Cell(2, 1), 2);
    EXPECT_NE(form->Scn().ColumnCells(2), before.ColumnCells(2));
    for (int c : {1, 3, 4, 5, 6}) {
        ASSERT_NE(before.ColumnCells(c), nullptr);
        EXPECT_EQ(form->Scn().ColumnCells(c), before.ColumnCells(c)) << "step " << c;
    }
}

} // namespace
