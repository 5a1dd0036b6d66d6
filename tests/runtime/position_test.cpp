// The bar position model: positions and percentages derived from each other
// over the usable extent, clamping, what an update requests, the size change
// and storage.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "fixture.h"

using namespace splittest;

namespace {

enum Op { PosX, PosY, PctX, PctY };
struct Step {
  Op op;
  int32_t value;
};

void Apply(TkvCustomSplit* s, const Step& step) {
  switch (step.op) {
    case PosX:
      s->SetPositionX(step.value);
      break;
    case PosY:
      s->SetPositionY(step.value);
      break;
    case PctX:
      s->SetPercentX(static_cast<TPercent>(step.value));
      break;
    case PctY:
      s->SetPercentY(static_cast<TPercent>(step.value));
      break;
  }
}

const TkvsOptions kNone{};

// The result of clamping to 0..extent, the lower bound tested first.
bool ClampedTo(int32_t value, int32_t extent) {
  return value == 0 || value == extent || (0 < value && value < extent);
}
const TkvsOptions kV1{kvsVer1Compat};

}  // namespace

// Positions start at 50 in every case. Win95 has frame 2, Inset and Groove
// 1, Win31 0; the x extent is Width - 2 × frame - BarWidth.
TEST_F(SplitTest, PositionAndPercentTable) {
  struct Case {
    const char* name;
    int32_t width;
    int32_t barWidth;
    TkvsStyle style;
    TkvsOptions options;
    std::vector<Step> steps;
    int32_t positionX;
    int32_t percentX;
  };
  const Case cases[] = {
      // Extent 90.
      {"position leads", 100, 6, kvsWin95, kNone, {{PosX, 45}}, 45, 50},
      {"percent leads", 100, 6, kvsWin95, kNone, {{PctX, 33}}, 29, 33},
      {"negative raised to 0", 100, 6, kvsWin95, kNone, {{PosX, -10}}, 0, 0},
      {"negative raised to 0, v1", 100, 6, kvsWin95, kV1, {{PosX, -10}}, 0, 0},
      {"beyond the extent kept", 100, 6, kvsWin95, kNone, {{PosX, 500}}, 500, 100},
      {"beyond the extent clamped, v1", 100, 6, kvsWin95, kV1, {{PosX, 500}}, 90, 100},
      {"percent clamps the position", 100, 6, kvsWin95, kNone, {{PctX, 200}}, 90, 200},
      {"next position update brings the percent back", 100, 6, kvsWin95, kNone,
       {{PctX, 200}, {PosX, 45}}, 45, 50},
      // Frame widths and bar widths.
      {"frame 0", 100, 6, kvsWin31, kNone, {{PosX, 47}}, 47, 50},
      {"frame 1 inset", 100, 6, kvsInset, kNone, {{PosX, 46}}, 46, 50},
      {"frame 1 groove", 100, 6, kvsGroove, kNone, {{PctX, 50}}, 46, 50},
      {"frame 2 win97", 100, 6, kvsWin97, kNone, {{PctX, 50}}, 45, 50},
      {"bar width 0", 100, 0, kvsWin31, kNone, {{PctX, 33}}, 33, 33},
      {"negative bar width", 100, -3, kvsWin95, kNone, {{PctX, 50}}, 49, 50},
      // Extent 0.
      {"zero extent", 10, 6, kvsWin95, kNone, {{PosX, 30}}, 30, 0},
      {"zero extent, v1", 10, 6, kvsWin95, kV1, {{PosX, 30}}, 0, 0},
      {"zero extent, percent", 10, 6, kvsWin95, kNone, {{PctX, 40}}, 0, 40},
      // Extent -4: the lower bound is tested first.
      {"negative extent, v1, 0", 6, 6, kvsWin95, kV1, {{PosX, 0}}, -4, 100},
      {"negative extent, v1, 20", 6, 6, kvsWin95, kV1, {{PosX, 20}}, -4, 100},
      {"negative extent, v1, -1", 6, 6, kvsWin95, kV1, {{PosX, -1}}, 0, 0},
      {"negative extent", 6, 6, kvsWin95, kNone, {{PosX, 20}}, 20, 0},
      {"negative extent, percent 50", 6, 6, kvsWin95, kNone, {{PctX, 50}}, 0, 50},
      {"negative extent, percent 0", 6, 6, kvsWin95, kNone, {{PctX, 50}, {PctX, 0}}, -4, 0},
      {"negative extent, quotient 0", 6, 6, kvsWin95, kNone, {{PctX, 1}}, -4, 1},
      // Width 0: extent -10.
      {"width 0", 0, 6, kvsWin95, kNone, {{PosX, 20}}, 20, 0},
      {"width 0, v1", 0, 6, kvsWin95, kV1, {{PosX, 20}}, -10, 100},
      {"width 0, percent", 0, 6, kvsWin95, kNone, {{PctX, 30}}, 0, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = NewSplit(c.width, 100);
    s->SetStyle(c.style);
    s->SetBarWidth(c.barWidth);
    s->SetOptions(c.options);
    ASSERT_EQ(s->PositionX(), 50);
    for (const Step& step : c.steps) Apply(s, step);
    EXPECT_EQ(s->PositionX(), c.positionX);
    EXPECT_EQ(s->PercentX(), c.percentX);
    delete s;
  }
}

TEST_F(SplitTest, PositionYFollowsTheSameRules) {
  auto* s = NewSplit(100, 104);  // y extent 94
  s->SetPositionY(60);
  EXPECT_EQ(s->PercentY(), 63);  // 6000 div 94
  s->SetPercentY(33);
  EXPECT_EQ(s->PositionY(), 31);  // 94 × 33 div 100
  s->SetOptions({kvsVer1Compat});
  s->SetPositionY(500);
  EXPECT_EQ(s->PositionY(), 94);
  EXPECT_EQ(s->PercentY(), 100);
  s->SetPositionY(-1);
  EXPECT_EQ(s->PositionY(), 0);
  EXPECT_EQ(s->PercentY(), 0);
}

// A write of one axis runs the whole update, which re-derives the other axis.
TEST_F(SplitTest, WriteOfOneAxisRederivesTheOther) {
  auto* s = NewSplit(100, 104);  // y extent 94
  s->SetPositionY(50);
  EXPECT_EQ(s->PercentY(), 53);
  s->SetPercentX(40);
  EXPECT_EQ(s->PositionX(), 36);
  EXPECT_EQ(s->PositionY(), 49);  // 94 × 53 div 100: the bar moves by one pixel

  // The other way: the bar width is stored without recomputing, and the
  // next position write derives PercentY afresh over the new extent.
  s->SetPercentY(40);
  EXPECT_EQ(s->PositionY(), 37);
  s->SetBarWidth(0);  // y extent 100
  EXPECT_EQ(s->PercentY(), 40);
  s->SetPositionX(45);
  EXPECT_EQ(s->PercentY(), 37);
}

TEST_F(SplitTest, EqualValueWritesDoNothing) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  s->SetPosition(TPoint{45, 45});
  os::ProcessMessages();
  CountResizes(s);
  const int paints = os::PaintCount(s->Handle());
  const std::vector<Step> writes = {
      {PosX, s->PositionX()}, {PosY, s->PositionY()}, {PctX, s->PercentX()}, {PctY, s->PercentY()}};
  for (const Step& w : writes) {
    SCOPED_TRACE(w.op);
    EXPECT_FALSE(Realigns(s, [&] { Apply(s, w); }));
    s->Realign();
  }
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(os::PaintCount(s->Handle()), paints);
}

