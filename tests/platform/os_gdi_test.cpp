// The screen and GDI: device contexts and their clipping, drawing
// primitives, background erasing, window moves and PNG output. Outcomes are
// read from the framebuffer.
#include "os_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>

using namespace ostest;

namespace {

constexpr COLORREF kDesktop = RGB(0x00, 0x80, 0x80);
constexpr COLORREF kFace = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kGray = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kNavy = RGB(0, 0, 0x80);

HBRUSH SysBrush(int index) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(index + 1)); }

class OsGdi : public OsTest {
 protected:
  void SetUp() override {
    OsTest::SetUp();
    Register("Face", 0, nullptr, SysBrush(COLOR_BTNFACE));
    Register("White", 0, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Floods a DC's whole reach with a colour.
  static void Flood(HDC dc, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    const TRect all = Rect(-5000, -5000, 5000, 5000);
    FillRect(dc, &all, b);
    DeleteObject(b);
  }
  // The screen pixels along a row as one string, one letter per colour.
  static std::string Row(int y, int x0, int x1) {
    std::string out;
    for (int x = x0; x < x1; ++x) {
      const COLORREF c = os::ScreenPixel(x, y);
      out += c == kBlack   ? 'k'
             : c == kWhite ? 'w'
             : c == kFace  ? 'f'
             : c == kGray  ? 'g'
             : c == kDesktop ? 'd'
             : c == kRed   ? 'r'
             : c == kNavy  ? 'n'
                           : '?';
    }
    return out;
  }
  static std::string Runs(std::initializer_list<std::pair<char, int>> runs) {
    std::string out;
    for (auto [c, n] : runs) out.append(static_cast<size_t>(n), c);
    return out;
  }
};

TEST_F(OsGdi, TheScreenStartsAsDesktopAndItsSizeIsFixedOnceWindowsExist) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(os::ScreenPixel(0, 0), kDesktop);
  EXPECT_EQ(os::ScreenPixel(1023, 767), kDesktop);
  EXPECT_EQ(os::ScreenPixel(1024, 0), CLR_INVALID);
  EXPECT_EQ(os::ScreenPixel(-1, 0), CLR_INVALID);

  Top(0, 0, 10, 10);
  EXPECT_FALSE(os::SetScreenSize(640, 480));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  os::ResetWindowSystem();
  EXPECT_FALSE(os::SetScreenSize(0, 480));
  ASSERT_TRUE(os::SetScreenSize(640, 480));
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
  EXPECT_EQ(os::ScreenPixel(639, 479), kDesktop);
  EXPECT_EQ(os::ScreenPixel(640, 0), CLR_INVALID);
  ASSERT_TRUE(os::SetScreenSize(1024, 768));
}

TEST_F(OsGdi, SystemColoursAreTheClassicScheme) {
  const std::pair<int, COLORREF> cases[] = {
      {COLOR_BTNFACE, kFace},          {COLOR_BTNSHADOW, RGB(0x80, 0x80, 0x80)},
      {COLOR_BTNHIGHLIGHT, kWhite},    {COLOR_3DDKSHADOW, kBlack},
      {COLOR_BACKGROUND, kDesktop},    {COLOR_HIGHLIGHT, RGB(0, 0, 0x80)},
      {COLOR_INFOBK, RGB(0xFF, 0xFF, 0xE1)}, {COLOR_WINDOW, kWhite},
  };
  for (auto [index, color] : cases) {
    EXPECT_EQ(GetSysColor(index), color) << index;
    HDC screen = GetDC(nullptr);
    const TRect r = Rect(0, 0, 1, 1);
    FillRect(screen, &r, GetSysColorBrush(index));
    EXPECT_EQ(os::ScreenPixel(0, 0), color) << index;
    ReleaseDC(nullptr, screen);
  }
}

TEST_F(OsGdi, TheMessageLoopErasesWithClassBrushesAndRepaintsTheDesktop) {
  HWND top = Top(10, 10, 100, 50, WS_POPUP | WS_VISIBLE, "Face");
  Child(top, 20, 10, 30, 20, WS_CHILD | WS_VISIBLE, "White");
  os::ProcessMessages();
  EXPECT_EQ(Row(20, 8, 34), "ddffffffffffffffffffffwwww");
  EXPECT_EQ(Row(62, 8, 12), "dddd");

  DestroyWindow(top);
  EXPECT_EQ(os::ScreenPixel(40, 30), kWhite);  // not yet repainted
  os::ProcessMessages();
  EXPECT_EQ(os::ScreenPixel(40, 30), kDesktop);
}

TEST_F(OsGdi, ClientDcsDrawOnlyOnTheVisiblePartOfTheWindow) {
  // A parent (clipping its children) with a child that sticks out, a sibling
  // above the child, a grandchild and a top-level window above them all.
  HWND top = Top(0, 0, 100, 40, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, "Face");
  HWND child = Child(top, 10, 10, 100, 20, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, "Face");
  Child(top, 30, 10, 10, 20, WS_CHILD | WS_VISIBLE, "Face");    // the sibling, above
  Child(child, 40, 0, 10, 20, WS_CHILD | WS_VISIBLE, "Face");  // the grandchild
  Top(70, 0, 10, 40, WS_POPUP | WS_VISIBLE, "Face");
  os::ProcessMessages();

  HDC dc = GetDC(child);
  Flood(dc, kBlack);
  ReleaseDC(child, dc);
  // Drawn: the child's client area inside its parent, minus the sibling
  // above it, its own child and the top-level window above.
  EXPECT_EQ(Row(15, 0, 104), Runs({{'f', 10}, {'k', 20}, {'f', 10}, {'k', 10}, {'f', 10}, {'k', 10},
                                   {'f', 10}, {'k', 20}, {'d', 4}}));
}

TEST_F(OsGdi, WindowDcsStartAtTheOuterCornerAndScreenDcsReachEverything) {
  HWND w = Top(10, 10, 20, 20, WS_POPUP | WS_VISIBLE | WS_BORDER, "Face");
  os::ProcessMessages();
  HDC wdc = GetWindowDC(w);
  SetPixel(wdc, 0, 0, kRed);
  EXPECT_EQ(os::ScreenPixel(10, 10), kRed);
  EXPECT_EQ(SetPixel(wdc, 20, 0, kRed), CLR_INVALID);  // outside the window
  ReleaseDC(w, wdc);

  HDC cdc = GetDC(w);
  SetPixel(cdc, 0, 0, kRed);
  EXPECT_EQ(os::ScreenPixel(11, 11), kRed);  // inside the border
  EXPECT_EQ(GetPixel(cdc, 0, 0), kRed);
  EXPECT_EQ(GetPixel(cdc, -1, 0), CLR_INVALID);
  ReleaseDC(w, cdc);

  HDC screen = GetDC(nullptr);
  EXPECT_EQ(SetPixel(screen, 15, 15, kBlack), kBlack);  // over the window: the screen DC is not clipped
  EXPECT_EQ(os::ScreenPixel(15, 15), kBlack);
  ReleaseDC(nullptr, screen);
}

TEST_F(OsGdi, PaintDcsAreClippedToTheUpdateRegion) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP | WS_VISIBLE, "Face");
  os::ProcessMessages();
  hook = [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    Flood(dc, kBlack);
    EndPaint(h, &ps);
    return 0;
  };
  const TRect r = Rect(10, 0, 12, 50);
  InvalidateRect(w, &r, FALSE);
  os::ProcessMessages();
  EXPECT_EQ(Row(5, 8, 14), "ffkkff");
}

