// The scrolling windowed control (and the serial library's control bases on it): the
// scroll bars reach as child as the children do, and scrolling moves the children.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
#include "serial/SioBaseControls.h"
#include "ui/ExtCtrls.h"

namespace {

TEST(ScrollingWinControl, ScrollingMovesTheChildrenWithinTheirExtent)
{
    TestForm form;
    auto* box = Place<TSioBaseScrollingWinControl>(form.form, 10, 10, 120, 100);
    auto* child = Place<TPanel>(box, 20, 150, 40, 40);  // reaches 190, below the client area
    box->HandleNeeded();
    box->UpdateScrollBars();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 189);
    EXPECT_EQ(static_cast<int>(info.nPage), box->ClientHeight());

    box->Perform(WM_VSCROLL, SB_BOTTOM);
    int bottom = 190 - box->ClientHeight();
    EXPECT_EQ(box->ScrollPosition().Y, bottom) << "no further than the last child";
    EXPECT_EQ(child->Top(), 150 - bottom);
    EXPECT_EQ(child->Left(), 20);
    box->Perform(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(child->Top(), 150 - bottom + 8);
    box->ScrollTo(-5, 0);
    EXPECT_EQ(child->Top(), 150);
    EXPECT_EQ(box->ScrollPosition().X, 0) << "nothing to the right to scroll to";
    EXPECT_EQ(box->GetVersion(), "v1.00");
}

} // namespace
