// Scenario files of the main window: saving, reading with its warnings, installing a
// read file as the scenario, a new scenario, and the open, save, save-as and
// insert-from-file commands.
#include <cstdio>

#include "editor/UnitMain.h"
#include "scenario/ScenarioFile.h"
#include "scenario/StepEdits.h"
#include "setup/CtrFile.h"
#include "ui/Dialogs.h"
#include "ui/SafeSave.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

namespace {

const char kScenarioFilter[] = "Файлы сценария|*.scn|Все файлы|*.*";
const char kWarning[] = "Предупреждение";

ScenarioModel ModelOf(const ModelParams& p)
{
    return ScenarioModel{p.minSpeed, p.maxSpeed, p.minTime,        p.maxTime,
                         p.levelMax, p.rampUpAllowed != 0, p.rampDownAllowed != 0, p.strobeAllowed != 0};
}

std::string Format(const char* pattern, long long a, long long b)
{
    char text[300];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

void Warn(const std::string& text) { ShowMessageBox(text, kWarning, MB_OK | MB_ICONEXCLAMATION); }

// Yes, No or Cancel to replacing an existing file.
int AskOverwrite()
{
    return ShowMessageBox("Файл с таким именем уже существует. Записать поверх?", "Сохранить как...",
                          MB_YESNOCANCEL | MB_ICONQUESTION);
}

// Asks for a scenario file to read, starting in the current scenario's folder.
bool ChooseScenario(TOpenDialog& dialog, const std::string& current)
{
    dialog.InitialDir = ExtractFilePath(current);
    dialog.FileName.clear();
    dialog.DefaultExt = "scn";
    dialog.Filter = kScenarioFilter;
    return dialog.Execute();
}

} // namespace

void TFormMain::SaveScn(const std::string& fileName)
{
    ValidateLoops();
    ValidateLabels();
    const int speed = TrackBarSpeed->Max() + TrackBarSpeed->Min() - TrackBarSpeed->Position();
    const int channels = Grid->RowCount() - Grid->FixedRows();
    // A relative name lies in the program folder.
    const std::string name = ResolveRelativePath(fileName, ProgramFolder);
    SaveStreamSafely(name, [&](TStream& out) { WriteScenario(out, Scn(), channels, speed, ModelOf(Params)); });
    // The document takes the name: an undo to a state from before the save stays in
    // this file.
    Ring().Document() = ScenarioDocument{name, true};
    TakeDocumentFile();
    SetCaption(false);
    Modified = false;
}

bool TFormMain::ReadScn(const std::string& fileName, bool insertMode, bool showErrors)
{
    LoadBuffer.Clear();
    const std::string name = ResolveRelativePath(fileName, ProgramFolder);
    if (!FileExists(name))
        return false;
    const ScenarioReadRequest request{ModelOf(Params), Config.channels, StepMaximum, Config.typeLetter == 'M',
                                      insertMode};
    ScenarioReadResult result;
    std::string failure;
    try {
        TFileStream in(name, fmOpenRead | fmShareDenyWrite);
        result = ReadScenario(in, request, LoadBuffer);
        failure = ScenarioFaultText(result.fault);
    } catch (const std::exception& e) {
        // A file that cannot be opened (held by another program, no access) or one too
        // large for the memory fails like a damaged one.
        failure = e.what();
        if (failure.empty())
            failure = ScenarioFaultText(ScenarioFault::Damaged);
    }
    // The warnings in the order the file's sections come, also when a later section
    // then turns out damaged.
    if (result.loopCount > kMaxLoops)
        Warn(Format("Количество циклов в загружаемом сценарии (%lld) превышает максимально допустимое! "
                    "Будут загружены первые %lld циклов.",
                    result.loopCount, kMaxLoops));
    if (result.labelCount > kMaxLabels)
        Warn(Format("Количество меток в загружаемом сценарии (%lld) превышает максимально допустимое! "
                    "Будут загружены первые %lld меток.",
                    result.labelCount, kMaxLabels));
    if (!failure.empty()) {
        if (showErrors)
            ShowMessageBox("Ошибка загрузки сценария:\n" + failure, "Открыть", MB_OK | MB_ICONSTOP);
        return false;
    }
    if (result.fileSteps > StepMaximum)
        Warn("Количество шагов в сценарии \"" + ExtractFileName(name) + "\"" +
             Format(" (%lld) превышает максимально возможное!\nЗагружены первые %lld шагов.", result.fileSteps,
                    StepMaximum));
    LoadedSpeed = result.speed;
    return true;
}

bool TFormMain::LoadScn(const std::string& fileName, bool showErrors)
{
    if (!ReadScn(fileName, false, showErrors))
        return false;
    if (SpeedButtonLaunch->Down()) {
        SpeedButtonLaunch->SetDown(false);
        if (SpeedButtonLaunch->OnClick)
            SpeedButtonLaunch->OnClick(SpeedButtonLaunch);
    }
    PushUndo();
    Ring().UndoEnabled = false;
    ScenarioSnapshot& scn = Scn();
    scn.CopyFrom(LoadBuffer);
    {
        TagScope speedByProgram(*TrackBarSpeed, 1);
        TrackBarSpeed->SetPosition(TrackBarSpeed->Max() + TrackBarSpeed->Min() - LoadedSpeed);
    }
    scn.SetCell(0, 1, static_cast<uint16_t>(TrackBarSpeed->Position()));
    Grid->SetColCount(scn.ColCount());
    UpDownStepNum->SetPosition(scn.ColCount() - Grid->FixedCols());
    EditStepNum->SetText(IntToStr(UpDownStepNum->Position()));
    Grid->SetCol(Grid->FixedCols());
    Grid->SetRow(Grid->FixedRows());
    PlayColumn = Grid->Col();
    ValidateLoops();
    ValidateLabels();
    ClearSelection();
    ApplyModelParams();
    RecalcScenario();
    Grid->Invalidate();
    UpdateControls();
    Ring().UndoEnabled = true;
    // The file's history starts here; the slot pushed before keeps the previous file.
    Ring().StartDocument(ResolveRelativePath(fileName, ProgramFolder), true);
    TakeDocumentFile();
    SetCaption(false);
    Modified = false;
    return true;
}

void TFormMain::NewScenario()
{
    Ring().StartDocument(ProgramFolder + "Новый.scn", false);
    TakeDocumentFile();
    SetCaption(false);
    Modified = false;
    ScenarioSnapshot& scn = Scn();
    // The times lock keeps the steps, their times, loops and labels; but a scenario
    // that has no valid steps to keep (none loaded yet at start-up) is made complete.
    const int steps = scn.ColCount() - Grid->FixedCols();
    if (!CheckBoxTimesLock->Checked() || steps < 1 || steps > StepMaximum) {
        Grid->SetColCount(Grid->FixedCols() + StepMaximum);
        scn.SetCell(0, 0, static_cast<uint16_t>(Grid->ColCount()));
        for (int c = Grid->FixedCols(); c < Grid->ColCount(); ++c)
            scn.SetCell(c, 1, static_cast<uint16_t>(Params.minTime));
        scn.loops.clear();
        scn.labels.clear();
    } else {
        Grid->SetColCount(scn.ColCount());
    }
    // Channels beyond the current count too: they would come back when it is raised.
    ClearStepCells(scn, Grid->ColCount());
    ClearSelection();
    ClearClipboard();
    N_Paste->Enabled = false;
    Grid->SetCol(Grid->FixedCols());
    Grid->SetRow(Grid->FixedRows());
    PlayColumn = Grid->Col();
    {
        TagScope speedByProgram(*TrackBarSpeed, 1);
        TrackBarSpeed->SetPosition(TrackBarSpeed->Max() + TrackBarSpeed->Min() - Params.defaultSpeed);
    }
    {
        TagScope levelByProgram(*TrackBarStepLevel, 1);
        TrackBarStepLevel->SetPosition(Params.levelMax);
    }
    EditStepLevel->SetText(IntToStr(Params.levelMax));
    RecalcScenario();
    UpdateControls();
    Grid->Invalidate();
}

// ---------------------------------------------------------------------------------------
// Commands

void TFormMain::SpeedButtonSaveClick(TObject*) { SaveToScenarioFile(); }

void TFormMain::SpeedButtonSaveAsClick(TObject*) { SaveScenarioAs(); }

bool TFormMain::SaveToScenarioFile()
{
    // Another scenario's file (the first new scenario saved as "Новый.scn", say) is not
    // replaced without a word.
    if (!ScenarioFileOwned && FileExists(ResolveRelativePath(ScenarioFileName, ProgramFolder))) {
        int answer = AskOverwrite();
        if (answer == IDCANCEL)
            return false;
        if (answer != IDYES)
            return SaveScenarioAs();
    }
    SaveScn(ScenarioFileName);
    return true;
}

bool TFormMain::SaveScenarioAs()
{
    SaveDialog->InitialDir = ExtractFilePath(ScenarioFileName);
    SaveDialog->FileName = ExtractFileName(ScenarioFileName);
    SaveDialog->DefaultExt = "scn";
    SaveDialog->Filter = kScenarioFilter;
    for (;;) {
        if (!SaveDialog->Execute())
            return false;
        if (FileExists(SaveDialog->FileName)) {
            int answer = AskOverwrite();
            if (answer == IDCANCEL)
                return false;
            if (answer != IDYES)
                continue;
        }
        SaveScn(SaveDialog->FileName);
        return true;
    }
}

void TFormMain::SpeedButtonOpenClick(TObject*)
{
    if (!AskSaveChanges())
        return;
    if (ChooseScenario(*OpenDialog, ScenarioFileName))
        LoadScn(OpenDialog->FileName, true);
}

void TFormMain::N_InsertFromFileClick(TObject*)
{
    if (!ChooseScenario(*OpenDialog, ScenarioFileName) || !ReadScn(OpenDialog->FileName, true, true))
        return;
    // The clipboard takes the load buffer (origin column 0) and floats it for placing.
    N_Copy->Tag = 1;
    CopyOrCut(2);
}

void TFormMain::SpeedButtonCopyFromFileClick(TObject* Sender) { N_InsertFromFileClick(Sender); }