// Position := the current position is an update all the same.
TEST_F(SplitTest, PositionWriteAlwaysUpdates) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  os::ProcessMessages();
  CountResizes(s);
  const int paints = os::PaintCount(s->Handle());
  EXPECT_TRUE(Realigns(s, [&] { s->SetPosition(s->Position()); }));
  EXPECT_EQ(resizes, 1);
  EXPECT_GT(os::PaintCount(s->Handle()), paints);  // repainted at once
}

// Realign, then an immediate repaint, then OnResize: the handler sees the
// panes in place and the split painted.
TEST_F(SplitTest, EveryUpdateRealignsRepaintsAndFiresOnResize) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  int calls = 0;
  int paints = 0;
  s->OnResize = [&](TObject*) {
    ++calls;
    EXPECT_TRUE(LaidOutForBarWidth(s));
    EXPECT_GT(os::PaintCount(s->Handle()), paints);
  };
  const std::vector<Step> writes = {{PosX, 30}, {PosY, 30}, {PctX, 20}, {PctY, 20}};
  for (const Step& w : writes) {
    SCOPED_TRACE(w.op);
    os::ProcessMessages();
    paints = os::PaintCount(s->Handle());
    const int before = calls;
    EXPECT_TRUE(Realigns(s, [&] { Apply(s, w); }));
    EXPECT_EQ(calls, before + 1);
    EXPECT_GT(os::PaintCount(s->Handle()), paints);
  }
}

