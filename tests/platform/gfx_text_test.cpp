// Fonts and text: how logical fonts resolve (sizes, faces, styles), where
// TextOut and DrawText put their ink, and how they measure and clip.
#include <climits>

#include "gfx_fixture.h"

using namespace gfxtest;

namespace {

class GfxText : public GfxTest {
 protected:
  // Selects a new font into the screen DC for the rest of the test.
  void Use(HFONT font) {
    ASSERT_NE(font, nullptr);
    SelectObject(screen, font);
    fonts.push_back(font);
  }
  void TearDown() override {
    SelectObject(screen, GetStockObject(SYSTEM_FONT));
    for (HFONT f : fonts) DeleteObject(f);
    GfxTest::TearDown();
  }
  // The ink of DrawText into rect, on a fresh screen.
  TRect DrawInk(const std::string& s, TRect rect, UINT format) {
    Clear();
    DrawText(screen, s.data(), static_cast<int>(s.size()), &rect, format);
    return Ink(Rect(0, 0, 400, 300));
  }
  std::vector<HFONT> fonts;
};

// Is every pixel of the area the background, the text colour, or (with
// anti-aliasing) a mix of both, on a grey scale from white to black?
bool OnlyGreys(const std::vector<COLORREF>& pixels) {
  for (COLORREF c : pixels)
    if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) return false;
  return true;
}

TEST_F(GfxText, TheDefaultFontIsAnElevenPixelSans) {
  for (int stock : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HDC dc = GetDC(nullptr);
    SelectObject(dc, GetStockObject(stock));
    const TEXTMETRIC tm = Metrics(dc);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11) << stock;
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_NE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "variable pitch";
    EXPECT_LT(Extent(dc, "iiii").cx, Extent(dc, "WWWW").cx);
    ReleaseDC(nullptr, dc);
  }
  // A new DC starts with it.
  EXPECT_EQ(GetCurrentObject(screen, OBJ_FONT), GetStockObject(SYSTEM_FONT));
}

TEST_F(GfxText, NegativeHeightsAreCharacterHeightsPositiveOnesCellHeights) {
  for (int h : {6, 8, 11, 13, 16, 24, 40}) {
    Use(MakeFont("Arial", -h));
    const TEXTMETRIC em = Metrics(screen);
    EXPECT_EQ(em.tmHeight - em.tmInternalLeading, h) << h;
    Use(MakeFont("Arial", h));
    const TEXTMETRIC cell = Metrics(screen);
    EXPECT_LE(cell.tmHeight, h) << h;
    EXPECT_GE(cell.tmHeight, h - 1) << h;
    EXPECT_EQ(Extent(screen, "Ag").cy, cell.tmHeight);
  }
  // Extremes stay in range instead of overflowing or allocating without end.
  for (LONG h : {LONG{INT_MIN}, LONG{INT_MAX}, LONG{-100000}}) {
    Use(MakeFont("Arial", h));
    const TEXTMETRIC tm = Metrics(screen);
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_LE(tm.tmHeight, 1000);
    Out(screen, 0, 0, "x");
  }
}

TEST_F(GfxText, ManySizesInTurnMeasureAndDrawAlike) {
  // More sizes than the glyph cache keeps: each comes back the same.
  std::vector<TSize> first;
  for (int round = 0; round < 2; ++round)
    for (int h = 5; h < 45; ++h) {
      Use(MakeFont(h % 2 ? "Arial" : "Courier New", -h, h % 3 ? FW_NORMAL : FW_BOLD));
      Out(screen, 0, 0, "Sized");
      if (round == 0)
        first.push_back(Extent(screen, "Sized"));
      else
        EXPECT_EQ(Extent(screen, "Sized"), first[static_cast<size_t>(h - 5)]) << h;
    }
}

