// Regions: the banded set operations behind HRGN, update regions and clipping.
#include <gtest/gtest.h>
#include <vcl/Windows.h>

#include <string>
#include <vector>

#include "os/region.h"

namespace {

using os::Region;

// Paints a region into a small character grid, for whole-set comparisons.
std::string Picture(const Region& r, int w = 8, int h = 6) {
  std::string out;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) out += r.Contains(x, y) ? '#' : '.';
    out += '\n';
  }
  return out;
}

TEST(OsRegion, SetOperationsGiveTheRightPixels) {
  const Region a(Rect(0, 0, 4, 4));
  const Region b(Rect(2, 2, 6, 5));
  struct Case {
    Region::Op op;
    const char* expected;
  };
  const Case cases[] = {
      {Region::Op::And, "........\n........\n..##....\n..##....\n........\n........\n"},
      {Region::Op::Or, "####....\n####....\n######..\n######..\n..####..\n........\n"},
      {Region::Op::Xor, "####....\n####....\n##..##..\n##..##..\n..####..\n........\n"},
      {Region::Op::Diff, "####....\n####....\n##......\n##......\n........\n........\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Picture(Region::Combine(a, b, c.op)), c.expected);
}

TEST(OsRegion, EqualSetsCompareEqualWhateverTheirHistory) {
  Region pieces = Region(Rect(0, 0, 2, 4)) | Region(Rect(2, 0, 4, 2)) | Region(Rect(2, 2, 4, 4));
  EXPECT_EQ(pieces, Region(Rect(0, 0, 4, 4)));
  EXPECT_EQ(pieces.Kind(), SIMPLEREGION);
  EXPECT_TRUE((pieces - Region(Rect(-5, -5, 10, 10))).Empty());
  EXPECT_EQ((pieces ^ pieces).Kind(), NULLREGION);
  EXPECT_EQ((pieces - Region(Rect(1, 1, 2, 2))).Kind(), COMPLEXREGION);
  EXPECT_EQ((pieces - Region(Rect(1, 1, 2, 2))).Rects().size(), 4u);
}

TEST(OsRegion, BoxOffsetAndSaturation) {
  Region r = Region(Rect(5, 1, 6, 2)) | Region(Rect(1, 3, 2, 8));
  EXPECT_EQ(r.Box(), Rect(1, 1, 6, 8));
  r.Offset(-1, 2);
  EXPECT_EQ(r.Box(), Rect(0, 3, 5, 10));
  EXPECT_TRUE(r.Contains(4, 3));
  EXPECT_FALSE(r.Contains(4, 4));
  EXPECT_TRUE(Region(Rect(3, 3, 3, 9)).Empty());  // no width
  Region edge(Rect(0, 0, 10, 10));
  edge.Offset(INT32_MAX, 0);  // pushed off the coordinate range: nothing left
  EXPECT_TRUE(edge.Empty());
}

TEST(OsRegion, HandlesCombineAndReportKinds) {
  HRGN a = CreateRectRgn(10, 10, 0, 0);  // corners in any order
  HRGN b = CreateRectRgnIndirect(Rect(5, 5, 20, 20));
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(out, a, b, RGN_AND), SIMPLEREGION);
  TRect box;
  EXPECT_EQ(GetRgnBox(out, &box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(5, 5, 10, 10));
  EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), COMPLEXREGION);  // the destination may be a source
  EXPECT_TRUE(PtInRegion(a, 1, 1));
  EXPECT_FALSE(PtInRegion(a, 7, 7));
  EXPECT_EQ(CombineRgn(out, b, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(OffsetRgn(out, 100, 0));
  EXPECT_TRUE(PtInRegion(out, 105, 5));
  EXPECT_EQ(CombineRgn(out, a, b, 99), RGN_ERROR);
  for (HRGN h : {a, b, out}) EXPECT_TRUE(DeleteObject(h));
  EXPECT_FALSE(DeleteObject(a));
  EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), RGN_ERROR);
  EXPECT_FALSE(PtInRegion(a, 1, 1));
}

// Random regions built from rectangles, checked pixel by pixel against the
// same operations on plain sets; equal sets must also compare equal, since
// the shortcuts and the general sweep must agree on the representation.
TEST(OsRegion, OperationsAgreeWithPlainSetsOnRandomShapes) {
  constexpr int kW = 12;
  constexpr int kH = 10;
  uint32_t state = 12345;
  auto next = [&](int n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % static_cast<uint32_t>(n));
  };
  auto randomRects = [&](int count) {
    std::vector<TRect> rects;
    for (int i = 0; i < count; ++i) {
      const int l = next(kW), t = next(kH);
      rects.push_back(Rect(l, t, l + next(kW - l + 1), t + next(kH - t + 1)));
    }
    return rects;
  };
  auto inAny = [](const std::vector<TRect>& rects, int x, int y) {
    for (const TRect& r : rects)
      if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return true;
    return false;
  };
  for (int round = 0; round < 300; ++round) {
    const std::vector<TRect> ra = randomRects(1 + next(4));
    const std::vector<TRect> rb = randomRects(1 + next(4));
    Region a;
    for (const TRect& r : ra) a |= Region(r);
    const Region b = Region::Union(rb);
    Region bByOr;
    for (const TRect& r : rb) bByOr |= Region(r);
    ASSERT_EQ(b, bByOr);
    for (Region::Op op : {Region::Op::And, Region::Op::Or, Region::Op::Xor, Region::Op::Diff}) {
      const Region c = Region::Combine(a, b, op);
      Region rebuilt;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const bool inA = inAny(ra, x, y);
          const bool inB = inAny(rb, x, y);
          const bool want = op == Region::Op::And ? inA && inB
                            : op == Region::Op::Or ? inA || inB
                            : op == Region::Op::Xor ? inA != inB
                                                    : inA && !inB;
          ASSERT_EQ(c.Contains(x, y), want) << "round " << round << " op " << static_cast<int>(op);
          if (want) rebuilt |= Region(Rect(x, y, x + 1, y + 1));
        }
      ASSERT_EQ(c, rebuilt) << "round " << round;
      for (const TRect& r : ra) ASSERT_EQ(c.Intersects(r), !(c & Region(r)).Empty());
    }
  }
}

TEST(OsRects, ArithmeticSaturatesAndEmptyRectsAreNeutral) {
  TRect r = Rect(0, 0, 10, 10);
  OffsetRect(r, INT32_MAX, 0);
  EXPECT_EQ(r.Right, INT32_MAX);
  TRect u;
  EXPECT_TRUE(UnionRect(u, Rect(5, 5, 5, 9), Rect(1, 1, 2, 2)));
  EXPECT_EQ(u, Rect(1, 1, 2, 2));
  TRect i{9, 9, 9, 9};
  EXPECT_FALSE(IntersectRect(i, Rect(0, 0, 2, 2), Rect(2, 0, 4, 2)));
  EXPECT_EQ(i, Rect(0, 0, 0, 0));
  EXPECT_TRUE(PtInRect(Rect(0, 0, 2, 2), Point(1, 1)));
  EXPECT_FALSE(PtInRect(Rect(0, 0, 2, 2), Point(2, 1)));
}

}  // namespace
