// The canvas: its font, pen and brush reach the DC when drawing needs them
// and again after they change; its drawing, text and pixels land on the
// screen; Frame3D draws its rings by the ring-by-ring rule.
#include <vcl/ExtCtrls.h>
#include <vcl/Graphics.h>

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

class GfxCanvas : public GfxTest {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    canvas = std::make_unique<TCanvas>();
    canvas->SetHandle(screen);
  }
  void TearDown() override {
    canvas.reset();
    GfxTest::TearDown();
  }
  // One letter per pixel of a row: w white, g grey, k black, r red, ? other.
  static std::string Row(int y, int x0, int x1) {
    std::string out;
    for (int x = x0; x < x1; ++x) {
      const COLORREF c = os::ScreenPixel(x, y);
      out += c == kWhite ? 'w' : c == kGray ? 'g' : c == kBlack ? 'k' : c == kRed ? 'r' : '?';
    }
    return out;
  }
  static std::string Column(int x, int y0, int y1) {
    std::string out;
    for (int y = y0; y < y1; ++y) out += Row(y, x, x + 1);
    return out;
  }
  std::unique_ptr<TCanvas> canvas;
};

TEST_F(GfxCanvas, FontHandlesFollowTheFontsValues) {
  TFont font;
  const HFONT first = font.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Handle(), first);
  font.SetColor(clRed);  // not part of the font
  EXPECT_EQ(font.Handle(), first);

  HDC dc = GetDC(nullptr);
  auto extent = [&](TFont& f) {
    SelectObject(dc, f.Handle());
    return Extent(dc, "Sample text");
  };
  const TSize normal = extent(font);
  font.SetHeight(-20);
  EXPECT_GT(extent(font).cy, normal.cy);
  font.SetHeight(-11);
  font.SetStyle({fsBold});
  EXPECT_GT(extent(font).cx, normal.cx);
  font.SetStyle({});
  font.SetName("Courier New");
  SelectObject(dc, font.Handle());
  EXPECT_EQ(Extent(dc, "iiii").cx, Extent(dc, "WWWW").cx);
  font.SetName("MS Sans Serif");
  font.SetSize(8);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(extent(font), normal);
  ReleaseDC(nullptr, dc);
}

TEST_F(GfxCanvas, TheCanvasMeasuresWithItsCurrentFont) {
  const int small = canvas->TextWidth("Sample");
  const int smallHeight = canvas->TextHeight("Sample");
  EXPECT_EQ(canvas->TextExtent("Sample"), (TSize{small, smallHeight}));
  // A change while the font is selected reaches the DC on the next use.
  canvas->Font()->SetHeight(-24);
  EXPECT_GT(canvas->TextWidth("Sample"), small);
  EXPECT_GT(canvas->TextHeight("Sample"), smallHeight);
  canvas->Font()->SetHeight(-11);
  EXPECT_EQ(canvas->TextWidth("Sample"), small);
}

TEST_F(GfxCanvas, TextUsesTheFontColourOnTheBrushUnlessTheBrushIsClear) {
  canvas->Font()->SetColor(clRed);
  canvas->Brush()->SetColor(clYellow);
  canvas->TextOut(10, 10, "Text");
  const TSize size = canvas->TextExtent("Text");
  const TRect cell = Bounds(10, 10, size.cx, size.cy);
  // The cell is filled; glyphs may reach a pixel past it.
  EXPECT_EQ(Count(cell, kWhite), 0);
  TRect reach = cell;
  InflateRect(reach, 2, 0);
  TRect ink = Ink(Rect(0, 0, 200, 100));
  EXPECT_TRUE(IntersectRect(ink, ink, reach) && Ink(Rect(0, 0, 200, 100)) == ink);
  EXPECT_GT(Count(cell, kRed), 0);
  EXPECT_GT(Count(cell, kYellow), 0);
  EXPECT_EQ(canvas->PenPos(), Point(10 + size.cx, 10));

  Clear();
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(10, 10, "Text");
  EXPECT_EQ(Count(cell, kYellow), 0);
  EXPECT_GT(Count(cell, kRed), 0);
  EXPECT_GT(Count(cell, kWhite), 0);
  // A system colour is looked up in the scheme.
  Clear();
  canvas->Font()->SetColor(clBtnShadow);
  canvas->TextOut(10, 10, "Text");
  EXPECT_GT(Count(cell, kGray), 0);
}