TEST_F(GfxText, FaceNamesMapOntoSansSerifAndMonospacedFaces) {
  // A face is known by the picture of a sample drawn in it.
  auto look = [&](HFONT f) {
    Use(f);
    Clear();
    Out(screen, 0, 0, "Illuminating quiet wharves");
    return Snapshot(Rect(0, 0, 250, 20));
  };
  const auto sans = look(MakeFont("MS Sans Serif", -13));
  const auto serif = look(MakeFont("Times New Roman", -13));
  const auto mono = look(MakeFont("Courier New", -13));
  EXPECT_NE(sans, serif);
  EXPECT_NE(sans, mono);
  EXPECT_NE(serif, mono);
  const struct {
    const char* face;
    BYTE pitchAndFamily;
    const std::vector<COLORREF>& expected;
  } cases[] = {
      {"Arial", 0, sans},
      {"arial", 0, sans},  // names compare without case
      {"Small Fonts", 0, sans},
      {"System", 0, sans},
      {"MS Serif", 0, serif},
      {"Courier", 0, mono},
      {"Arial", FIXED_PITCH | FF_MODERN, sans},  // a known name wins
      {"No Such Face", FIXED_PITCH, mono},
      {"No Such Face", FF_MODERN, mono},
      {"No Such Face", FF_ROMAN | VARIABLE_PITCH, serif},
      {"No Such Face", FF_SWISS, sans},
      {"", 0, sans},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(look(MakeFont(c.face, -13, FW_NORMAL, false, false, false, c.pitchAndFamily)) == c.expected)
        << c.face << " " << int{c.pitchAndFamily};

  Use(MakeFont("Courier New", -13));
  const TEXTMETRIC tm = Metrics(screen);
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "fixed pitch";
  EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth);
  EXPECT_EQ(Extent(screen, "iiii").cx, Extent(screen, "WWWW").cx);
}

TEST_F(GfxText, AFaceNameFillingTheWholeLogFontIsReadNoFurther) {
  LOGFONT lf;
  lf.lfHeight = -13;
  lf.lfPitchAndFamily = FIXED_PITCH;
  std::memset(lf.lfFaceName, 'A', sizeof lf.lfFaceName);  // no terminating null
  Use(CreateFontIndirect(&lf));
  EXPECT_EQ(Metrics(screen).tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "an unknown name: the pitch decides";
  // A longer name handed to CreateFont is cut, not overrun.
  const std::string longName(100, 'B');
  Use(MakeFont(longName.c_str(), -13));
  EXPECT_GT(Metrics(screen).tmHeight, 0);
}

TEST_F(GfxText, StylesSelectBoldAndItalicFacesAndDrawRules) {
  Use(MakeFont("Arial", -13));
  const int normal = Extent(screen, "Bold text").cx;
  Use(MakeFont("Arial", -13, FW_BOLD));
  EXPECT_EQ(Metrics(screen).tmWeight, FW_BOLD);
  EXPECT_GT(Extent(screen, "Bold text").cx, normal);
  Use(MakeFont("Arial", -13, FW_NORMAL, true));
  EXPECT_NE(Metrics(screen).tmItalic, 0);

  // The underline and the strike-out are solid rows across the whole text:
  // one below the baseline, one above it.
  SetBkMode(screen, TRANSPARENT);
  for (bool under : {true, false}) {
    Clear();
    Use(MakeFont("Arial", -13, FW_NORMAL, false, under, !under));
    const TEXTMETRIC tm = Metrics(screen);
    const int cx = Extent(screen, "a b").cx;
    Out(screen, 10, 10, "a b");
    int ruleRow = -1;
    for (int y = 10; y < 10 + tm.tmHeight; ++y)
      if (RowIs(y, 10, 10 + cx, kBlack)) ruleRow = y;
    ASSERT_NE(ruleRow, -1) << under;
    if (under) {
      EXPECT_GE(ruleRow, 10 + tm.tmAscent);
    } else {
      EXPECT_LT(ruleRow, 10 + tm.tmAscent);
      EXPECT_GT(ruleRow, 10 + tm.tmInternalLeading);
    }
  }
}

TEST_F(GfxText, TextOutBlendsGlyphsIntoTheTextCell) {
  const std::string s = "Hello, World";
  const TSize size = Extent(screen, s);
  const TRect cell = Bounds(20, 30, size.cx, size.cy);

  SetBkMode(screen, TRANSPARENT);
  Out(screen, 20, 30, s);
  const TRect ink = Ink(Rect(0, 0, 200, 100));
  TRect inside;
  EXPECT_TRUE(IntersectRect(inside, ink, cell));
  EXPECT_EQ(inside, ink) << "no ink outside the cell";
  EXPECT_GT(ink.Width(), size.cx * 3 / 4);
  EXPECT_GT(Count(cell, kBlack), 10) << "solid stems";
  EXPECT_TRUE(OnlyGreys(Snapshot(cell))) << "anti-aliased edges mix text and background";

  // The text colour, and OPAQUE mode filling the cell with the background.
  Clear(kGray);
  SetTextColor(screen, kRed);
  SetBkColor(screen, kYellow);
  SetBkMode(screen, OPAQUE);
  Out(screen, 20, 30, s);
  EXPECT_EQ(Ink(Rect(0, 0, 200, 100), kGray), cell);
  EXPECT_EQ(Count(cell, kGray), 0);
  EXPECT_GT(Count(cell, kRed), 10);
  EXPECT_GT(Count(cell, kYellow), cell.Width() * cell.Height() / 2);
}

TEST_F(GfxText, TextIsClippedLikeAnyDrawing) {
  SetBkMode(screen, TRANSPARENT);
  const std::string s = "Clipped text runs on";
  const int cx = Extent(screen, s).cx;
  IntersectClipRect(screen, 0, 0, 10 + cx / 2, 100);
  Out(screen, 10, 10, s);
  const TRect ink = Ink(Rect(0, 0, 300, 100));
  EXPECT_FALSE(IsRectEmpty(ink));
  EXPECT_EQ(ink.Right, 10 + cx / 2);

  // A window's DC keeps text inside the window, away from a child above it.
  SelectClipRgn(screen, nullptr);
  Clear();
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "Plain";
  RegisterClass(&wc);
  HWND top = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 60, 30,
                            nullptr, nullptr, nullptr, nullptr);
  CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 20, 0, 10, 30, top, nullptr, nullptr, nullptr);
  Clear();
  HDC dc = GetDC(top);
  SetBkMode(dc, TRANSPARENT);
  Out(dc, -5, 5, "WWWWWWWWWWWWWWWWWWWW");
  ReleaseDC(top, dc);
  const TRect drawn = Ink(Rect(0, 0, 300, 200));
  EXPECT_EQ(drawn.Left, 100);
  EXPECT_EQ(drawn.Right, 160);
  EXPECT_EQ(Ink(Rect(120, 100, 130, 130)), TRect{}) << "the child";
}

