#include "programming/BurnChannelRange.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "programming/ControllerImage.h"
#include "ui/Exceptions.h"
#include "ui/SysUtils.h"

void UpDownRange::SetMin(int value)
{
    min = value;
    SetPosition(position);
}

void UpDownRange::SetMax(int value)
{
    max = value;
    SetPosition(position);
}

void UpDownRange::SetPosition(int value) { position = std::max(min, std::min(max, value)); }

int BurnChannelRange::ControllerCount() const
{
    // A model without channels (not in the table) cannot be divided into controllers:
    // the whole scenario is one controller's range to adjust.
    if (Channels() < 1)
        return 1;
    return std::max(1, static_cast<int>(std::ceil(static_cast<double>(TotalCh) / Channels())));
}

void BurnChannelRange::Show(int firstChannel, int totalCh, int ctrlChannels)
{
    TotalCh = totalCh;
    CtrlChannels = ctrlChannels;
    firstCh.SetPosition(firstChannel + 1);
    firstCh.SetMax(TotalCh);
    endCh.SetMax(TotalCh);
    endCh.SetMin(firstCh.position);
    endCh.SetPosition(firstCh.position + Channels() - 1);
    ctrlNum.SetMax(ControllerCount());
    ctrlNum.SetPosition(1);
}

void BurnChannelRange::RecomputeRange()
{
    firstCh.SetPosition((ctrlNum.position - 1) * Channels() + 1);
    endCh.SetMin(firstCh.position);
    endCh.SetPosition(firstCh.position + Channels() - 1);
}

void BurnChannelRange::FirstChanged()
{
    endCh.SetPosition(firstCh.position + Channels() - 1);
    endCh.SetMin(firstCh.position);
}

bool BurnChannelRange::NextController()
{
    if (ctrlNum.position >= ctrlNum.max)
        return false;
    ctrlNum.SetPosition(ctrlNum.position + 1);
    RecomputeRange();
    return true;
}

std::string BurnChannelRange::CountLabel() const { return "(" + IntToStr(Count()) + ")"; }

bool IsBurnRange(int firstCh, int endCh, int totalCh)
{
    const int count = endCh - firstCh + 1;
    return firstCh >= 0 && firstCh <= totalCh && count >= 1 && firstCh + count <= totalCh &&
           IsImageChannelRange(firstCh, count);
}

int EditInteger(const std::string& text)
{
    const int value = StrToIntDef(text, INT_MIN);
    if (value == INT_MIN && StrToIntDef(text, 0) != INT_MIN)
        throw EConvertError("\"" + text + "\" не является целым числом");
    return value;
}
