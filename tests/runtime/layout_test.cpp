// The pane layout: the rectangle of each visible pane for every pane count
// and orientation, frames, limited and unlimited positions, inverted
// rectangles and the panes the layout leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "fixture.h"

using namespace splittest;

namespace {

using Rects = std::vector<TRect>;
const TkvsOrientation kAll[] = {kvsVert, kvsHorz, kvsLeft, kvsTop, kvsRight, kvsBottom};

std::string Name(TkvsOrientation o) { return GetEnumName(TTypeOf<TkvsOrientation>::Info(), o); }

// How the platform shows a rectangle given to a pane: an inverted one with
// zero width or height.
TRect Shown(const TRect& r) {
  return Rect(r.Left, r.Top, std::max(r.Left, r.Right), std::max(r.Top, r.Bottom));
}

class LayoutTest : public SplitTest {
 protected:
  // Client 100 × 80, bar width 6, PositionX 47, PositionY 30.
  TruVezuz* Split(TkvsStyle style, int panes, TkvsOrientation o = kvsVert) {
    auto* s = NewSplit(100, 80);
    s->SetStyle(style);
    s->SetOrientation(o);
    s->SetPosition(TPoint{47, 30});
    NewPanes(s, panes);
    return s;
  }
  static Rects Bounds(const TkvCustomSplit* s) {
    Rects out;
    for (int32_t i = 0; i < s->PaneCount(); ++i) out.push_back(s->Panes(i)->BoundsRect());
    return out;
  }
  static Rects AsShown(Rects rects) {
    for (TRect& r : rects) r = Shown(r);
    return rects;
  }
};

}  // namespace

// Every pane count and orientation without a frame.
TEST_F(LayoutTest, PaneCountByOrientation) {
  struct Row {
    int panes;
    std::vector<TkvsOrientation> orientations;
    Rects rects;
  };
  const std::vector<TkvsOrientation> all(std::begin(kAll), std::end(kAll));
  const Row rows[] = {
      {1, all, {Rect(0, 0, 100, 80)}},
      {2, {kvsVert, kvsLeft, kvsRight}, {Rect(0, 0, 47, 80), Rect(53, 0, 100, 80)}},
      {2, {kvsHorz, kvsTop, kvsBottom}, {Rect(0, 0, 100, 30), Rect(0, 36, 100, 80)}},
      {3,
       {kvsVert, kvsLeft},
       {Rect(0, 0, 47, 80), Rect(53, 0, 100, 30), Rect(53, 36, 100, 80)}},
      {3,
       {kvsHorz, kvsBottom},
       {Rect(0, 0, 47, 30), Rect(53, 0, 100, 30), Rect(0, 36, 100, 80)}},
      {3, {kvsTop}, {Rect(0, 0, 100, 30), Rect(53, 36, 100, 80), Rect(0, 36, 47, 80)}},
      {3, {kvsRight}, {Rect(0, 0, 47, 30), Rect(53, 0, 100, 80), Rect(0, 36, 47, 80)}},
      {4,
       all,
       {Rect(0, 0, 47, 30), Rect(53, 0, 100, 30), Rect(53, 36, 100, 80), Rect(0, 36, 47, 80)}},
  };
  for (const Row& row : rows)
    for (TkvsOrientation o : row.orientations) {
      SCOPED_TRACE(std::to_string(row.panes) + " panes, " + Name(o));
      auto* s = Split(kvsWin31, row.panes, o);
      EXPECT_EQ(Bounds(s), row.rects);
      delete s;
    }
}

