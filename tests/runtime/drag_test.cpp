// Dragging the bars with the mouse: the inverted tracking strip on the
// screen, the limits of the tracked point, the drop through the position
// setters, AutoUpdate, OnChange after every release, the loss of the
// capture and the drag on the design surface.
#include <string>
#include <vector>

#include "screen_fixture.h"

using namespace screentest;

namespace {

std::string ButtonName(TMouseButton b) { return GetEnumName(TTypeOf<TMouseButton>::Info(), b); }

// kvsWin95 (frame 2), client 400 × 300, four panes, PositionX 100,
// PositionY 200: the vertical bar is (102, 0, 108, 300), the horizontal bar
// (0, 202, 400, 208); the panes lie at (2, 2, 100, 200), (106, 2, 398, 200),
// (106, 206, 398, 298) and (2, 206, 100, 298).
class DragTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    s = Split(400, 300, kvsWin95, 4, TPoint{100, 200});
    Watch(s);
  }
  void Watch(TkvCustomSplit* split) {
    split->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int32_t, int32_t) {
      log.push_back("down " + ButtonName(b));
    };
    split->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int32_t, int32_t) {
      log.push_back("up " + ButtonName(b));
    };
    split->OnChange = [this, split](TObject* sender) {
      EXPECT_EQ(sender, split);
      log.push_back("change");
    };
    CountResizes(split);
  }
  // Hovers over the point first, so that the hot state's repaint is done
  // before the screen is read, then presses.
  void PressAt(TPoint p, MouseButton button = MouseButton::Left) {
    MoveTo(s, p);
    os::ProcessMessages();
    os::MouseDown(button);
  }

  TruVezuz* s = nullptr;
  std::vector<std::string> log;
};

using Strings = std::vector<std::string>;

}  // namespace

// The strip appears over the bar at the press, follows the mouse (its old
// place restored), and is gone after the drop, where the frames show the
// bar's new place. Press (104, 10), drag to (150, 10): the strip's left edge
// is 148 and the drop sets PositionX 146.
TEST_F(DragTest, TheStripFollowsTheMouseAndTheDropMovesTheBar) {
  MoveTo(s, 104, 10);
  const std::vector<COLORREF> atBar = Row(s, 50, 100, 109);
  const std::vector<COLORREF> atTarget = Row(s, 50, 146, 155);
  const COLORREF top = Pixel(s, 150, 0), bottom = Pixel(s, 150, 299);
  os::MouseDown(MouseButton::Left);
  EXPECT_EQ(GetCapture(), s->Handle());
  std::vector<COLORREF> pressed = Row(s, 50, 100, 109);
  for (int x = 100; x <= 109; ++x) {
    SCOPED_TRACE(x);
    const COLORREF before = atBar[static_cast<size_t>(x - 100)];
    EXPECT_EQ(pressed[static_cast<size_t>(x - 100)],
              x >= 102 && x < 108 ? Inverted(before) : before);
  }

  MoveTo(s, 150, 10);
  EXPECT_EQ(Row(s, 50, 100, 109), atBar) << "the strip's old place was not restored";
  std::vector<COLORREF> dragged = Row(s, 50, 146, 155);
  for (int x = 146; x <= 155; ++x) {
    SCOPED_TRACE(x);
    const COLORREF before = atTarget[static_cast<size_t>(x - 146)];
    EXPECT_EQ(dragged[static_cast<size_t>(x - 146)],
              x >= 148 && x < 154 ? Inverted(before) : before);
  }
  // The strip runs the bar's whole length and is not clipped to the panes.
  EXPECT_EQ(Pixel(s, 150, 0), Inverted(top));
  EXPECT_EQ(Pixel(s, 150, 299), Inverted(bottom));
  EXPECT_EQ(s->PositionX(), 100) << "the bar moved before the drop";

  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(s->PositionX(), 146);
  EXPECT_EQ(s->PositionY(), 200);
  EXPECT_EQ(s->Panes(1)->Left(), 152);
  EXPECT_EQ(resizes, 1);
  // Pane 0's edge (face, highlight), the gap, pane 1's edge (shadow,
  // window frame), pane 1.
  const COLORREF f = RGBOf(clBtnFace), H = RGBOf(clBtnHighlight), S = RGBOf(clBtnShadow),
                 F = RGBOf(clWindowFrame), W = RGBOf(clWindow);
  EXPECT_EQ(Row(s, 50, 146, 153), (std::vector<COLORREF>{f, H, f, f, S, F, W, W}));
}

