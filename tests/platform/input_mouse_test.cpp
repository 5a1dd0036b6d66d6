// Mouse input along the system's path: hit test, WM_SETCURSOR with the relay
// to the parent, the mouse message in client or screen coordinates, double
// clicks, key state, and the capture.
#include "os_fixture.h"

using namespace ostest;

namespace {

using os::MouseButton;

const std::vector<UINT> kMouse = {WM_NCHITTEST,    WM_SETCURSOR,   WM_MOUSEMOVE,
                                  WM_LBUTTONDOWN,  WM_LBUTTONUP,   WM_LBUTTONDBLCLK,
                                  WM_RBUTTONDOWN,  WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
                                  WM_MBUTTONDOWN,  WM_MBUTTONUP,   WM_NCMOUSEMOVE,
                                  WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_CAPTURECHANGED};

bool IsMouse(UINT m) { return std::count(kMouse.begin(), kMouse.end(), m) > 0; }

std::vector<Logged> MouseLog() {
  std::vector<Logged> out;
  for (const Logged& l : msgLog)
    if (IsMouse(l.msg)) out.push_back(l);
  return out;
}

class InputMouse : public OsTest {
 protected:
  void SetUp() override {
    OsTest::SetUp();
    Register("Dbl", CS_DBLCLKS);
  }
};

TEST_F(InputMouse, MoveHitTestsSetsTheCursorThroughTheParentThenPostsInClientCoordinates) {
  HWND top = Top(100, 50, 200, 200);
  HWND child = Child(top, 10, 20, 100, 100);
  msgLog.clear();
  os::MouseMove(Point(130, 90));

  const std::vector<Logged> log = MouseLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].wnd, child);
  EXPECT_EQ(log[0].msg, WM_NCHITTEST);
  EXPECT_EQ(log[0].lParam, MAKELPARAM(130, 90));
  const LPARAM setCursor = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  EXPECT_EQ(log[1].wnd, child);
  EXPECT_EQ(log[1].msg, WM_SETCURSOR);
  EXPECT_EQ(log[1].wParam, reinterpret_cast<WPARAM>(child));
  EXPECT_EQ(log[1].lParam, setCursor);
  // The child's default procedure relays the message to its parent first,
  // with the child still named as the cursor window.
  EXPECT_EQ(log[2].wnd, top);
  EXPECT_EQ(log[2].msg, WM_SETCURSOR);
  EXPECT_EQ(log[2].wParam, reinterpret_cast<WPARAM>(child));
  EXPECT_EQ(log[2].lParam, setCursor);
  EXPECT_EQ(log[3].wnd, child);
  EXPECT_EQ(log[3].msg, WM_MOUSEMOVE);
  EXPECT_EQ(log[3].wParam, 0u);
  EXPECT_EQ(GET_X_LPARAM(log[3].lParam), 20);
  EXPECT_EQ(GET_Y_LPARAM(log[3].lParam), 20);
  EXPECT_EQ(os::CursorPos(), Point(130, 90));
}

TEST_F(InputMouse, ButtonsReportTheirKeyStateInMessagesAndGetKeyState) {
  HWND w = Top(0, 0, 100, 100);
  os::MouseMove(Point(5, 6));
  os::SetKeyDown(VK_SHIFT, true);
  msgLog.clear();

  os::MouseDown(MouseButton::Left);
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);
  os::MouseDown(MouseButton::Right);
  os::MouseUp(MouseButton::Left);
  os::MouseUp(MouseButton::Right);
  os::SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);

  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Logged& l : MouseLog())
    if (l.wnd == w && l.msg != WM_NCHITTEST && l.msg != WM_SETCURSOR) {
      got.emplace_back(l.msg, l.wParam);
      EXPECT_EQ(l.lParam, MAKELPARAM(5, 6));
    }
  EXPECT_EQ(got, (std::vector<std::pair<UINT, WPARAM>>{
                     {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT},
                     {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON | MK_SHIFT},
                     {WM_LBUTTONUP, MK_RBUTTON | MK_SHIFT},
                     {WM_RBUTTONUP, MK_SHIFT}}));
}

TEST_F(InputMouse, OverTheNonClientAreaMessagesCarryTheHitTestCodeAndTheScreenPoint) {
  HWND w = Top(100, 100, 200, 150, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  TRect client;
  GetClientRect(w, &client);
  TPoint origin{0, 0};
  ClientToScreen(w, &origin);
  const TPoint caption{150, origin.Y - 5};
  msgLog.clear();
  os::MouseMove(caption);
  os::MouseDown(MouseButton::Left);
  os::MouseUp(MouseButton::Left);

  std::vector<Logged> got;
  for (const Logged& l : MouseLog())
    if (l.msg != WM_NCHITTEST) got.push_back(l);
  ASSERT_EQ(got.size(), 6u);
  EXPECT_EQ(got[0].msg, WM_SETCURSOR);
  EXPECT_EQ(got[0].lParam, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_EQ(got[2].lParam, MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN));
  EXPECT_EQ(got[4].lParam, MAKELPARAM(HTCAPTION, WM_LBUTTONUP));
  const UINT expected[3] = {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP};
  for (int i = 0; i < 3; ++i) {
    const Logged& m = got[static_cast<size_t>(2 * i + 1)];
    EXPECT_EQ(m.wnd, w);
    EXPECT_EQ(m.msg, expected[i]);
    EXPECT_EQ(static_cast<LRESULT>(m.wParam), HTCAPTION);
    EXPECT_EQ(m.lParam, MAKELPARAM(static_cast<WORD>(caption.X), static_cast<WORD>(caption.Y)));
  }
}

TEST_F(InputMouse, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
  struct Case {
    const char* what;
    const char* cls;
    DWORD wait;
    int dx;
    bool secondIsRight;
    bool dbl;
  };
  const Case cases[] = {
      {"quick, in place", "Dbl", 100, 0, false, true},
      {"just in time", "Dbl", 499, 0, false, true},
      {"too late", "Dbl", 500, 0, false, false},
      {"within the rectangle", "Dbl", 0, 2, false, true},
      {"outside the rectangle", "Dbl", 0, 3, false, false},
      {"another button", "Dbl", 0, 0, true, false},
      {"class without CS_DBLCLKS", "Test", 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    os::ResetWindowSystem();
    Register("Test", 0);
    Register("Dbl", CS_DBLCLKS);
    HWND w = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE, c.cls);
    os::Click(Point(50, 50));
    os::AdvanceClock(c.wait);
    msgLog.clear();
    const MouseButton second = c.secondIsRight ? MouseButton::Right : MouseButton::Left;
    os::Click(Point(50 + c.dx, 50), second);
    const UINT down = c.secondIsRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    EXPECT_EQ(Messages(w, {down, WM_LBUTTONDBLCLK}),
              std::vector<UINT>{c.dbl ? WM_LBUTTONDBLCLK : down});
  }
}

TEST_F(InputMouse, AThirdClickStartsANewDoubleClick) {
  HWND w = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE, "Dbl");
  for (int i = 0; i < 4; ++i) os::Click(Point(10, 10));
  EXPECT_EQ(Messages(w, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                               WM_LBUTTONDBLCLK}));
}