TEST_F(GfxCanvas, TextRectFillsItsRectangleAndClipsTheText) {
  canvas->Brush()->SetColor(clYellow);
  const TRect box = Rect(20, 20, 50, 40);
  canvas->TextRect(box, 22, 22, "WWWWWWWWWWWW");
  EXPECT_EQ(Ink(Rect(0, 0, 300, 100)), box);
  EXPECT_GT(Count(box, kBlack), 0);
  canvas->Brush()->SetStyle(bsClear);
  Clear();
  canvas->TextRect(box, 22, 22, "WWWWWWWWWWWW");
  const TRect ink = Ink(Rect(0, 0, 300, 100));
  EXPECT_EQ(Count(box, kYellow), 0);
  EXPECT_LE(ink.Right, box.Right);
  EXPECT_GE(ink.Left, box.Left);
}

TEST_F(GfxCanvas, ShapesAndPixelsUseThePenAndBrushColours) {
  canvas->Brush()->SetColor(clBtnShadow);
  canvas->FillRect(Rect(0, 0, 4, 2));
  EXPECT_EQ(Row(0, 0, 5), "ggggw");
  EXPECT_EQ(Row(2, 0, 5), "wwwww");
  canvas->Brush()->SetColor(clRed);
  canvas->FrameRect(Rect(0, 3, 4, 6));
  EXPECT_EQ(Row(3, 0, 5), "rrrrw");
  EXPECT_EQ(Row(4, 0, 5), "rwwrw");

  canvas->Pen()->SetColor(clWindowFrame);
  canvas->Brush()->SetColor(clWhite);
  canvas->Rectangle(10, 0, 14, 3);
  EXPECT_EQ(Row(1, 10, 15), "kwwkw");
  canvas->MoveTo(20, 0);
  canvas->LineTo(24, 0);
  EXPECT_EQ(Row(0, 20, 25), "kkkkw");
  EXPECT_EQ(canvas->PenPos(), Point(24, 0));
  canvas->SetPenPos(Point(3, 4));
  EXPECT_EQ(canvas->PenPos(), Point(3, 4));

  canvas->SetPixels(30, 0, clBtnFace);
  EXPECT_EQ(os::ScreenPixel(30, 0), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(canvas->Pixels(30, 0), static_cast<TColor>(0xC0C0C0));
  IntersectClipRect(screen, 0, 0, 10, 10);
  EXPECT_EQ(static_cast<COLORREF>(canvas->Pixels(30, 0)), CLR_INVALID);
}

TEST_F(GfxCanvas, PolylineLeavesOutItsLastPointAndThePenPosition) {
  canvas->MoveTo(50, 50);
  canvas->Pen()->SetColor(clRed);
  canvas->Polyline({Point(0, 0), Point(3, 0), Point(3, 3)});
  EXPECT_EQ(Row(0, 0, 5), "rrrrw");
  EXPECT_EQ(Column(3, 0, 4), "rrrw");
  EXPECT_EQ(canvas->PenPos(), Point(50, 50));
}

TEST_F(GfxCanvas, AHandleIsNeededToDrawAndGivingItUpRestoresStockObjects) {
  TCanvas bare;
  EXPECT_THROW(bare.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  EXPECT_THROW(bare.TextWidth("a"), EInvalidOperation);

  HDC dc = GetDC(nullptr);
  {
    TCanvas c;
    c.SetHandle(dc);
    c.Font()->SetHeight(-30);
    EXPECT_EQ(c.Handle(), dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c.Font()->Handle());
    c.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    c.SetHandle(dc);
    c.TextOut(0, 0, "x");  // selects the font again
  }
  // The canvas and its font are gone; the DC draws on with a stock font.
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(Metrics(dc).tmHeight - Metrics(dc).tmInternalLeading, 11);
  EXPECT_TRUE(TextOut(dc, 0, 0, "x", 1));
  ReleaseDC(nullptr, dc);
}

TEST_F(GfxCanvas, ChangesToTheCanvasAreAnnounced) {
  int changing = 0;
  int changed = 0;
  canvas->OnChanging = [&](TObject*) { ++changing; };
  canvas->OnChange = [&](TObject*) { ++changed; };
  canvas->FillRect(Rect(0, 0, 1, 1));
  canvas->TextOut(0, 0, "a");
  canvas->LineTo(5, 5);
  EXPECT_EQ(changing, 3);
  EXPECT_EQ(changed, 3);
  canvas->TextWidth("a");
  EXPECT_EQ(changed, 3) << "measuring changes nothing";
}

// ---------------------------------------------------------------------------
// Frame3D

TEST_F(GfxCanvas, Frame3DDrawsTopLeftAndBottomRightEdges) {
  TRect r = Rect(0, 0, 10, 10);
  Frame3D(canvas.get(), r, clRed, clBtnShadow, 1);
  EXPECT_EQ(r, Rect(1, 1, 9, 9));
  EXPECT_EQ(Row(0, 0, 11), "rrrrrrrrrgw");
  EXPECT_EQ(Row(9, 0, 11), "ggggggggggw");
  EXPECT_EQ(Column(0, 0, 11), "rrrrrrrrrgw");
  EXPECT_EQ(Column(9, 0, 11), "ggggggggggw");
  EXPECT_EQ(Row(5, 0, 11), "rwwwwwwwwgw");
}

TEST_F(GfxCanvas, Frame3DRingsNestInward) {
  TRect r = Rect(2, 2, 10, 8);
  Frame3D(canvas.get(), r, clRed, clBlack, 2);
  EXPECT_EQ(r, Rect(4, 4, 8, 6));
  EXPECT_EQ(Row(1, 0, 12), "wwwwwwwwwwww");
  EXPECT_EQ(Row(2, 0, 12), "wwrrrrrrrkww");
  EXPECT_EQ(Row(3, 0, 12), "wwrrrrrrkkww");
  EXPECT_EQ(Row(4, 0, 12), "wwrrwwwwkkww");
  EXPECT_EQ(Row(5, 0, 12), "wwrrwwwwkkww");
  EXPECT_EQ(Row(6, 0, 12), "wwrkkkkkkkww");
  EXPECT_EQ(Row(7, 0, 12), "wwkkkkkkkkww");
  EXPECT_EQ(Row(8, 0, 12), "wwwwwwwwwwww");
}

TEST_F(GfxCanvas, Frame3DWiderThanTheRectangleStaysInsideIt) {
  const struct {
    TRect rect;
    int width;
    TRect result;
  } cases[] = {
      {Rect(10, 10, 14, 14), 5, Rect(15, 15, 9, 9)},
      {Rect(10, 10, 12, 20), 3, Rect(13, 13, 9, 17)},
      {Rect(10, 10, 14, 14), 1000000000, Rect(1000000010, 1000000010, -999999986, -999999986)},
      {Rect(10, 10, 14, 14), 0, Rect(10, 10, 14, 14)},
      {Rect(10, 10, 14, 14), -3, Rect(10, 10, 14, 14)},
  };
  for (const auto& c : cases) {
    Clear();
    TRect r = c.rect;
    Frame3D(canvas.get(), r, clRed, clBlack, c.width);
    EXPECT_EQ(r, c.result) << c.width;
    const TRect ink = Ink(Rect(0, 0, 40, 40));
    if (c.width > 0) {
      EXPECT_EQ(ink, c.rect) << c.width;
    } else {
      EXPECT_EQ(ink, TRect{}) << c.width;
    }
  }
  // Every pixel of a fully covered 4 x 4 frame is one of the two colours.
  Clear();
  TRect r = Rect(10, 10, 14, 14);
  Frame3D(canvas.get(), r, clRed, clBlack, 2);
  EXPECT_EQ(Count(Rect(10, 10, 14, 14), kWhite), 0);
}

}  // namespace
