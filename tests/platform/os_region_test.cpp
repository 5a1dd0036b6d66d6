// Regions: the banded set operations behind HRGN, update regions and clipping.
#include <gtest/gtest.h>
#include <vcl/Windows.h>

#include <string>

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
