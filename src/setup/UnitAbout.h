#pragma once
// The About box: the program's logo, what it is for, its version and copyright from
// the program file's own version block, and two links (a web page and a message).
#include <functional>
#include <string>

#include "setup/VersionInfo.h"
#include "ui/Buttons.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

class TFormAbout : public TForm {
public:
    // Reads the version block of the running program.
    explicit TFormAbout(TComponent* owner);
    ~TFormAbout() override;

    TImage* ImageLogo;
    TLabel *Label4, *Label5, *LabelVersion;
    TBevel* Bevel1;
    TLabel *LabelOwner, *LabelAuthor;
    TSpeedButton* SpeedButtonClose;

    void SpeedButtonCloseClick(TObject* Sender);
    void ImageLogoClick(TObject* Sender);
    void LabelAuthorClick(TObject* Sender);
    void LabelAuthorMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void LabelAuthorMouseLeave(TObject* Sender);

    // Shows the version, the copyright and the message link of a version record.
    void ShowVersion(const VersionRecord& version);

    VersionRecord Version;
    std::string MessageLink;
    // Opens a link with the shell's "open" verb and a show mode (SW_*). Replaceable by
    // tests.
    std::function<void(const std::string& target, int showMode)> OpenLink;

private:
    void BuildForm();
    void DrawLogo();
};

extern TFormAbout* FormAbout;