TEST_F(GfxText, AlignmentPlacesTheTextAroundTheReferencePoint) {
  SetBkMode(screen, TRANSPARENT);
  const std::string s = "Hig";
  const TSize size = Extent(screen, s);
  const TEXTMETRIC tm = Metrics(screen);
  Out(screen, 100, 50, s);
  const TRect plain = Ink(Rect(0, 0, 300, 200));
  const struct {
    UINT align;
    int dx, dy;
  } cases[] = {
      {TA_RIGHT | TA_TOP, -size.cx, 0},
      {TA_CENTER | TA_TOP, -(size.cx / 2), 0},
      {TA_LEFT | TA_BOTTOM, 0, -size.cy},
      {TA_LEFT | TA_BASELINE, 0, -tm.tmAscent},
      {TA_CENTER | TA_BASELINE, -(size.cx / 2), -tm.tmAscent},
  };
  for (const auto& c : cases) {
    Clear();
    SetTextAlign(screen, c.align);
    Out(screen, 100, 50, s);
    TRect expected = plain;
    OffsetRect(expected, c.dx, c.dy);
    EXPECT_EQ(Ink(Rect(0, 0, 300, 200)), expected) << c.align;
  }

  // TA_UPDATECP: drawn at the current position, which moves past the text.
  Clear();
  SetTextAlign(screen, TA_LEFT | TA_TOP);
  Out(screen, 10, 10, "abcdef");
  const std::vector<COLORREF> whole = Snapshot(Rect(0, 0, 100, 40));
  Clear();
  SetTextAlign(screen, TA_UPDATECP);
  MoveToEx(screen, 10, 10, nullptr);
  Out(screen, 999, 999, "abc");
  Out(screen, 999, 999, "def");
  EXPECT_EQ(Snapshot(Rect(0, 0, 100, 40)), whole);
  TPoint pos;
  MoveToEx(screen, 0, 0, &pos);
  EXPECT_EQ(pos, Point(10 + Extent(screen, "abcdef").cx, 10));
  EXPECT_EQ(GetTextAlign(screen), TA_UPDATECP);
}