// The tracked point is limited so that the strip's near edge stays within
// the frame .. the client size less the bar width; the drop sets the
// position FFrameWidth before the strip.
TEST_F(DragTest, StripAndDropLimits) {
  struct Case {
    const char* what;
    TPoint press, to;
    bool vertical;  // which strip: vertical bar or horizontal bar
    int32_t edge;   // the strip's near edge, client
    int32_t positionX, positionY;
  };
  const Case rows[] = {
      {"worked example", {104, 10}, {150, 10}, true, 148, 146, 200},
      {"far left", {104, 10}, {-2000, 10}, true, 2, 0, 200},
      {"far right", {104, 10}, {3000, 10}, true, 394, 392, 200},
      {"far up", {50, 204}, {50, -2000}, false, 2, 100, 0},
      {"far down", {50, 204}, {50, 3000}, false, 294, 100, 292},
      // 106 and 107 belong to the pane that the bar rectangle reaches into.
      {"grabbed at the split's last column of the bar", {105, 10}, {3000, 10}, true, 394, 392,
       200},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(row.what);
    s->SetPosition(TPoint{100, 200});
    os::ProcessMessages();
    // Four points across the strip's edges: before, first, last, after.
    const int32_t across[4] = {row.edge - 1, row.edge, row.edge + 5, row.edge + 6};
    auto at = [&](int i) {
      return row.vertical ? Pixel(s, across[i], 50) : Pixel(s, 50, across[i]);
    };
    PressAt(row.press);
    COLORREF before[4];
    // The pixels where the strip will land, read while the strip is still
    // over the bar (the two places do not meet).
    for (int i = 0; i < 4; ++i) before[i] = at(i);
    MoveTo(s, row.to);
    EXPECT_EQ(at(0), before[0]);
    EXPECT_EQ(at(1), Inverted(before[1]));
    EXPECT_EQ(at(2), Inverted(before[2]));
    EXPECT_EQ(at(3), before[3]);
    os::MouseUp(MouseButton::Left);
    EXPECT_EQ(s->PositionX(), row.positionX);
    EXPECT_EQ(s->PositionY(), row.positionY);
  }
}

// A press on the crossing drags both bars: two strips whose crossing square
// is inverted twice, and one SetPosition at the drop.
TEST_F(DragTest, CrossingDragMovesBothBarsAtOnce) {
  PressAt({104, 204});
  const COLORREF face = RGBOf(clBtnFace), window = RGBOf(clWindow);
  MoveTo(s, 150, 250);
  EXPECT_EQ(Pixel(s, 150, 100), Inverted(window));  // the vertical strip
  EXPECT_EQ(Pixel(s, 50, 250), Inverted(window));   // the horizontal strip
  EXPECT_EQ(Pixel(s, 150, 250), window);            // the crossing square, twice
  EXPECT_EQ(Pixel(s, 103, 203), face);              // the strips' first place
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->Position(), (TPoint{146, 246}));
  EXPECT_EQ(resizes, 1) << "both coordinates are set in one update";
  EXPECT_EQ(Pixel(s, 149, 249), face);
}

// A press on the horizontal bar away from the crossing moves PositionY only,
// although the mouse also moved across.
TEST_F(DragTest, HorizontalBarDragLeavesPositionX) {
  PressAt({50, 204});
  MoveTo(s, 80, 250);
  // A vertical strip would lie at 80 less the grab distance from the
  // vertical bar (-52).
  EXPECT_EQ(Pixel(s, 134, 100), RGBOf(clWindow)) << "a vertical strip was drawn";
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->Position(), (TPoint{100, 246}));
  EXPECT_EQ(resizes, 1);
}

