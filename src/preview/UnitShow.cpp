#include "preview/UnitShow.h"

#include <algorithm>
#include <exception>

#include "preview/BmpPicture.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"
#include "ui/WorkArea.h"

TFormShow* FormShow = nullptr;

namespace {
constexpr int kGeneratedScale = 4;
} // namespace

TFormShow::TFormShow(TComponent* owner) : TForm(owner)
{
    Name = "FormShow";
    SetCaption("Шоу!");
    SetBounds(0, 0, Width(), Height());
    screenWidth_ = Screen->Width();
    screenHeight_ = Screen->Height();

    PanelPaint = new TPanel(this);
    PanelPaint->Name = "PanelPaint";
    PanelPaint->SetParent(this);
    PanelPaint->SetAlign(alClient);
    PanelPaint->SetBevelOuter(bvNone);
    PanelPaint->SetColor(clBlack);
    PaintBox1 = new TPaintBox(this);
    PaintBox1->Name = "PaintBox1";
    PaintBox1->SetParent(PanelPaint);
    PaintBox1->SetBounds(0, 0, screenWidth_, screenHeight_);

    using std::placeholders::_1;
    using std::placeholders::_2;
    OnClose = std::bind(&TFormShow::FormClose, this, _1, _2);
    OnDestroy = std::bind(&TFormShow::FormDestroy, this, _1);
    OnShow = std::bind(&TFormShow::FormShow, this, _1);
}

TFormShow::~TFormShow()
{
    if (::FormShow == this)
        ::FormShow = nullptr;
}

void TFormShow::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    params.style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
}

void TFormShow::FormShow(TObject*)
{
    if (!shown_) {
        if (StoredHeight >= 1 && StoredWidth >= 1) {
            SetHeight(StoredHeight);
            SetWidth(StoredWidth);
        } else {
            SetTop(0);
            SetLeft(0);
        }
        // The place and size kept in the settings may be off every screen, or larger.
        TRect fitted = FitToWorkArea(Left(), Top(), Width(), Height());
        SetBounds(fitted.Left, fitted.Top, fitted.Width(), fitted.Height());
    }
    shown_ = true;
}

void TFormShow::FormClose(TObject*, TCloseAction&)
{
    if (ShowButton)
        ShowButton->SetDown(false);
    shown_ = false;
}

// The arrays, bitmaps and layout go with the object; nothing renders from here on.
void TFormShow::FormDestroy(TObject*) { shown_ = false; }

void TFormShow::SetupLayout(const ControllerConfig& config, const ModelParams& params)
{
    int n = std::clamp(config.channels, 0, kMaxChannels);
    channelCount_ = configuredCount_ = n;
    levels_.assign(static_cast<size_t>(n), 0);
    colours_.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        colours_[static_cast<size_t>(i)] = config.channelTable[i].color;
    levelMax_ = params.levelMax;

    int scale = 1;
    if (!LoadShowPicture(config.pictureFile)) {
        layout_ = ShowLayout::Generate(n, config.channelTable);
        StoredHeight = StoredWidth = 0;
        scale = kGeneratedScale;
    }
    // The image is composed in a frame-sized bitmap; a frame larger than twice the
    // screen is clipped to that.
    composition_.SetSize(std::min(layout_.FrameWidth(), 2 * screenWidth_),
                         std::min(layout_.FrameHeight(), 2 * screenHeight_));

    HandleNeeded();  // the panel's size then leaves out the window's frame
    // A window about to open with a picture layout takes the size kept in the settings
    // (the OnShow handler applies it and fits it to the screen). Taken here already, the
    // window's first placement on the screen judges the place kept with it by the size
    // the window opens at.
    if (!shown_ && StoredHeight >= 1 && StoredWidth >= 1) {
        SetBounds(Left(), Top(), StoredWidth, StoredHeight);
        return;
    }
    // The panel gets the frame at that scale, or smaller, keeping the frame's aspect, where
    // the window would otherwise be larger than the work area it is on. A window about to
    // open without a kept size opens at the screen's origin (OnShow): the work area there
    // is the one it must fit.
    const int borderWidth = Width() - PanelPaint->Width(), borderHeight = Height() - PanelPaint->Height();
    const TRect work = NearestWorkArea(shown_ ? BoundsRect() : Bounds(0, 0, Width(), Height()));
    const int fw = layout_.FrameWidth(), fh = layout_.FrameHeight();
    DrawSize panel = FitFrame(std::min(scale * fw, work.Width() - borderWidth),
                              std::min(scale * fh, work.Height() - borderHeight), fw, fh);
    SetBounds(Left(), Top(), borderWidth + std::max(0, panel.width), borderHeight + std::max(0, panel.height));
}

bool TFormShow::LoadShowPicture(const std::string& fileName)
{
    SetCurrentDirectoryW(ToWide(ExtractFilePath(Application->ExeName())).c_str());
    if (fileName.empty() || !FileExists(fileName))
        return false;
    // A picture that cannot be read or decoded is no layout: the caller generates one.
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        BmpPicture picture;
        std::string error;
        ShowLayout layout;
        if (!picture.Open(stream, error) || !ShowLayout::FromPicture(picture, configuredCount_, layout))
            return false;
        layout_ = std::move(layout);
        channelCount_ = layout_.ChannelCount();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TFormShow::SetLevel(int channel, int level)
{
    if (channel >= 0 && channel < channelCount_ && channel < configuredCount_)
        levels_[static_cast<size_t>(channel)] = level;
}

void TFormShow::RenderFrame()
{
    if (!shown_ || composition_.Empty())
        return;
    PixelView view{composition_.ScanLine(0), composition_.Width(), composition_.Height()};
    layout_.Compose(view, colours_.data(), levels_.data(), std::min(channelCount_, configuredCount_), levelMax_);
    if (!PanelPaint->HandleAllocated())
        return;
    // The whole frame's size on the panel; of a frame larger than twice the screen only
    // the composed part is drawn, at that same scale.
    int fw = layout_.FrameWidth(), fh = layout_.FrameHeight();
    DrawSize size = FitFrame(PanelPaint->Width(), PanelPaint->Height(), fw, fh);
    int width = static_cast<int>(int64_t{size.width} * view.width / fw);
    int height = static_cast<int>(int64_t{size.height} * view.height / fh);
    HWND panel = PanelPaint->Handle();
    HDC dc = GetDC(panel);
    StretchBlt(dc, 0, 0, width, height, composition_.Canvas()->Handle(), 0, 0, view.width, view.height, SRCCOPY);
    // The rest of the panel is black. A window made smaller keeps what it showed in the
    // part that is left, and the smaller image no longer covers all of the earlier one.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT right{width, 0, PanelPaint->Width(), height};
    const RECT below{0, height, PanelPaint->Width(), PanelPaint->Height()};
    FillRect(dc, &right, black);
    FillRect(dc, &below, black);
    ReleaseDC(panel, dc);
}