TEST_F(InputMouse, TransparentWindowsLetThePointThroughAndNoWindowMeansTheArrow) {
  HWND below = Top(0, 0, 100, 100);
  HWND glass = Top(0, 0, 100, 100);
  hook = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == glass && m == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  };
  msgLog.clear();
  os::MouseMove(Point(10, 10));
  EXPECT_EQ(Messages(below, {WM_MOUSEMOVE}).size(), 1u);
  EXPECT_TRUE(Messages(glass, {WM_MOUSEMOVE, WM_SETCURSOR}).empty());

  msgLog.clear();
  SetCursor(nullptr);
  os::MouseMove(Point(500, 500));
  os::MouseDown(MouseButton::Left);
  EXPECT_TRUE(MouseLog().empty());
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
  os::MouseUp(MouseButton::Left);
}

TEST_F(InputMouse, SetCursorPosStaysOnTheScreenAndMovesTheMouse) {
  HWND w = Top(1000, 700, 100, 100);
  msgLog.clear();
  EXPECT_TRUE(SetCursorPos(5000, -20));
  TPoint p;
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p, Point(1023, 0));
  SetCursorPos(2000, 2000);
  os::ProcessMessages();
  const std::vector<Logged> log = MouseLog();
  ASSERT_EQ(Messages(w, {WM_MOUSEMOVE}).size(), 1u);
  EXPECT_EQ(log.back().msg, WM_MOUSEMOVE);
  EXPECT_EQ(log.back().lParam, MAKELPARAM(23, 67));
}

// ---------------------------------------------------------------------------
// The capture

using Capture = InputMouse;

TEST_F(Capture, ChangesOfHolderTellTheLoserWhoTookIt) {
  HWND a = Top(0, 0, 50, 50);
  HWND b = Top(100, 0, 50, 50);
  msgLog.clear();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetCapture(), a);
  EXPECT_EQ(SetCapture(a), a);  // again: no change, no message
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(0x7777)), nullptr);  // not a window
  EXPECT_EQ(GetCapture(), nullptr);

  const std::vector<Logged> log = MouseLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].wnd, a);
  EXPECT_EQ(log[0].lParam, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(log[1].wnd, b);
  EXPECT_EQ(log[1].lParam, 0);
}

TEST_F(Capture, TheHolderGetsEveryMouseMessageInItsClientCoordinatesWithoutHitTestOrCursor) {
  HWND holder = Top(100, 100, 50, 50);
  HWND other = Top(300, 300, 50, 50);
  os::MouseMove(Point(110, 110));
  os::MouseDown(MouseButton::Left);
  SetCapture(holder);
  SetCursor(nullptr);
  msgLog.clear();

  os::MouseMove(Point(310, 310));  // over the other window
  os::MouseMove(Point(20, 5));     // over no window, left of and above the holder
  os::MouseUp(MouseButton::Left);

  EXPECT_TRUE(Messages(other).empty());
  EXPECT_TRUE(Messages(holder, {WM_NCHITTEST, WM_SETCURSOR}).empty());
  EXPECT_EQ(GetCursor(), nullptr);
  std::vector<Logged> got;
  for (const Logged& l : MouseLog()) got.push_back(l);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].msg, WM_MOUSEMOVE);
  EXPECT_EQ(got[0].wParam, MK_LBUTTON);
  EXPECT_EQ(got[0].lParam, MAKELPARAM(210, 210));
  EXPECT_EQ(got[1].msg, WM_MOUSEMOVE);
  EXPECT_EQ(GET_X_LPARAM(got[1].lParam), -80);
  EXPECT_EQ(GET_Y_LPARAM(got[1].lParam), -95);
  EXPECT_EQ(got[2].msg, WM_LBUTTONUP);
  EXPECT_EQ(got[2].wParam, 0u);
}

TEST_F(Capture, DestroyingTheHolderReleasesIt) {
  HWND top = Top(0, 0, 100, 100);
  HWND child = Child(top, 0, 0, 50, 50);
  SetCapture(child);
  DestroyWindow(top);
  EXPECT_EQ(GetCapture(), nullptr);
  HWND next = Top(0, 0, 100, 100);
  msgLog.clear();
  os::MouseMove(Point(10, 10));
  EXPECT_EQ(Messages(next, {WM_MOUSEMOVE}).size(), 1u);
}

}  // namespace