// Presses that start no drag: no strip, no capture kept after the release,
// no position changed; inherited handling and OnChange as always.
TEST_F(DragTest, PressesThatStartNoDrag) {
  struct Case {
    const char* what;
    TPoint press;
    MouseButton button;
    bool locked;
    Strings events;
  };
  const Case rows[] = {
      {"left, Locked at run time", {104, 50}, MouseButton::Left, true,
       {"down mbLeft", "up mbLeft", "change"}},
      {"right, on the bar", {104, 50}, MouseButton::Right, false,
       {"down mbRight", "up mbRight", "change"}},
      {"middle, on the bar", {104, 50}, MouseButton::Middle, false,
       {"down mbMiddle", "up mbMiddle", "change"}},
      {"left, on the background, then across the bar", {1, 150}, MouseButton::Left, false,
       {"down mbLeft", "up mbLeft", "change"}},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(row.what);
    s->SetLocked(row.locked);
    log.clear();
    MoveTo(s, 150, 50);
    const COLORREF target = Pixel(s, 150, 50);
    PressAt(row.press, row.button);
    EXPECT_EQ(Pixel(s, 103, 50), RGBOf(clBtnFace)) << "a strip over the bar";
    MoveTo(s, 104, 150);
    MoveTo(s, 150, 50);
    EXPECT_EQ(Pixel(s, 150, 50), target) << "a strip at the mouse";
    // The mouse is over a pane now: the release still reaches the split
    // through the capture.
    os::MouseUp(row.button);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(s->Position(), (TPoint{100, 200}));
    EXPECT_EQ(log, row.events);
  }
}

TEST_F(DragTest, OneVisiblePaneHasNoBarToDrag) {
  auto* one = Split(400, 300, kvsWin95, 1, TPoint{100, 200});
  Watch(one);
  // The frame where the bars would be.
  for (TPoint p : {TPoint{104, 1}, TPoint{1, 204}}) {
    Drag(one, p, TPoint{p.X + 40, p.Y + 40});
    EXPECT_EQ(one->Position(), (TPoint{100, 200}));
    EXPECT_EQ(Pixel(one, 104, 1), RGBOf(clWindowFrame));
  }
}

// With AutoUpdate no strip is drawn: the bar and the panes follow each move,
// and the drop sets the last point once more.
TEST_F(DragTest, AutoUpdateMovesThePanesAtEachMove) {
  s->SetAutoUpdate(true);
  const COLORREF f = RGBOf(clBtnFace), H = RGBOf(clBtnHighlight), S = RGBOf(clBtnShadow),
                 F = RGBOf(clWindowFrame), W = RGBOf(clWindow);
  PressAt({104, 50});
  EXPECT_EQ(Pixel(s, 103, 50), f) << "a strip at the press";
  MoveTo(s, 150, 50);
  EXPECT_EQ(s->PositionX(), 146);
  EXPECT_EQ(s->Panes(1)->Left(), 152);
  EXPECT_EQ(Row(s, 50, 146, 153), (std::vector<COLORREF>{f, H, f, f, S, F, W, W}));
  MoveTo(s, 200, 50);
  EXPECT_EQ(s->PositionX(), 196);
  EXPECT_EQ(resizes, 2);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->PositionX(), 196);
  EXPECT_EQ(resizes, 2) << "the drop at the same place changes nothing";
  EXPECT_EQ(log, (Strings{"down mbLeft", "up mbLeft", "change"}));

  // A crossing drag sets both coordinates at the drop even when nothing
  // changed.
  PressAt({200, 204});
  MoveTo(s, 220, 230);
  EXPECT_EQ(s->Position(), (TPoint{216, 226}));
  EXPECT_EQ(resizes, 3);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(resizes, 4);
  EXPECT_EQ(s->Position(), (TPoint{216, 226}));
}

