// Update regions: invalidation, exposure by moving, sizing, hiding and
// destroying, and BeginPaint.
#include "os_fixture.h"

using namespace ostest;

namespace {

using OsPainting = OsTest;

TEST_F(OsPainting, InvalidationIsClippedAndReachesChildrenUnlessClipChildren) {
  for (DWORD clip : {DWORD{0}, WS_CLIPCHILDREN}) {
    SCOPED_TRACE(clip);
    HWND top = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | clip);
    HWND child = Child(top, 60, 60, 80, 80);  // half outside its parent
    HWND far = Child(top, 0, 0, 10, 10);
    os::ProcessMessages();

    const TRect r = Rect(50, 50, 200, 200);
    InvalidateRect(top, &r, TRUE);
    EXPECT_EQ(UpdateBox(top), Rect(50, 50, 100, 100));
    EXPECT_EQ(UpdateBox(far), Rect(0, 0, 0, 0));
    EXPECT_EQ(UpdateBox(child), clip ? Rect(0, 0, 0, 0) : Rect(0, 0, 40, 40));

    ValidateRect(top, nullptr);
    ValidateRect(child, nullptr);
    RedrawWindow(top, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    EXPECT_EQ(UpdateBox(child), Rect(0, 0, 40, 40));
    DestroyWindow(top);
  }
}

TEST_F(OsPainting, HiddenWindowsCollectNothingAndShowingPaintsAll) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP | WS_CLIPCHILDREN);
  HWND child = Child(top, 10, 10, 20, 20);
  InvalidateRect(top, nullptr, TRUE);
  EXPECT_EQ(UpdateBox(top), Rect(0, 0, 0, 0));
  ShowWindow(top, SW_SHOW);
  EXPECT_EQ(UpdateBox(top), Rect(0, 0, 100, 100));
  EXPECT_EQ(UpdateBox(child), Rect(0, 0, 20, 20));  // also under WS_CLIPCHILDREN
}

TEST_F(OsPainting, SizingInvalidatesTheNewStripsOrAllWithRedrawStyles) {
  struct Case {
    const char* cls;
    int cx, cy;
    TRect expected;
  };
  const Case cases[] = {
      {"Test", 80, 50, Rect(50, 0, 80, 50)},     // wider: the right strip
      {"Test", 50, 70, Rect(0, 50, 50, 70)},     // taller: the bottom strip
      {"Test", 30, 30, Rect(0, 0, 0, 0)},        // smaller: nothing new
      {"Redraw", 80, 50, Rect(0, 0, 80, 50)},    // CS_HREDRAW: all
      {"Redraw", 50, 30, Rect(0, 0, 50, 30)},    // CS_VREDRAW: all
  };
  HWND parent = Top(0, 0, 200, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cls << " " << c.cx << "x" << c.cy);
    HWND w = Child(parent, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE, c.cls);
    os::ProcessMessages();
    SetWindowPos(w, nullptr, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(UpdateBox(w), c.expected);
    DestroyWindow(w);
    os::ProcessMessages();
  }
}

TEST_F(OsPainting, ARedrawClassRepaintsItselfWholeButCarriesItsChildren) {
  HWND parent = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND w = Child(parent, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, "Redraw");
  HWND inner = Child(w, 5, 5, 10, 10);
  os::ProcessMessages();
  HDC dc = GetDC(inner);
  SetPixel(dc, 2, 3, RGB(255, 0, 0));
  ReleaseDC(inner, dc);

  SetWindowPos(w, nullptr, 0, 0, 80, 50, SWP_NOMOVE | SWP_NOZORDER);  // wider, in place
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 80, 50));
  EXPECT_EQ(UpdateBox(inner), Rect(0, 0, 0, 0));
  EXPECT_EQ(os::ScreenPixel(7, 8), RGB(255, 0, 0));
  os::ProcessMessages();

  SetWindowPos(w, nullptr, 20, 10, 70, 50, SWP_NOZORDER);  // moved and narrower
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 70, 50));
  EXPECT_EQ(UpdateBox(inner), Rect(0, 0, 0, 0));
  EXPECT_EQ(os::ScreenPixel(27, 18), RGB(255, 0, 0));  // carried along
  os::ProcessMessages();

  // Without WS_CLIPCHILDREN the window's own painting covers the child,
  // which is then repainted too.
  SetWindowLong(w, GWL_STYLE, GetWindowLong(w, GWL_STYLE) & ~WS_CLIPCHILDREN);
  SetWindowPos(w, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(UpdateBox(inner), Rect(0, 0, 10, 10));
}