TEST_F(SplitTest, SizeChangeKeepsPositionsOrPercentages) {
  struct Case {
    TkvsOptions options;
    int32_t positionX;
    int32_t percentX;
  };
  const Case cases[] = {
      {{}, 45, 23},                  // 4500 div 190
      {{kvsSaveAsPercent}, 95, 50},  // 190 × 50 div 100
      {{kvsVer1Compat}, 45, 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.Bits());
    auto* s = NewSplit();
    auto panes = NewPanes(s, 2);
    s->SetPositionX(45);
    ASSERT_EQ(s->PercentX(), 50);
    s->SetOptions(c.options);
    s->SetWidth(200);
    EXPECT_EQ(s->PositionX(), c.positionX);
    EXPECT_EQ(s->PercentX(), c.percentX);
    EXPECT_EQ(panes[1]->BoundsRect(), Rect(c.positionX + 6, 2, 198, 98));
    delete s;
  }
}

TEST_F(SplitTest, WritesWhileLoadingComputeButRequestNothing) {
  auto* s = NewSplit();
  NewPanes(s, 2);
  os::ProcessMessages();
  CountResizes(s);
  const int paints = os::PaintCount(s->Handle());
  s->SetComponentStateFlag(csLoading, true);
  s->SetBarWidth(10);  // stored only: the panes still show 6
  s->SetPercentX(40);
  EXPECT_EQ(s->PositionX(), 34);  // 86 × 40 div 100
  s->SetPositionY(21);
  EXPECT_EQ(s->PercentY(), 24);  // 2100 div 86
  s->SetPosition(TPoint{20, 20});
  s->SetHeight(120);  // WM_SIZE and WM_WINDOWPOSCHANGED while loading
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(os::PaintCount(s->Handle()), paints);
  s->Loaded();
  EXPECT_TRUE(LaidOutForBarWidth(s));
  EXPECT_EQ(resizes, 0);
}

TEST_F(SplitTest, StorageFollowsSaveAsPercent) {
  auto* s = NewSplit();
  PPropInfo props[] = {GetPropInfo(s, "PositionX"), GetPropInfo(s, "PositionY"),
                       GetPropInfo(s, "PercentX"), GetPropInfo(s, "PercentY")};
  const TkvsOptions positions[] = {{}, {kvsHideInvisible}, {kvsVer1Compat},
                                   {kvsHideInvisible, kvsVer1Compat}};
  const TkvsOptions percents[] = {{kvsSaveAsPercent},
                                  {kvsSaveAsPercent, kvsHideInvisible, kvsVer1Compat}};
  auto check = [&](TkvsOptions options, bool positionsStored) {
    SCOPED_TRACE(options.Bits());
    s->SetOptions(options);
    for (int i = 0; i < 4; ++i) {
      const bool expected = (i < 2) == positionsStored;
      EXPECT_EQ(IsStoredProp(s, props[i]), expected) << props[i]->Name;
      // No default: the stored pair is written whatever its value.
      EXPECT_FALSE(IsDefaultPropValue(s, props[i])) << props[i]->Name;
    }
  };
  for (TkvsOptions o : positions) check(o, true);
  for (TkvsOptions o : percents) check(o, false);
  s->SetPosition(TPoint{0, 0});
  check({}, true);
}

