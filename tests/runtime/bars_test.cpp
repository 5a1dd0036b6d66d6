// The bars: their rectangles for every pane count and orientation, the
// cursor and hot state the mouse finds over them, Locked, the shared split
// cursor, and the designer's hit test. Everything the mouse does goes
// through the system's input path.
#include <string>
#include <vector>

#include "screen_fixture.h"

using namespace screentest;

namespace {

std::string Name(TkvsOrientation o) { return GetEnumName(TTypeOf<TkvsOrientation>::Info(), o); }

const std::vector<TkvsOrientation> kAll = {kvsVert, kvsHorz, kvsLeft, kvsTop, kvsRight, kvsBottom};

enum class Shape { Arrow, HSplit, VSplit, Crossing };

const char* ShapeName(Shape s) {
  switch (s) {
    case Shape::Arrow:
      return "arrow";
    case Shape::HSplit:
      return "crHSplit";
    case Shape::VSplit:
      return "crVSplit";
    case Shape::Crossing:
      return "split cursor";
  }
  return "";
}

// Whether the cursor on the screen has the shape.
::testing::AssertionResult Shows(Shape s) {
  const HCURSOR c = GetCursor();
  bool ok = false;
  switch (s) {
    case Shape::Arrow:
      ok = IsArrow(c);
      break;
    case Shape::HSplit:
      ok = c == Screen->Cursors(crHSplit);
      break;
    case Shape::VSplit:
      ok = c == Screen->Cursors(crVSplit);
      break;
    case Shape::Crossing:
      ok = c != nullptr && c == SplitCursorHandle;
      break;
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "expected the " << ShapeName(s) << ", the cursor is \"" << os::CursorName(c) << "\"";
}

class BarsTest : public ScreenTest {
 protected:
  LRESULT DesignHitTest(TkvCustomSplit* s, TPoint message = TPoint{0, 0}) {
    return SendMessage(s->Handle(), CM_DESIGNHITTEST, 0,
                       MAKELPARAM(static_cast<WORD>(message.X), static_cast<WORD>(message.Y)));
  }
};

}  // namespace

// Client 400 × 300, kvsWin95 (frame 2), PositionX 50, PositionY 100: the
// base rectangles are (52, 0, 58, 300) and (0, 102, 400, 108).
TEST_F(BarsTest, RectanglesByVisiblePaneCountAndOrientation) {
  const TRect V = Rect(52, 0, 58, 300);
  const TRect H = Rect(0, 102, 400, 108);
  const TRect none = Rect(0, 0, 0, 0);
  struct Case {
    const char* what;
    int panes;
    int hidden;  // the last `hidden` panes hidden, with kvsHideInvisible
    std::vector<TkvsOrientation> orientations;
    TRect v, h;
  };
  const Case rows[] = {
      {"no pane", 0, 0, kAll, V, H},
      {"all panes hidden", 2, 2, kAll, V, H},
      {"one pane", 1, 0, kAll, none, none},
      {"four panes, three hidden", 4, 3, kAll, none, none},
      {"two side by side", 2, 0, {kvsVert, kvsLeft, kvsRight}, V, none},
      {"two one above the other", 2, 0, {kvsHorz, kvsTop, kvsBottom}, none, H},
      {"three, horizontal bar from the vertical one", 3, 0, {kvsVert, kvsLeft}, V,
       Rect(50, 102, 400, 108)},
      {"three, horizontal bar up to the vertical one", 3, 0, {kvsRight}, V,
       Rect(0, 102, 58, 108)},
      {"three, vertical bar down to the horizontal one", 3, 0, {kvsHorz, kvsBottom},
       Rect(52, 0, 58, 108), H},
      {"three, vertical bar from the horizontal one", 3, 0, {kvsTop}, Rect(52, 100, 58, 300), H},
      {"four", 4, 0, kAll, V, H},
      {"five", 5, 0, kAll, V, H},
      {"three of four visible", 4, 1, {kvsTop}, Rect(52, 100, 58, 300), H},
  };
  for (const Case& row : rows)
    for (TkvsOrientation o : row.orientations) {
      SCOPED_TRACE(std::string(row.what) + ", " + Name(o));
      auto* s = Split(400, 300, kvsWin95, row.panes, TPoint{50, 100}, o);
      if (row.hidden) {
        s->SetOptions(TkvsOptions{kvsHideInvisible});
        for (int i = row.panes - row.hidden; i < row.panes; ++i) s->Panes(i)->SetVisible(false);
      }
      EXPECT_EQ(s->GetVBarRect(), row.v);
      EXPECT_EQ(s->GetHBarRect(), row.h);
      delete s;
    }
}

// The rectangles are not clipped: a bar beyond the client area stays there,
// and the kvsTop vertical bar below the client area turns inside out.
TEST_F(BarsTest, RectanglesBeyondTheClientArea) {
  auto* s = Split(400, 300, kvsWin95, 3, TPoint{500, 350}, kvsTop);
  EXPECT_EQ(s->PositionX(), 500);
  EXPECT_EQ(s->GetVBarRect(), Rect(502, 350, 508, 300));
  EXPECT_EQ(s->GetHBarRect(), Rect(0, 352, 400, 358));
  // Nothing the mouse reaches is a bar.
  for (TPoint p : {TPoint{399, 299}, TPoint{200, 150}, TPoint{1, 1}}) {
    MoveTo(s, p);
    EXPECT_FALSE(s->MouseOver()) << p.X << ", " << p.Y;
  }
}

// Where the mouse is over a bar, the crossing or neither, seen as the cursor
// on the screen and the hot state.
TEST_F(BarsTest, CursorsOverTheBarsAndTheCrossing) {
  struct Case {
    const char* what;
    TkvsStyle style;
    int panes;
    TkvsOrientation orientation;
    TPoint position;
    TPoint mouse;
    Shape shape;
  };
  const TPoint top{50, 100};  // with kvsWin95: V (52, 100, 58, 300), H (0, 102, 400, 108)
  const Case rows[] = {
      {"crossing", kvsWin95, 3, kvsTop, top, {55, 104}, Shape::Crossing},
      {"vertical bar only", kvsWin95, 3, kvsTop, top, {55, 150}, Shape::HSplit},
      {"horizontal bar only", kvsWin95, 3, kvsTop, top, {20, 104}, Shape::VSplit},
      {"vertical bar's first row, at PositionY", kvsWin95, 3, kvsTop, top, {55, 101},
       Shape::HSplit},
      {"above the shortened vertical bar", kvsWin95, 3, kvsTop, top, {55, 1}, Shape::Arrow},
      {"the gap before the bar rectangle", kvsWin95, 3, kvsTop, top, {51, 150}, Shape::Arrow},
      {"the bar rectangle's last pixels lie on the pane", kvsWin95, 3, kvsTop, top, {57, 150},
       Shape::Arrow},
      {"two panes kvsTop: never the crossing", kvsWin95, 2, kvsTop, top, {55, 104},
       Shape::VSplit},
      {"one pane: no bar", kvsWin95, 1, kvsVert, top, {55, 1}, Shape::Arrow},
      {"no pane: crossing", kvsWin95, 0, kvsVert, top, {55, 104}, Shape::Crossing},
      {"no pane: vertical bar", kvsWin95, 0, kvsVert, top, {55, 250}, Shape::HSplit},
      {"no pane: horizontal bar", kvsWin95, 0, kvsVert, top, {300, 104}, Shape::VSplit},
      {"no pane: background", kvsWin95, 0, kvsVert, top, {300, 250}, Shape::Arrow},
      {"no frame: left edge", kvsWin31, 4, kvsVert, {100, 200}, {100, 50}, Shape::HSplit},
      {"no frame: last column", kvsWin31, 4, kvsVert, {100, 200}, {105, 50}, Shape::HSplit},
      {"no frame: right edge is the pane", kvsWin31, 4, kvsVert, {100, 200}, {106, 50},
       Shape::Arrow},
      {"no frame: before the bar is the pane", kvsWin31, 4, kvsVert, {100, 200}, {99, 50},
       Shape::Arrow},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(row.what);
    auto* s = Split(400, 300, row.style, row.panes, row.position, row.orientation);
    MoveTo(s, row.mouse);
    EXPECT_TRUE(Shows(row.shape));
    EXPECT_EQ(s->MouseOver(), row.shape != Shape::Arrow);
    delete s;
  }
}

// Locked switches the bars off at run time only; a split on the design
// surface (its form designing, which makes the children designing too)
// shows the bar cursors as if unlocked.
TEST_F(BarsTest, LockedAtRunTimeAndOnTheDesignSurface) {
  auto* s = Split(400, 300, kvsWin31, 4, TPoint{100, 200});
  MoveTo(s, 103, 50);
  ASSERT_TRUE(s->MouseOver());
  s->SetLocked(true);
  MoveTo(s, 104, 60);
  EXPECT_TRUE(Shows(Shape::Arrow));
  EXPECT_FALSE(s->MouseOver());
  MoveTo(s, 103, 203);
  EXPECT_TRUE(Shows(Shape::Arrow));
  EXPECT_FALSE(s->MouseOver());

  form->SetDesigning(true);
  ASSERT_TRUE(s->ComponentState().Contains(csDesigning));
  MoveTo(s, 103, 50);
  EXPECT_TRUE(Shows(Shape::HSplit));
  EXPECT_TRUE(s->MouseOver());
  MoveTo(s, 103, 203);
  EXPECT_TRUE(Shows(Shape::Crossing));
  MoveTo(s, 50, 203);
  EXPECT_TRUE(Shows(Shape::VSplit));
}

// Each change of the hot state repaints the split once; moving within a bar
// or within the background repaints nothing. kvsWin95 paints both states
// alike, and CM_MOUSEENTER and CM_MOUSELEAVE leave it alone.
TEST_F(BarsTest, HotStateChangesRepaintOnce) {
  auto* s = Split(400, 300, kvsWin95, 4, TPoint{100, 200});
  struct Step {
    const char* what;
    TPoint mouse;
    bool hot;
    int repaints;
  };
  const Step steps[] = {
      {"onto the background (the frame)", {1, 50}, false, 0},
      {"within the background", {0, 60}, false, 0},
      {"onto the vertical bar", {104, 50}, true, 1},
      {"within the vertical bar", {105, 60}, true, 0},
      {"onto the crossing", {104, 204}, true, 0},
      {"onto the horizontal bar", {50, 205}, true, 0},
      {"off the bar onto the background", {1, 150}, false, 1},
      {"back onto the bar", {50, 205}, true, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const int before = Paints(s);
    MoveTo(s, step.mouse);
    EXPECT_EQ(s->MouseOver(), step.hot);
    EXPECT_EQ(Paints(s) - before, step.repaints);
  }
}

// The split cursor is loaded at the first crossing and shared by every
// split; the last split destroyed destroys it, and a later split loads it
// again.
TEST_F(BarsTest, TheSplitCursorIsSharedAndDestroyedWithTheLastSplit) {
  ASSERT_EQ(SplitInstanceCount, 0);
  ASSERT_EQ(SplitCursorHandle, nullptr);
  auto* a = Split(200, 200, kvsWin31, 4, TPoint{100, 100});
  auto* b = Split(200, 200, kvsWin31, 4, TPoint{50, 50});
  b->SetLeft(250);
  MoveTo(a, 50, 50);  // a pane: nothing loaded yet
  EXPECT_EQ(SplitCursorHandle, nullptr);

  MoveTo(a, 102, 102);
  const HCURSOR h = SplitCursorHandle;
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetCursor(), h);
  EXPECT_EQ(os::CursorName(h), "SplitCursor");
  const os::CursorPicture picture = os::CursorImage(h);
  EXPECT_TRUE(picture.valid);
  EXPECT_EQ(picture.hotSpot, (TPoint{16, 14}));

  MoveTo(b, 52, 52);
  EXPECT_EQ(GetCursor(), h);
  EXPECT_EQ(SplitCursorHandle, h);

  delete a;
  EXPECT_EQ(SplitCursorHandle, h);
  EXPECT_TRUE(os::CursorImage(h).valid);
  delete b;
  EXPECT_EQ(SplitCursorHandle, nullptr);
  EXPECT_FALSE(os::CursorImage(h).valid) << "the cursor outlived the last split";

  auto* c = Split(200, 200, kvsWin31, 4, TPoint{100, 100});
  MoveTo(c, 102, 102);
  EXPECT_NE(SplitCursorHandle, nullptr);
  EXPECT_TRUE(Shows(Shape::Crossing));
}

// CM_DESIGNHITTEST answers from the split's latest mouse point, whatever
// point the message carries, and from the drag in progress.
TEST_F(BarsTest, DesignHitTest) {
  auto* s = Split(400, 300, kvsWin95, 4, TPoint{100, 200});
  MoveTo(s, 104, 50);
  EXPECT_EQ(DesignHitTest(s), 1);
  MoveTo(s, 50, 205);
  EXPECT_EQ(DesignHitTest(s), 1);
  MoveTo(s, 1, 50);
  EXPECT_EQ(DesignHitTest(s, TPoint{104, 50}), 0) << "the message's point is not used";

  // Locked is not consulted.
  s->SetLocked(true);
  MoveTo(s, 104, 60);
  EXPECT_EQ(DesignHitTest(s), 1);
  s->SetLocked(false);

  // With AutoUpdate the bar leaves the point the drag started from; the
  // split still wants the mouse until the drag ends.
  s->SetAutoUpdate(true);
  MoveTo(s, 104, 50);
  os::MouseDown(MouseButton::Left);
  MoveTo(s, 250, 50);
  ASSERT_EQ(s->PositionX(), 246);
  EXPECT_EQ(DesignHitTest(s), 1);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(DesignHitTest(s), 0);

  // A WM_SETCURSOR with another hit-test code still turns the point into
  // client coordinates.
  const TPoint bar = At(s, 249, 50);
  SendMessage(s->Handle(), WM_NCHITTEST, 0,
              MAKELPARAM(static_cast<WORD>(bar.X), static_cast<WORD>(bar.Y)));
  SendMessage(s->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(s->Handle()),
              MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
  EXPECT_FALSE(s->MouseOver());
  EXPECT_EQ(DesignHitTest(s), 1);

  // One visible pane: no bar anywhere.
  auto* one = Split(400, 300, kvsWin95, 1, TPoint{100, 200});
  MoveTo(one, 104, 1);
  EXPECT_EQ(DesignHitTest(one), 0);
}

// A pane's default window procedure hands its WM_SETCURSOR to the split
// first. The split tests no point for it: the hot state ends, the pane's
// own cursor shows, and the split's mouse point stays its own.
TEST_F(BarsTest, CursorMessageRelayedFromAPane) {
  auto* s = Split(400, 300, kvsWin31, 4, TPoint{100, 200});
  MoveTo(s, 103, 20);
  ASSERT_TRUE(Shows(Shape::HSplit));
  ASSERT_TRUE(s->MouseOver());

  // A pane point whose screen position, read as a client point of the
  // split, is the bar point above: converting it again would find the bar.
  const TPoint origin = At(s, 0, 0);
  const TPoint onPane{103 + origin.X, 20 + origin.Y};
  ASSERT_EQ(FindControl(WindowFromPoint(At(s, onPane.X, onPane.Y))), s->Panes(1));
  const int before = Paints(s);
  MoveTo(s, onPane);
  EXPECT_FALSE(s->MouseOver());
  EXPECT_TRUE(Shows(Shape::Arrow));
  EXPECT_EQ(Paints(s) - before, 1);
  // The latest point of the split's own is still the bar point.
  EXPECT_EQ(DesignHitTest(s), 1);

  MoveTo(s, 50, 203);
  EXPECT_TRUE(Shows(Shape::VSplit));
  EXPECT_TRUE(s->MouseOver());
  EXPECT_EQ(DesignHitTest(s), 1);
  MoveTo(s, 20, 20);  // the first pane
  EXPECT_FALSE(s->MouseOver());
  EXPECT_TRUE(Shows(Shape::Arrow));
}