// The frame insets the pane area; the inner edges stay at PX and PX + BW.
TEST_F(LayoutTest, FrameWidths) {
  struct Case {
    TkvsStyle style;
    int panes;
    Rects rects;
  };
  const Case cases[] = {
      {kvsWin95, 1, {Rect(2, 2, 98, 78)}},
      {kvsWin95, 2, {Rect(2, 2, 47, 78), Rect(53, 2, 98, 78)}},
      {kvsWin31, 2, {Rect(0, 0, 47, 80), Rect(53, 0, 100, 80)}},
      {kvsInset, 2, {Rect(1, 1, 47, 79), Rect(53, 1, 99, 79)}},
      {kvsGroove, 3, {Rect(1, 1, 47, 79), Rect(53, 1, 99, 30), Rect(53, 36, 99, 79)}},
      {kvsWin97,
       4,
       {Rect(2, 2, 47, 30), Rect(53, 2, 98, 30), Rect(53, 36, 98, 78), Rect(2, 36, 47, 78)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(GetEnumName(TTypeOf<TkvsStyle>::Info(), c.style) + ", " +
                 std::to_string(c.panes) + " panes");
    auto* s = Split(c.style, c.panes);
    EXPECT_EQ(Bounds(s), c.rects);
    delete s;
  }
}

TEST_F(LayoutTest, GrooveExample) {
  auto* s = NewSplit(497, 108);
  s->SetStyle(kvsGroove);
  s->SetOrientation(kvsLeft);
  s->SetPositionX(186);
  NewPanes(s, 2);
  EXPECT_EQ(Bounds(s), (Rects{Rect(1, 1, 186, 107), Rect(192, 1, 496, 107)}));
}

// Positions beyond the inner area or at 0 give inverted rectangles, which
// the panes get unchanged and show with zero width or height.
TEST_F(LayoutTest, LimitedAndUnlimitedPositions) {
  struct Case {
    const char* name;
    TkvsStyle style;
    int panes;
    TkvsOrientation orientation;
    TPoint position;
    bool ver1;  // set after the position, so that it is not clamped
    Rects given;
  };
  const Case cases[] = {
      {"side by side beyond the inner width", kvsWin31, 2, kvsVert, {150, 30}, false,
       {Rect(0, 0, 100, 80), Rect(156, 0, 100, 80)}},
      {"side by side beyond the inner width, v1", kvsWin31, 2, kvsVert, {150, 30}, true,
       {Rect(0, 0, 150, 80), Rect(156, 0, 100, 80)}},
      {"stacked beyond the inner height", kvsWin95, 2, kvsHorz, {47, 90}, false,
       {Rect(2, 2, 98, 76), Rect(2, 96, 98, 78)}},
      {"at 0 inside a frame", kvsWin95, 2, kvsVert, {0, 30}, false,
       {Rect(2, 2, 0, 78), Rect(6, 2, 98, 78)}},
      {"three panes limited where the table says", kvsWin31, 3, kvsVert, {150, 100}, false,
       {Rect(0, 0, 100, 80), Rect(156, 0, 100, 80), Rect(156, 106, 100, 80)}},
      {"four panes use the positions unlimited", kvsWin31, 4, kvsVert, {150, 100}, false,
       {Rect(0, 0, 150, 100), Rect(156, 0, 100, 100), Rect(156, 106, 100, 80),
        Rect(0, 106, 150, 80)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = Split(c.style, c.panes, c.orientation);
    s->SetPosition(c.position);
    if (c.ver1) {
      s->SetOptions({kvsVer1Compat});
      s->Realign();
    }
    EXPECT_EQ(Bounds(s), AsShown(c.given));
    delete s;
  }
}

TEST_F(LayoutTest, BarWidthZeroLeavesNoGap) {
  auto* s = Split(kvsWin31, 2);
  s->SetBarWidth(0);
  EXPECT_EQ(Bounds(s), (Rects{Rect(0, 0, 47, 80), Rect(47, 0, 100, 80)}));
}

// Panes beyond the fourth keep their bounds; with seven or more visible
// panes no pane moves at all.
TEST_F(LayoutTest, FiveSixAndSevenPanes) {
  const Rects four = {Rect(0, 0, 47, 30), Rect(53, 0, 100, 30), Rect(53, 36, 100, 80),
                      Rect(0, 36, 47, 80)};
  for (int n : {5, 6, 7}) {
    SCOPED_TRACE(std::to_string(n) + " panes");
    auto* s = Split(kvsWin31, n);
    Rects before;
    for (int i = 0; i < n; ++i) {
      s->Panes(i)->SetBounds(i, i, 10, 10);
      before.push_back(s->Panes(i)->BoundsRect());
    }
    s->Realign();
    Rects expected = before;
    if (n < 7) std::copy(four.begin(), four.end(), expected.begin());
    EXPECT_EQ(Bounds(s), expected);
    delete s;
  }
}

// The other child controls are arranged by their own Align within the area
// inside the frame, with or without panes.
TEST_F(LayoutTest, OtherChildrenAlignInsideTheFrame) {
  for (int panes : {0, 2}) {
    SCOPED_TRACE(std::to_string(panes) + " panes");
    auto* s = Split(kvsWin95, panes);
    auto* box = new TScrollBox(form);
    box->SetParent(s);
    box->SetHeight(10);
    box->SetAlign(alTop);
    EXPECT_EQ(box->BoundsRect(), Rect(2, 2, 98, 12));
    box->SetAlign(alClient);
    EXPECT_EQ(box->BoundsRect(), Rect(2, 2, 98, 78));
    if (panes) {
      EXPECT_EQ(s->Panes(1)->BoundsRect(), Rect(53, 2, 98, 78));
    }
    delete s;
  }
}

// Run time with kvsHideInvisible: hidden panes take no place and keep their
// bounds; in the designer every pane takes its place.
TEST_F(LayoutTest, HiddenPanes) {
  auto* s = Split(kvsWin31, 3);
  s->SetOptions({kvsHideInvisible});
  TkvScrollPane* hidden = s->Panes(1);
  const TRect kept = hidden->BoundsRect();
  hidden->Hide();
  EXPECT_EQ(Bounds(s), (Rects{Rect(0, 0, 47, 80), kept, Rect(53, 0, 100, 80)}));
  s->Panes(0)->Hide();
  EXPECT_EQ(s->Panes(2)->BoundsRect(), Rect(0, 0, 100, 80));

  s->SetDesigning(true);
  s->Realign();
  EXPECT_EQ(Bounds(s), (Rects{Rect(0, 0, 47, 80), Rect(53, 0, 100, 30), Rect(53, 36, 100, 80)}));
}

TEST_F(LayoutTest, NothingIsPlacedBeforeTheWindowExists) {
  auto* s = new TruVezuz(form);
  auto* p = new TkvScrollPane(form);
  p->SetParent(s);
  p->SetBounds(3, 3, 10, 10);
  s->AddPane(p);
  s->Realign();
  EXPECT_EQ(p->BoundsRect(), Rect(3, 3, 13, 13));
  // Once shown, the split lays out its panes.
  s->SetParent(form);
  EXPECT_EQ(p->BoundsRect(), Rect(2, 2, 98, 98));
}

// Bar widths and positions at the ends of the 32-bit range.
TEST_F(LayoutTest, ExtremeValuesLayOut) {
  struct Case {
    int32_t barWidth;
    TPoint position;
    bool ver1;
  };
  const Case cases[] = {
      {6, {INT32_MAX, INT32_MAX}, false},
      {6, {INT32_MAX, INT32_MAX}, true},
      {INT32_MAX, {50, 50}, false},
      {INT32_MAX, {INT32_MAX, 0}, false},
  };
  for (const Case& c : cases) {
    for (int panes : {2, 3, 4}) {
      SCOPED_TRACE(std::to_string(c.barWidth) + ", " + std::to_string(panes) + " panes");
      auto* s = Split(kvsWin95, panes);
      s->SetBarWidth(c.barWidth);
      s->SetPosition(c.position);
      if (c.ver1) {
        s->SetOptions({kvsVer1Compat});
        s->Realign();
      }
      // The first pane starts at the frame whatever the values.
      EXPECT_EQ(s->Panes(0)->Left(), 2);
      EXPECT_EQ(s->Panes(0)->Top(), 2);
      for (int i = 0; i < panes; ++i) {
        EXPECT_GE(s->Panes(i)->Width(), 0);
        EXPECT_GE(s->Panes(i)->Height(), 0);
      }
      os::ProcessMessages();
      delete s;
    }
  }
}

// A pane rectangle wider than 32 bits is limited, not overflowed.
TEST_F(LayoutTest, LowestBarWidthLaysOut) {
  for (int panes : {2, 3, 4}) {
    SCOPED_TRACE(std::to_string(panes) + " panes");
    auto* s = Split(kvsWin95, panes);
    s->SetBarWidth(INT32_MIN);  // the second pane begins near INT32_MIN
    EXPECT_EQ(s->Panes(0)->Left(), 2);
    for (int i = 0; i < panes; ++i) EXPECT_GE(s->Panes(i)->Width(), 0);
    os::ProcessMessages();
    delete s;
  }
}