// Positions and bar widths at the ends of the 32-bit range: no overflow, the
// percentages stay within 0..100 and the positions within their bounds.
TEST_F(SplitTest, ExtremeValuesStayWithinBounds) {
  struct Case {
    const char* name;
    int32_t barWidth;
    TkvsOptions options;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"huge position", 6, kNone, {{PosX, INT32_MAX}, {PosY, INT32_MAX - 1}}},
      {"huge position, v1", 6, kV1, {{PosX, INT32_MAX}, {PosY, INT32_MAX - 1}}},
      {"beyond the 32-bit product", 6, kNone, {{PosX, 21474837}, {PosY, 21474836}}},
      {"lowest position", 6, kNone, {{PosX, INT32_MIN}, {PosY, INT32_MIN + 1}}},
      {"lowest position, v1", 6, kV1, {{PosX, INT32_MIN}, {PosY, INT32_MIN}}},
      {"huge bar width", INT32_MAX, kNone, {{PosX, 30}, {PctX, 70}, {PctY, 100}}},
      {"huge bar width, v1", INT32_MAX, kV1, {{PosX, 30}, {PctX, 70}, {PosY, INT32_MAX}}},
      {"lowest bar width", INT32_MIN, kNone, {{PosX, 30}, {PctX, 70}, {PctY, 100}}},
      {"lowest bar width, v1", INT32_MIN, kV1, {{PosX, INT32_MAX}, {PctX, 100}, {PosY, 1}}},
      {"lowest bar width, percent 255", INT32_MIN, kNone, {{PctX, 255}, {PctY, 255}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = NewSplit();
    s->SetBarWidth(c.barWidth);
    s->SetOptions(c.options);
    for (const Step& step : c.steps) {
      Apply(s, step);
      const TPoint extent = s->GetMaxPosition();
      if (step.op == PosX || step.op == PosY) {
        EXPECT_LE(s->PercentX(), 100);
        EXPECT_LE(s->PercentY(), 100);
      }
      if (c.options.Contains(kvsVer1Compat) && (step.op == PosX || step.op == PosY)) {
        EXPECT_TRUE(ClampedTo(s->PositionX(), extent.X)) << s->PositionX();
        EXPECT_TRUE(ClampedTo(s->PositionY(), extent.Y)) << s->PositionY();
      } else if (step.op == PosX || step.op == PosY) {
        EXPECT_GE(s->PositionX(), 0);
        EXPECT_GE(s->PositionY(), 0);
      } else {
        // Derived from a percentage: clamped to the extent.
        const int32_t p = step.op == PctX ? s->PositionX() : s->PositionY();
        const int32_t e = step.op == PctX ? extent.X : extent.Y;
        EXPECT_TRUE(ClampedTo(p, e)) << p << " of " << e;
      }
    }
    os::ProcessMessages();
    delete s;
  }
}

TEST_F(SplitTest, MaxPositionIsTheUsableExtent) {
  auto* s = NewSplit(120, 80);
  EXPECT_EQ(s->GetMaxPosition(), (TPoint{110, 70}));
  s->SetStyle(kvsInset);
  s->SetBarWidth(4);
  EXPECT_EQ(s->GetMaxPosition(), (TPoint{114, 74}));
  s->SetStyle(kvsWin31);
  s->SetBarWidth(200);
  EXPECT_EQ(s->GetMaxPosition(), (TPoint{-80, -120}));
}