TEST_F(GfxText, BytesAreCodePage1252) {
  SetBkMode(screen, TRANSPARENT);
  auto ink = [&](const std::string& s) {
    Clear();
    Out(screen, 10, 10, s);
    return Snapshot(Rect(0, 0, 40, 40));
  };
  const auto notdef = ink("\x81");  // undefined in the code page
  EXPECT_NE(ink("\x80"), notdef) << "euro sign";
  EXPECT_NE(ink("\x80"), ink("\x93")) << "left double quote";
  EXPECT_NE(ink("\x93"), notdef);
  EXPECT_NE(ink("\xE9"), notdef) << "Latin-1 e acute";
  EXPECT_NE(ink("\xE9"), ink("e"));
  EXPECT_EQ(Extent(screen, "\xE9").cx, Extent(screen, "e").cx);
  Clear();
  Out(screen, 10, 10, "\xC9");  // E acute reaches above a plain E
  const int accentTop = Ink(Rect(0, 0, 40, 40)).Top;
  Clear();
  Out(screen, 10, 10, "E");
  EXPECT_LT(accentTop, Ink(Rect(0, 0, 40, 40)).Top);
}

TEST_F(GfxText, ExtentsAddUpAndBadArgumentsFail) {
  const TSize ab = Extent(screen, "ab");
  const TSize cd = Extent(screen, "cd");
  EXPECT_EQ(Extent(screen, "abcd").cx, ab.cx + cd.cx);
  EXPECT_EQ(Extent(screen, "").cx, 0);
  EXPECT_EQ(Extent(screen, "").cy, Metrics(screen).tmHeight);
  TSize size;
  EXPECT_FALSE(GetTextExtentPoint32(screen, "ab", -1, &size));
  EXPECT_FALSE(GetTextExtentPoint32(screen, nullptr, 2, &size));
  EXPECT_FALSE(TextOut(screen, 0, 0, "ab", -1));
  EXPECT_FALSE(TextOut(screen, 0, 0, nullptr, 3));
  EXPECT_FALSE(ExtTextOut(screen, 0, 0, 0, nullptr, "ab", 0xFFFFFFFFu, nullptr));
  EXPECT_FALSE(TextOut(nullptr, 0, 0, "ab", 2));
  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  TRect r = Rect(0, 0, 10, 10);
  EXPECT_EQ(DrawText(nullptr, "ab", -1, &r, 0), 0);
  EXPECT_EQ(DrawText(screen, "ab", -1, nullptr, 0), 0);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST_F(GfxText, ADeletedFontKeepsDrawingInTheDcThatHoldsIt) {
  HFONT big = MakeFont("Arial", -30);
  SelectObject(screen, big);
  const int wide = Extent(screen, "abc").cx;
  EXPECT_TRUE(DeleteObject(big));
  EXPECT_EQ(Extent(screen, "abc").cx, wide);
  EXPECT_EQ(SelectObject(screen, big), nullptr) << "the handle itself is gone";
}

TEST_F(GfxText, ExtTextOutFillsAndClipsToItsRectangle) {
  SetBkMode(screen, TRANSPARENT);
  SetBkColor(screen, kYellow);
  const TRect box = Rect(10, 10, 40, 30);
  ASSERT_TRUE(ExtTextOut(screen, 12, 12, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWWWWWW", 10, nullptr));
  EXPECT_EQ(Ink(Rect(0, 0, 200, 100)), box);
  EXPECT_GT(Count(box, kYellow), 0);
  EXPECT_GT(Count(box, kBlack), 0);

  // Given advances place each character.
  Clear();
  const int dx[] = {20, 20, 20};
  ExtTextOut(screen, 10, 10, 0, nullptr, "iii", 3, dx);
  const TRect spread = Ink(Rect(0, 0, 200, 100));
  EXPECT_GT(spread.Width(), 40);
}

// ---------------------------------------------------------------------------
// DrawText

TEST_F(GfxText, DrawTextCalcRectMeasuresLines) {
  const int h = Metrics(screen).tmHeight;
  auto calc = [&](const char* s, int width, UINT format) {
    TRect r = Bounds(5, 7, width, 0);
    const int height = DrawText(screen, s, -1, &r, format | DT_CALCRECT);
    EXPECT_EQ(height, r.Height()) << s;
    EXPECT_EQ(r.Left, 5);
    EXPECT_EQ(r.Top, 7);
    return r;
  };
  const int ab = Extent(screen, "aaa bbb").cx;
  const int abc = Extent(screen, "aaa bbb ccc").cx;
  const int a3 = Extent(screen, "aaa").cx;
  const struct {
    const char* text;
    int width;
    UINT format;
    int lines;
    int right;  // expected width of the result
  } cases[] = {
      {"aaa bbb ccc", 1, DT_SINGLELINE, 1, abc},
      {"aaa bbb ccc", abc, DT_WORDBREAK, 1, abc},
      {"aaa bbb ccc", ab, DT_WORDBREAK, 2, ab},
      {"aaa bbb ccc", ab - 1, DT_WORDBREAK, 2, Extent(screen, "bbb ccc").cx},
      {"aaa bbb ccc", a3, DT_WORDBREAK, 3, std::max({a3, Extent(screen, "bbb").cx, Extent(screen, "ccc").cx})},
      {"aaa    bbb", 1, DT_WORDBREAK, 2, Extent(screen, "aaa").cx},  // blanks at a break vanish
      {"abcdefghijkl", 5, DT_WORDBREAK, 1, Extent(screen, "abcdefghijkl").cx},
      {"a\r\nbb\ncc\rd", 100, 0, 4, Extent(screen, "bb").cx},
      {"a\n\nb", 100, 0, 3, Extent(screen, "a").cx},
      {"a\n", 100, 0, 1, Extent(screen, "a").cx},
      {"a\nbb", 100, DT_SINGLELINE, 1, Extent(screen, "a\nbb").cx},
      {"aaa bbb\nccc", ab, DT_WORDBREAK, 2, ab},
      {"", 100, 0, 0, 0},
      {"", 100, DT_SINGLELINE, 0, 0},
      {"&File", 100, 0, 1, Extent(screen, "File").cx},
      {"&File", 100, DT_NOPREFIX, 1, Extent(screen, "&File").cx},
      {"Fish && Chips", 100, 0, 1, Extent(screen, "Fish & Chips").cx},
  };
  for (const auto& c : cases) {
    const TRect r = calc(c.text, c.width, c.format);
    EXPECT_EQ(r.Height(), c.lines * h) << c.text << " " << c.width;
    EXPECT_EQ(r.Width(), c.right) << c.text << " " << c.width;
  }
  // An explicit count ends the text before its null.
  TRect r = Bounds(0, 0, 100, 0);
  DrawText(screen, "abcdef", 3, &r, DT_CALCRECT);
  EXPECT_EQ(r.Width(), Extent(screen, "abc").cx);
  // The external leading joins the lines when asked for.
  r = Bounds(0, 0, 100, 0);
  DrawText(screen, "a\nb", -1, &r, DT_CALCRECT | DT_EXTERNALLEADING);
  EXPECT_EQ(r.Height(), 2 * (h + Metrics(screen).tmExternalLeading));
}

TEST_F(GfxText, DrawTextExpandsTabsToStopsOfEightAverageCharacters) {
  const TEXTMETRIC tm = Metrics(screen);
  const int stop = 8 * tm.tmAveCharWidth;
  const struct {
    const char* text;
    UINT format;
    int width;
  } cases[] = {
      {"a\tb", DT_EXPANDTABS, stop + Extent(screen, "b").cx},
      {"\t\tb", DT_EXPANDTABS, 2 * stop + Extent(screen, "b").cx},
      {"a\tb", DT_EXPANDTABS | DT_TABSTOP | (4 << 8), 4 * tm.tmAveCharWidth + Extent(screen, "b").cx},
      {"a\tb", 0, Extent(screen, "a\tb").cx},
  };
  for (const auto& c : cases) {
    TRect r = Bounds(0, 0, 300, 0);
    DrawText(screen, c.text, -1, &r, c.format | DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c.width) << c.format;
  }
  // An expanded tab draws nothing of its own.
  SetBkMode(screen, TRANSPARENT);
  TRect r = Bounds(10, 10, 300, 40);
  DrawText(screen, "\tb", -1, &r, DT_EXPANDTABS);
  EXPECT_GE(Ink(Rect(0, 0, 400, 100)).Left, 10 + stop - 1);
}

TEST_F(GfxText, DrawTextAlignsLinesInTheRectangle) {
  SetBkMode(screen, TRANSPARENT);
  const std::string s = "Hig";
  const TSize size = Extent(screen, s);
  const TRect rect = Rect(50, 40, 250, 140);
  const TRect plain = DrawInk(s, rect, DT_SINGLELINE);
  EXPECT_FALSE(IsRectEmpty(plain));
  const struct {
    UINT format;
    int dx, dy;
  } cases[] = {
      {DT_CENTER, (rect.Width() - size.cx) / 2, 0},
      {DT_RIGHT, rect.Width() - size.cx, 0},
      {DT_VCENTER, 0, (rect.Height() - size.cy) / 2},
      {DT_BOTTOM, 0, rect.Height() - size.cy},
      {DT_RIGHT | DT_BOTTOM, rect.Width() - size.cx, rect.Height() - size.cy},
  };
  for (const auto& c : cases) {
    TRect expected = plain;
    OffsetRect(expected, c.dx, c.dy);
    EXPECT_EQ(DrawInk(s, rect, c.format | DT_SINGLELINE), expected) << c.format;
  }
  // Vertical placement needs a single line; each of several lines is
  // aligned on its own.
  EXPECT_EQ(DrawInk(s, rect, DT_VCENTER).Top, plain.Top);
  const TRect two = DrawInk("Hig\nHig", rect, DT_RIGHT);
  EXPECT_EQ(two.Right, plain.Right + rect.Width() - size.cx);
  EXPECT_EQ(two.Height(), plain.Height() + size.cy);

  // The answer: the text's height, or where its bottom lies below the top.
  TRect r = rect;
  EXPECT_EQ(DrawText(screen, "a\nb", -1, &r, 0), 2 * size.cy);
  EXPECT_EQ(DrawText(screen, "a", -1, &r, DT_SINGLELINE | DT_BOTTOM), rect.Height());
  EXPECT_EQ(DrawText(screen, "a", -1, &r, DT_SINGLELINE | DT_VCENTER),
            (rect.Height() - size.cy) / 2 + size.cy);
}

TEST_F(GfxText, DrawTextClipsToItsRectangleUnlessToldNot) {
  SetBkMode(screen, TRANSPARENT);
  const TRect rect = Rect(20, 20, 60, 60);
  const TRect clipped = DrawInk("WWWWWWWWWWWWWWWW", rect, DT_SINGLELINE | DT_VCENTER);
  EXPECT_EQ(clipped.Left, 20);
  EXPECT_EQ(clipped.Right, 60);
  const TRect free = DrawInk("WWWWWWWWWWWWWWWW", rect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  EXPECT_GT(free.Right, 100);
  // A rectangle too low for the lines cuts the lines off.
  EXPECT_LE(DrawInk("a\nb\nc\nd\ne\nf", rect, 0).Bottom, 60);
}

TEST_F(GfxText, DrawTextUnderlinesThePrefixedCharacter) {
  SetBkMode(screen, TRANSPARENT);
  const TEXTMETRIC tm = Metrics(screen);
  const int mWidth = Extent(screen, "M").cx;
  const int fileWidth = Extent(screen, "File").cx;
  auto underlinedRows = [&](const char* s, UINT format, int x0, int x1) {
    Clear();
    TRect r = Rect(10, 10, 200, 50);
    DrawText(screen, s, -1, &r, format | DT_SINGLELINE);
    int rows = 0;
    for (int y = 10 + tm.tmAscent; y < 10 + tm.tmHeight; ++y) rows += RowIs(y, x0, x1, kBlack);
    return rows;
  };
  // "&M": a rule under M (nothing of M itself sits below the baseline).
  EXPECT_GE(underlinedRows("&MFile", 0, 10, 10 + mWidth), 1);
  EXPECT_EQ(underlinedRows("M&File", 0, 10, 10 + mWidth), 0);
  EXPECT_EQ(underlinedRows("&MFile", DT_NOPREFIX, 10, 10 + mWidth), 0);
  // The rule covers only the prefixed character.
  EXPECT_EQ(underlinedRows("&MFile", 0, 10, 10 + mWidth + fileWidth), 0);
  // "&&" draws one '&' and underlines nothing.
  Clear();
  TRect r = Rect(10, 10, 200, 50);
  DrawText(screen, "a&&b", -1, &r, DT_SINGLELINE);
  const auto doubled = Snapshot(Rect(0, 0, 100, 50));
  Clear();
  r = Rect(10, 10, 200, 50);
  DrawText(screen, "a&b", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(Snapshot(Rect(0, 0, 100, 50)), doubled);
}

TEST_F(GfxText, DrawTextInOpaqueModeFillsEachLineCell) {
  Clear(kGray);
  SetBkMode(screen, OPAQUE);
  SetBkColor(screen, kYellow);
  TRect r = Rect(10, 10, 300, 100);
  DrawText(screen, "ab\nabcd", -1, &r, 0);
  const int h = Metrics(screen).tmHeight;
  EXPECT_EQ(Ink(Rect(0, 0, 300, 120), kGray), Rect(10, 10, 10 + Extent(screen, "abcd").cx, 10 + 2 * h));
  EXPECT_EQ(os::ScreenPixel(10 + Extent(screen, "ab").cx + 1, 11), kGray) << "beyond the short line";
}

}  // namespace