TEST_F(OsGdi, LinesRectanglesAndPixels) {
  HDC dc = GetDC(nullptr);
  Flood(dc, kWhite);
  MoveToEx(dc, 2, 1, nullptr);
  LineTo(dc, 7, 1);  // the end point is not drawn
  EXPECT_EQ(Row(1, 0, 9), "wwkkkkkww");
  MoveToEx(dc, 0, 3, nullptr);
  LineTo(dc, 4, 7);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(os::ScreenPixel(i, 3 + i), i < 4 ? kBlack : kWhite) << i;
  TPoint pos;
  MoveToEx(dc, 0, 0, &pos);
  EXPECT_EQ(pos, Point(4, 7));

  Flood(dc, kWhite);
  SelectObject(dc, GetStockObject(GRAY_BRUSH));
  Rectangle(dc, 1, 1, 6, 4);
  EXPECT_EQ(Row(1, 0, 7), "wkkkkkw");
  EXPECT_EQ(Row(2, 0, 7), "wkgggkw");
  EXPECT_EQ(Row(3, 0, 7), "wkkkkkw");

  HPEN red = CreatePen(PS_SOLID, 2, kRed);
  HGDIOBJ oldPen = SelectObject(dc, red);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, 10, 0, 16, 6);
  EXPECT_EQ(Row(2, 9, 17), "wrrkkrrw");
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 20, 0, 24, 3);  // without a pen one pixel smaller
  EXPECT_EQ(Row(1, 19, 25), "wkkkww");
  EXPECT_EQ(os::ScreenPixel(20, 2), kWhite);
  SelectObject(dc, oldPen);
  DeleteObject(red);
  ReleaseDC(nullptr, dc);
}