// OnChange follows every release that reaches the split, after OnMouseUp.
TEST_F(DragTest, OnChangeAfterEveryRelease) {
  struct Case {
    const char* what;
    TPoint from, to;
    MouseButton button;
    Strings events;
    int32_t positionX;
  };
  const Case rows[] = {
      {"left drag of the vertical bar", {104, 50}, {150, 50}, MouseButton::Left,
       {"down mbLeft", "up mbLeft", "change"}, 146},
      {"left click on the bar", {104, 50}, {104, 50}, MouseButton::Left,
       {"down mbLeft", "up mbLeft", "change"}, 100},
      {"left click on the background", {1, 150}, {1, 150}, MouseButton::Left,
       {"down mbLeft", "up mbLeft", "change"}, 100},
      {"right click on the background", {1, 150}, {1, 150}, MouseButton::Right,
       {"down mbRight", "up mbRight", "change"}, 100},
      {"right drag of the bar", {104, 50}, {150, 50}, MouseButton::Right,
       {"down mbRight", "up mbRight", "change"}, 100},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(row.what);
    s->SetPosition(TPoint{100, 200});
    log.clear();
    Drag(s, row.from, row.to, row.button);
    EXPECT_EQ(log, row.events);
    EXPECT_EQ(s->PositionX(), row.positionX);
  }
}

// Another button released during a left drag fires OnChange and the drag
// goes on; a move without the left button leaves the strip where it is.
TEST_F(DragTest, OtherButtonsDuringADrag) {
  PressAt({104, 50});
  MoveTo(s, 150, 50);
  os::MouseDown(MouseButton::Right);
  os::MouseUp(MouseButton::Right);
  EXPECT_EQ(log, (Strings{"down mbLeft", "down mbRight", "up mbRight", "change"}));
  EXPECT_EQ(GetCapture(), s->Handle());
  EXPECT_EQ(Pixel(s, 150, 50), Inverted(RGBOf(clWindow)));

  SendMessage(s->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 50));
  EXPECT_EQ(Pixel(s, 150, 50), Inverted(RGBOf(clWindow)));
  EXPECT_EQ(Pixel(s, 250, 50), RGBOf(clWindow));

  MoveTo(s, 160, 50);
  EXPECT_EQ(Pixel(s, 150, 50), RGBOf(clWindow));
  EXPECT_EQ(Pixel(s, 160, 50), Inverted(RGBOf(clWindow)));
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->PositionX(), 156);
  EXPECT_EQ(log, (Strings{"down mbLeft", "down mbRight", "up mbRight", "change", "up mbLeft",
                          "change"}));
}

// Another window taking the capture in the middle of a drag ends the drag:
// the strip goes and the bars stay. A later release moves nothing and still
// fires OnChange; a new drag works as usual.
TEST_F(DragTest, LosingTheCaptureEndsTheDrag) {
  MoveTo(s, 150, 50);
  const COLORREF target = Pixel(s, 150, 50);
  PressAt({104, 50});
  MoveTo(s, 150, 50);
  ASSERT_EQ(Pixel(s, 150, 50), Inverted(target));

  SetCapture(s->Panes(1)->Handle());
  EXPECT_EQ(Pixel(s, 150, 50), target) << "the strip stayed on the screen";
  EXPECT_EQ(Pixel(s, 103, 50), RGBOf(clBtnFace));
  EXPECT_EQ(s->PositionX(), 100);
  ReleaseCapture();

  // Back on the bar, still holding the button, and released there.
  MoveTo(s, 104, 60);
  MoveTo(s, 110, 60);
  EXPECT_EQ(Pixel(s, 150, 50), target);
  log.clear();
  MoveTo(s, 104, 60);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->PositionX(), 100);
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(log, (Strings{"up mbLeft", "change"}));

  Drag(s, {104, 50}, {150, 50});
  EXPECT_EQ(s->PositionX(), 146);
  EXPECT_EQ(Pixel(s, 149, 50), RGBOf(clBtnFace));
  EXPECT_EQ(Pixel(s, 153, 50), RGBOf(clWindow));
}