TEST_F(OsPainting, MovingAndHidingExposeWhatWasBeneath) {
  HWND top = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND below = Child(top, 0, 0, 100, 100);
  HWND w = Child(top, 20, 20, 40, 40, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  os::ProcessMessages();

  SetWindowPos(w, nullptr, 120, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(UpdateBox(top), Rect(20, 20, 60, 60));
  EXPECT_EQ(UpdateBox(below), Rect(20, 20, 60, 60));
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 0, 0));  // its pixels moved along
  os::ProcessMessages();

  SetWindowPos(w, nullptr, 150, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  EXPECT_EQ(UpdateBox(top), Rect(0, 0, 0, 0));

  ShowWindow(w, SW_HIDE);
  EXPECT_EQ(UpdateBox(top), Rect(150, 150, 190, 190));
  os::ProcessMessages();

  // Raising a window over a sibling shows its hidden part; lowering it
  // again gives that part back to the sibling.
  SetWindowPos(below, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  HWND over = Child(top, 80, 80, 40, 40);
  os::ProcessMessages();
  SetWindowLong(below, GWL_STYLE, GetWindowLong(below, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(below, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(UpdateBox(below), Rect(80, 80, 100, 100));
  os::ProcessMessages();
  SetWindowLong(over, GWL_STYLE, GetWindowLong(over, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(below, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(UpdateBox(over), Rect(0, 0, 20, 20));
}

TEST_F(OsPainting, BeginPaintReportsErasesAndValidates) {
  Register("Brushed", 0, nullptr, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
  struct Case {
    const char* cls;
    BOOL erase;
    bool expectErase;
    BOOL expectFErase;
  };
  const Case cases[] = {{"Test", TRUE, true, TRUE},  // nobody erased: the painter must
                        {"Brushed", TRUE, true, FALSE},
                        {"Brushed", FALSE, false, FALSE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    HWND w = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE, c.cls);
    os::ProcessMessages();
    msgLog.clear();
    const TRect r = Rect(10, 20, 30, 40);
    InvalidateRect(w, &r, c.erase);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint, r);
    EXPECT_EQ(ps.fErase, c.expectFErase);
    EXPECT_EQ(Messages(w, {WM_ERASEBKGND}).size(), c.expectErase ? 1u : 0u);
    TRect clip;
    EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
    EXPECT_EQ(clip, r);
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
    EXPECT_TRUE(EndPaint(w, &ps));
    EXPECT_EQ(ReleaseDC(w, dc), 0);  // already released by EndPaint
    DestroyWindow(w);
  }
}

TEST_F(OsPainting, UpdateNowPaintsAtOnceParentsFirst) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(top, 0, 0, 50, 50);
  os::ProcessMessages();
  msgLog.clear();

  InvalidateRect(top, nullptr, FALSE);
  InvalidateRect(child, nullptr, FALSE);
  UpdateWindow(top);
  EXPECT_EQ(Sequence({WM_PAINT}), (std::vector<std::pair<HWND, UINT>>{{top, WM_PAINT}}));
  UpdateWindow(top);  // nothing left to paint: nothing sent
  EXPECT_EQ(Sequence({WM_PAINT}).size(), 1u);

  msgLog.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(Sequence({WM_PAINT}),
            (std::vector<std::pair<HWND, UINT>>{{top, WM_PAINT}, {child, WM_PAINT}}));
  EXPECT_EQ(os::PaintCount(child), 2);
  EXPECT_EQ(os::ProcessMessages(), 0);
}

TEST_F(OsPainting, InvalidateRgnTakesRealRegions) {
  HWND w = Top(0, 0, 100, 100);
  os::ProcessMessages();
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(50, 50, 60, 60);
  CombineRgn(a, a, b, RGN_OR);
  InvalidateRgn(w, a, FALSE);
  EXPECT_EQ(UpdateBox(w), Rect(0, 0, 60, 60));
  const TRect middle = Rect(0, 0, 100, 40);
  ValidateRect(w, &middle);
  EXPECT_EQ(UpdateBox(w), Rect(50, 50, 60, 60));
  DeleteObject(a);
  EXPECT_FALSE(InvalidateRgn(w, a, FALSE));  // a deleted region is no region
  DeleteObject(b);
}

}  // namespace
