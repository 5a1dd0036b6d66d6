// Scrolling containers: ranges from the children, the window's scroll bars,
// scroll messages of every code and the content moving with the position.
#include "controls_fixture.h"

namespace {

using namespace ctltest;

class ControlsScroll : public ControlsTest {
 protected:
  // A 200 × 100 borderless box whose one child is 500 × 400.
  void SetUp() override {
    ControlsTest::SetUp();
    ShowForm();
    box = Add<TScrollBox>(form, 10, 10, 200, 100);
    box->SetBorderStyle(bsNone);
    child = Add<TProbe>(box, 0, 0, 500, 400);
    os::ProcessMessages();
  }
  void Scroll(UINT msg, WORD code, int pos = 0) {
    SendMessage(box->Handle(), msg, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
  }
  TScrollBox* box = nullptr;
  TProbe* child = nullptr;
};

TEST_F(ControlsScroll, RangesFollowTheChildrenAndTheBarsAppear) {
  EXPECT_EQ(box->HorzScrollBar()->Range(), 500);
  EXPECT_EQ(box->VertScrollBar()->Range(), 400);
  LONG style = GetWindowLong(box->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  // The bars take 16 pixels of the client area each.
  EXPECT_EQ(box->ClientWidth(), 184);
  EXPECT_EQ(box->ClientHeight(), 84);
  EXPECT_EQ(box->HorzScrollBar()->CalcRange(), 500 - 184);

  // A child that fits inside: no bars.
  child->SetBounds(0, 0, 50, 50);
  os::ProcessMessages();
  style = GetWindowLong(box->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(box->ClientWidth(), 200);
}

TEST_F(ControlsScroll, EveryScrollCodeMovesTheContentWithinTheRange) {
  const int maxX = 500 - 184;
  struct Case {
    WORD code;
    int pos;
    int32_t start;
    int32_t expected;
  } cases[] = {
      {SB_THUMBPOSITION, 40, 0, 40}, {SB_THUMBPOSITION, 9999 & 0x7FFF, 0, maxX},
      {SB_LINEDOWN, 0, 40, 48},      {SB_LINEUP, 0, 40, 32},
      {SB_LINEUP, 0, 3, 0},          {SB_PAGEDOWN, 0, 0, 184},
      {SB_PAGEUP, 0, 200, 16},       {SB_TOP, 0, 100, 0},
      {SB_BOTTOM, 0, 0, maxX},       {SB_ENDSCROLL, 0, 70, 70},
      {SB_THUMBTRACK, 90, 70, 70},  // tracking is off
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " from " << c.start);
    box->HorzScrollBar()->SetPosition(c.start);
    Scroll(WM_HSCROLL, c.code, c.pos);
    EXPECT_EQ(box->HorzScrollBar()->Position(), c.expected);
    EXPECT_EQ(box->HorzScrollBar()->ScrollPos(), c.expected);
    EXPECT_EQ(child->Left(), -c.expected);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_HORZ), c.expected);
  }
  // The other axis did not move.
  EXPECT_EQ(child->Top(), 0);
  box->HorzScrollBar()->SetTracking(true);
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 90);
  EXPECT_EQ(child->Left(), -90);
}

TEST_F(ControlsScroll, VerticalMessagesMoveOnlyTheVerticalPosition) {
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 30);
  EXPECT_EQ(box->VertScrollBar()->Position(), 30);
  EXPECT_EQ(child->Top(), -30);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 0);
  EXPECT_EQ(child->Left(), 0);
}

TEST_F(ControlsScroll, AHiddenBarShowsPositionZeroAndDoesNotScroll) {
  box->HorzScrollBar()->SetVisible(false);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(box->HorzScrollBar()->ScrollPos(), 0);
  EXPECT_EQ(child->Left(), 0);
  EXPECT_FALSE(GetWindowLong(box->Handle(), GWL_STYLE) & WS_HSCROLL);
}

TEST_F(ControlsScroll, TheScrollBarsAreDrawnWithAThumb) {
  os::ProcessMessages();
  TRect w;
  GetWindowRect(box->Handle(), &w);
  // The horizontal bar runs along the bottom, 16 pixels high: its arrow
  // buttons are button-face grey; the track between them is the scroll
  // bar colour except where the thumb sits, at the left at position 0.
  const int y = w.Bottom - 8;
  EXPECT_EQ(os::ScreenPixel(w.Left + 8, y), GetSysColor(COLOR_BTNFACE));
  COLORREF thumbAt0 = os::ScreenPixel(w.Left + 16 + 8, y);
  box->HorzScrollBar()->SetPosition(box->HorzScrollBar()->CalcRange());
  os::ProcessMessages();
  COLORREF thumbAtEnd = os::ScreenPixel(w.Left + 16 + 8, y);
  EXPECT_EQ(thumbAt0, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(thumbAtEnd, GetSysColor(COLOR_SCROLLBAR));
}

}  // namespace
