#pragma once
// The show window: every channel lights its area of a layout image in its colour at its
// current level, and the image is stretched into the window keeping its aspect ratio.
// The areas come from the configuration's layout picture or, when there is no usable
// picture, from a generated grid of square lamps. The preview hands over each channel's
// level every frame (SetLevel) and asks for the image after each frame (RenderFrame).
#include <string>
#include <vector>

#include "preview/ShowLayout.h"
#include "setup/ControllerModels.h"
#include "ui/Buttons.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"

class TFormShow : public TForm {
public:
    explicit TFormShow(TComponent* owner);
    ~TFormShow() override;

    TPanel* PanelPaint;
    TPaintBox* PaintBox1;

    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);

    // Prepares the frames and the window's size for a configuration; the window is made
    // no larger than the work area it is on.
    void SetupLayout(const ControllerConfig& config, const ModelParams& params);
    // Loads the layout picture (a relative name is taken from the program's folder);
    // false when it does not exist or has no usable frames.
    bool LoadShowPicture(const std::string& fileName);
    // Stores a channel's level for the next frame (channels outside the layout are
    // ignored).
    void SetLevel(int channel, int level);
    // Composes the image from the levels and draws it on the panel, while shown.
    void RenderFrame();

    // Channel frames of the layout, and channels of the configuration.
    int ChannelCount() const { return channelCount_; }
    int ConfiguredChannelCount() const { return configuredCount_; }
    const ShowLayout& Layout() const { return layout_; }
    // The image of the last rendered frame, frame-sized (clipped to twice the screen).
    TBitmap* Composition() { return &composition_; }
    bool Shown() const { return shown_; }

    // The size kept in the settings file, applied when the window is shown with a
    // picture layout and both are at least 1; 0 = none.
    int StoredHeight = 0;
    int StoredWidth = 0;
    // Raised when the window closes (the main window's show button); not owned.
    TSpeedButton* ShowButton = nullptr;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    int channelCount_ = 0;
    int configuredCount_ = 0;
    std::vector<int> levels_;
    std::vector<uint32_t> colours_;
    int levelMax_ = 0;
    ShowLayout layout_;
    TBitmap composition_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    bool shown_ = false;
};

extern TFormShow* FormShow;