// On the design surface the bars drag although Locked, and the drop tells
// the designer once. Mouse messages away from the bars stay with the
// designer.
TEST_F(DragTest, DragOnTheDesignSurface) {
  Design();
  s->SetLocked(true);
  designer.modified = 0;
  PressAt({104, 50});
  MoveTo(s, 150, 50);
  EXPECT_EQ(Pixel(s, 150, 50), Inverted(RGBOf(clWindow)));
  EXPECT_EQ(designer.modified, 0);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->PositionX(), 146);
  EXPECT_EQ(designer.modified, 1);
  EXPECT_EQ(log, (Strings{"down mbLeft", "up mbLeft", "change"}));
  EXPECT_TRUE(designer.kept.empty());

  // The background: the designer keeps the press and the release.
  log.clear();
  os::Click(At(s, 1, 150));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(designer.modified, 1);
  EXPECT_EQ(designer.kept, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));

  // A right click on the bar reaches the split but is no drop.
  log.clear();
  os::Click(At(s, 148, 50), MouseButton::Right);
  EXPECT_EQ(log, (Strings{"down mbRight", "up mbRight", "change"}));
  EXPECT_EQ(designer.modified, 1);

  // A crossing drag also tells the designer once. Grabbed at the vertical
  // bar's left edge, 148: the drop at 200 gives PositionX 198.
  Drag(s, {148, 204}, {200, 250});
  EXPECT_EQ(s->Position(), (TPoint{198, 246}));
  EXPECT_EQ(designer.modified, 2);
}

// The press is not examined for modifier keys or a double click: the second
// press of a double click on a bar, with Shift and Ctrl held, drags too.
TEST_F(DragTest, DoubleClickAndModifierKeysStillDrag) {
  TShiftState pressed;
  s->OnMouseDown = [&pressed](TObject*, TMouseButton, TShiftState shift, int32_t, int32_t) {
    pressed = shift;
  };
  os::SetKeyDown(VK_SHIFT, true);
  os::SetKeyDown(VK_CONTROL, true);
  os::Click(At(s, 104, 50));
  PressAt({104, 50});
  EXPECT_TRUE(pressed.Contains(ssDouble));
  EXPECT_TRUE(pressed.Contains(ssShift));
  MoveTo(s, 150, 50);
  EXPECT_EQ(Pixel(s, 150, 50), Inverted(RGBOf(clWindow)));
  os::MouseUp(MouseButton::Left);
  os::SetKeyDown(VK_SHIFT, false);
  os::SetKeyDown(VK_CONTROL, false);
  EXPECT_EQ(s->PositionX(), 146);
}

// The capture released in the middle of a drag while the button is still
// held (no new holder: cancel mode, code that calls ReleaseCapture) is a
// loss of the capture as well: the strip goes and the drag ends, so that
// a later press away from the bars cannot move them.
TEST_F(DragTest, CaptureReleasedWhileTheButtonIsHeldEndsTheDrag) {
  MoveTo(s, 150, 50);
  const COLORREF target = Pixel(s, 150, 50);
  PressAt({104, 50});
  MoveTo(s, 150, 50);
  ASSERT_EQ(Pixel(s, 150, 50), Inverted(target));

  ReleaseCapture();
  EXPECT_EQ(Pixel(s, 150, 50), target) << "the strip stayed on the screen";
  // The button comes up over a pane, which the split does not see.
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(Pixel(s, 150, 50), target);
  EXPECT_EQ(s->PositionX(), 100);

  // A press on the background and a move: no strip, and the release moves
  // no bar.
  PressAt({1, 150});
  MoveTo(s, 250, 150);
  EXPECT_EQ(Pixel(s, 250, 150), RGBOf(clWindow));
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(s->Position(), (TPoint{100, 200}));
}