TEST_F(OsGdi, RasterOperations) {
  HDC dc = GetDC(nullptr);
  Flood(dc, kWhite);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  struct Case {
    DWORD rop;
    const char* expected;
  };
  const Case cases[] = {{PATCOPY, "wkkw"}, {DSTINVERT, "wwww"}, {BLACKNESS, "wkkw"}, {WHITENESS, "wwww"},
                        {PATINVERT, "wwww"}};  // black pattern: xor changes nothing
  for (const Case& c : cases) {
    PatBlt(dc, 1, 0, 2, 1, c.rop);
    EXPECT_EQ(Row(0, 0, 4), c.expected) << std::hex << c.rop;
  }
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, SRCCOPY));  // needs a source

  // A copy of an area onto an overlapping place reads the source first.
  Flood(dc, kWhite);
  SetPixel(dc, 0, 5, kBlack);
  SetPixel(dc, 1, 5, kRed);
  EXPECT_TRUE(BitBlt(dc, 1, 5, 3, 1, dc, 0, 5, SRCCOPY));
  EXPECT_EQ(Row(5, 0, 5), "kkrww");
  EXPECT_TRUE(BitBlt(dc, 0, 5, 2, 1, nullptr, 0, 0, DSTINVERT));  // no source needed
  EXPECT_EQ(os::ScreenPixel(0, 5), kWhite);
  EXPECT_EQ(os::ScreenPixel(1, 5), kWhite);
  EXPECT_FALSE(BitBlt(dc, 0, 5, 2, 1, nullptr, 0, 0, SRCCOPY));

  InvertRect(dc, &static_cast<const TRect&>(Rect(0, 6, 2, 7)));
  EXPECT_EQ(Row(6, 0, 3), "kkw");
  ReleaseDC(nullptr, dc);
}

TEST_F(OsGdi, ClipRegionsAndViewportOrigin) {
  HDC dc = GetDC(nullptr);
  Flood(dc, kWhite);
  SetViewportOrgEx(dc, 10, 0, nullptr);
  IntersectClipRect(dc, 0, 0, 6, 1);   // logical: screen 10..16
  ExcludeClipRect(dc, 2, 0, 3, 1);     // screen 12
  TRect box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, Rect(0, 0, 6, 1));
  Flood(dc, kBlack);
  EXPECT_EQ(Row(0, 9, 17), "wkkwkkkw");

  HRGN rgn = CreateRectRgn(0, 0, 2, 2);  // device coordinates: the viewport does not apply
  EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
  DeleteObject(rgn);  // the DC keeps its own copy
  Flood(dc, kRed);
  EXPECT_EQ(Row(1, 0, 3), "rrw");
  SelectClipRgn(dc, nullptr);
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, Rect(-10, 0, 1014, 768));
  ReleaseDC(nullptr, dc);
}

TEST_F(OsGdi, ObjectsOutliveNothingTheyShouldNot) {
  HDC dc = GetDC(nullptr);
  HBRUSH red = CreateSolidBrush(kRed);
  EXPECT_EQ(SelectObject(dc, red), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_FALSE(DeleteObject(red));
  PatBlt(dc, 0, 0, 1, 1, PATCOPY);  // still paints with what was selected
  EXPECT_EQ(os::ScreenPixel(0, 0), kRed);
  EXPECT_EQ(SelectObject(dc, red), nullptr);
  EXPECT_EQ(FillRect(dc, &static_cast<const TRect&>(Rect(0, 0, 1, 1)), red), 0);

  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock objects stay
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), red);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);  // a released DC
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, PATCOPY));
}

