// The set-up dialog's files: set-up files ("*.ctr") saved and opened, the model's
// firmware file, and the show window's picture with the channel colours it carries.
#include <windows.h>

#include <memory>

#include "setup/ChannelSetup.h"
#include "setup/CtrFile.h"
#include "setup/UnitChSetup.h"
#include "ui/Application.h"
#include "ui/ColourPixel.h"
#include "ui/Exceptions.h"
#include "ui/SysUtils.h"

namespace {
const char kCtrFilter[] = "Файлы настройки|*.ctr|Все файлы|*.*";
} // namespace

void TFormChSetup::SpeedButtonSaveClick(TObject*) { SaveCtr(); }

bool TFormChSetup::SaveCtr()
{
    StringGridChExit(StringGridCh);
    SaveDialog->InitialDir = ExtractFilePath(ConfigCopy.setupFile);
    SaveDialog->FileName = ExtractFileName(ConfigCopy.setupFile);
    SaveDialog->DefaultExt = "ctr";
    SaveDialog->Filter = kCtrFilter;
    for (;;) {
        if (!SaveDialog->Execute())
            return true;
        if (!FileExists(SaveDialog->FileName))
            break;
        int answer = ShowMessageBox("Файл с таким именем уже существует. Записать поверх?", "Сохранить как...",
                                    MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return true;
        if (answer == IDYES)
            break;
    }
    try {
        WriteCtrFile(SaveDialog->FileName, ConfigCopy, GridNames(), ProgramFolder);
    } catch (const std::exception&) {
        Application->HandleException();
        return false;
    }
    ShowCtrFileName(false);
    Modified = false;
    return true;
}

void TFormChSetup::SpeedButtonOpenClick(TObject*)
{
    OpenDialog->InitialDir = ExtractFilePath(ConfigCopy.setupFile);
    OpenDialog->DefaultExt = "ctr";
    OpenDialog->Filter = kCtrFilter;
    if (!OpenDialog->Execute())
        return;
    // Read into a copy with default channels: a file that cannot be read changes nothing.
    auto read = std::make_unique<ControllerConfig>(ConfigCopy);
    SetChannelDefaults(*read);
    if (!ReadCtrFile(OpenDialog->FileName, *read)) {
        ShowMessageBox("Файл настройки не прочитан:\n" + OpenDialog->FileName, "Открыть", MB_OK | MB_ICONSTOP);
        return;
    }
    Modified = false;
    SetConfig(*read);
    RefreshDialog();
}

void TFormChSetup::SpeedButtonDefaultClick(TObject*)
{
    ConfigCopy.pictureFile[0] = '\0';
    ComboBoxTypeChange(ComboBoxType);
    SetChannelDefaults(ConfigCopy);
    SetNewCtrName();
    ShowCtrFileName(false);
    for (int i = 0; i < ConfigCopy.channels; ++i)
        StringGridCh->SetCells(2, i + 1, ConfigCopy.channelTable[i].name);
    UpdateRgbCheck(StringGridCh->Row());
    StringGridCh->Invalidate();
}

void TFormChSetup::ButtonOpenRomFileClick(TObject*)
{
    OpenDialog1->InitialDir = ExtractFilePath(ConfigCopy.firmwareFile);
    OpenDialog1->DefaultExt = "rom";
    OpenDialog1->Filter = "Файлы ROM|*.rom|Все файлы|*.*";
    if (!OpenDialog1->Execute())
        return;
    CopyText(ConfigCopy.firmwareFile, OpenDialog1->FileName, kConfigPathChars);
    EditRomFile->SetText(ExtractFileName(OpenDialog1->FileName));
    RefreshDialog();
}

void TFormChSetup::SpeedButtonOpenBMPClick(TObject*)
{
    // The names typed so far are kept when the picture changes the channel count.
    StringGridChExit(StringGridCh);
    OpenPictureDialog1->InitialDir = ExtractFilePath(ResolveRelativePath(ConfigCopy.pictureFile, ProgramFolder));
    OpenPictureDialog1->DefaultExt = "bmp";
    OpenPictureDialog1->Filter = "Файлы изображения|*.bmp|Все файлы|*.*";
    if (!OpenPictureDialog1->Execute())
        return;
    CopyText(ConfigCopy.pictureFile, OpenPictureDialog1->FileName, kConfigPathChars);
    auto scratch = std::make_unique<ControllerConfig>();
    if (ReadPictureColours(OpenPictureDialog1->FileName, *scratch)) {
        SetChannelCount(scratch->channels);
        // As with a colour chosen by hand, channels of RGB groups keep their red, green
        // and blue: the lamp column shows a group by its levels alone.
        for (int i = 0; i < scratch->channels && i < kMaxChannels; ++i)
            SetChannelColour(ConfigCopy, i + 1, scratch->channelTable[i].color);
    }
    MarkModified();
    RefreshDialog();
}

void TFormChSetup::SpeedButtonClearBMPClick(TObject*)
{
    ConfigCopy.pictureFile[0] = '\0';
    MarkModified();
    RefreshDialog();
}

bool TFormChSetup::ReadPictureColours(const std::string& fileName, ControllerConfig& scratch)
{
    // A relative name lies in the program folder.
    std::string path = ResolveRelativePath(fileName, ProgramFolder);
    if (!FileExists(path))
        return false;
    TBitmap picture;
    try {
        picture.LoadFromFile(path);
    } catch (const Exception&) {
        return false;  // not a picture: as one without markers
    }
    return ReadMarkerColours(picture.Width(), picture.Height(),
                             [&picture](int x, int y) { return ColourFromPixel(picture.ScanLine(y)[x]); }, scratch);
}

bool TFormChSetup::AskSaveCtr()
{
    if (!Modified)
        return true;
    std::string text = "В настройки внесены изменения!\nСохранить файл \"" + ExtractFileName(ConfigCopy.setupFile) + "\"?";
    int answer = ShowMessageBox(text, "Настройки", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return SaveCtr();
    return true;
}