TEST_F(OsGdi, MovingAWindowCarriesItsPixelsAndExposesWhatItLeft) {
  HWND w = Top(10, 10, 20, 10, WS_POPUP | WS_VISIBLE, "Face");
  os::ProcessMessages();
  HDC dc = GetDC(w);
  SetPixel(dc, 0, 0, kRed);
  ReleaseDC(w, dc);
  msgLog.clear();

  SetWindowPos(w, nullptr, 15, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(os::ScreenPixel(15, 12), kRed);  // copied at once
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 0, 0));
  os::ProcessMessages();
  EXPECT_TRUE(Messages(w, {WM_PAINT}).empty());
  EXPECT_EQ(os::ScreenPixel(15, 12), kRed);
  EXPECT_EQ(os::ScreenPixel(10, 10), kDesktop);  // the uncovered strip was repainted

  // Without copying, the window is painted anew.
  SetWindowPos(w, nullptr, 20, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 20, 10));
  os::ProcessMessages();
  EXPECT_EQ(os::ScreenPixel(20, 12), kFace);

  // Moving partly off the screen and back: the part that was off is repainted.
  SetWindowPos(w, nullptr, -10, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  os::ProcessMessages();
  SetWindowPos(w, nullptr, 20, 12, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 10, 10));
}

// A window cut in two by one stacked above it, so that each row of what is
// carried holds two pieces: moving along a row and up must still read every
// pixel before overwriting it.
TEST_F(OsGdi, MovingAWindowCutByAnotherCarriesEveryVisiblePixel) {
  HWND w = Top(10, 20, 30, 10, WS_POPUP | WS_VISIBLE, "White");
  Top(20, 20, 4, 10, WS_POPUP | WS_VISIBLE, "Face");  // over columns 10..13 of w
  os::ProcessMessages();
  HDC dc = GetDC(w);
  for (int x : {1, 2, 6, 7, 17, 18, 27, 28}) SetPixel(dc, x, 3, kRed);
  ReleaseDC(w, dc);
  auto redAt = [&](int left, int top) {
    std::string row;
    for (int x : {1, 2, 6, 7, 17, 18, 27, 28}) row += os::ScreenPixel(left + x, top + 3) == kRed ? 'r' : '.';
    return row;
  };
  SetWindowPos(w, nullptr, 7, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // left
  EXPECT_EQ(redAt(7, 20), "rrrrrrrr");
  SetWindowPos(w, nullptr, 9, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // right
  EXPECT_EQ(redAt(9, 20), "rrrrrrrr");
  SetWindowPos(w, nullptr, 9, 18, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // up
  EXPECT_EQ(redAt(9, 18), "rrrrrrrr");
  SetWindowPos(w, nullptr, 9, 21, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // down
  EXPECT_EQ(redAt(9, 21), "rrrrrrrr");
}

TEST_F(OsGdi, TheDefaultProcedurePaintsFramesAndRepaintsThemAfterSizing) {
  HWND top = Top(0, 0, 100, 40, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, "Face");
  HWND child = Child(top, 10, 10, 30, 20, WS_CHILD | WS_VISIBLE | WS_BORDER, "White", WS_EX_CLIENTEDGE);
  HWND dialog = Top(0, 100, 60, 40, WS_POPUP | WS_VISIBLE | WS_CAPTION, "White");
  os::ProcessMessages();
  // border (black), then the sunken edge: shadow, dark shadow ... light, highlight
  EXPECT_EQ(Row(20, 9, 14), "fkgkw");
  EXPECT_EQ(Row(20, 35, 41), "wwfwkf");
  EXPECT_EQ(Row(10, 9, 12), "fkk");
  // raised dialog frame (light, highlight, face) around a caption
  EXPECT_EQ(Row(110, 0, 5), "fwfnn");
  EXPECT_EQ(Row(130, 0, 5), "fwfww");
  (void)dialog;

  SetWindowPos(child, nullptr, 0, 0, 40, 20, SWP_NOMOVE | SWP_NOZORDER);
  os::ProcessMessages();
  EXPECT_EQ(Row(20, 35, 51), "wwwwwwwwwwwwfwkf");
}

TEST_F(OsGdi, SaveScreenPngWritesTheScreen) {
  const std::string path = testing::TempDir() + "os_gdi_screen.png";
  ASSERT_TRUE(os::SaveScreenPng(path));
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 33u);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
  auto be32 = [&](size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
  };
  EXPECT_EQ(be32(16), 1024u);  // IHDR width and height
  EXPECT_EQ(be32(20), 768u);
  std::remove(path.c_str());
  EXPECT_FALSE(os::SaveScreenPng("/nonexistent-dir/x.png"));
}

}  // namespace
