// The window tree: classes, creation and destruction, placement, geometry,
// hit testing and handle safety.
#include "os_fixture.h"

#include <cstring>

using namespace ostest;

namespace {

using OsWindows = OsTest;

TEST_F(OsWindows, ClassNamesAreCaseInsensitiveAndUniqueAndPinnedWhileInUse) {
  WNDCLASS wc;
  wc.lpfnWndProc = LogProc;
  wc.lpszClassName = "TEST";
  EXPECT_EQ(RegisterClass(&wc), 0);  // "Test" exists

  WNDCLASS info;
  ASSERT_TRUE(GetClassInfo(nullptr, "tEsT", &info));
  EXPECT_STREQ(info.lpszClassName, "Test");
  EXPECT_EQ(info.lpfnWndProc, &LogProc);

  HWND w = Top(0, 0, 10, 10);
  EXPECT_FALSE(UnregisterClass("test", nullptr));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("test", nullptr));
  EXPECT_FALSE(GetClassInfo(nullptr, "Test", &info));
  EXPECT_EQ(Top(0, 0, 10, 10), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr),
            nullptr);
}

TEST_F(OsWindows, CreationSendsMessagesInOrderAndLetsTheProcedureBindItself) {
  HWND parent = Top(0, 0, 200, 200);
  msgLog.clear();
  int object = 0;
  hook = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_NCCREATE)
      SetWindowLongPtr(h, GWL_USERDATA,
                       reinterpret_cast<intptr_t>(reinterpret_cast<CREATESTRUCT*>(l)->lpCreateParams));
    return std::nullopt;
  };
  HWND child = CreateWindowEx(0, "Test", "name", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, parent,
                              reinterpret_cast<HMENU>(7), nullptr, &object);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Messages(child),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                               WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  EXPECT_EQ(GetWindowLongPtr(child, GWL_USERDATA), reinterpret_cast<intptr_t>(&object));
  EXPECT_EQ(GetWindowLongPtr(child, GWL_ID), 7);
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_TRUE(IsWindowVisible(child));
  char text[16];
  EXPECT_EQ(GetWindowText(child, text, sizeof text), 4);
  EXPECT_STREQ(text, "name");
}

TEST_F(OsWindows, ACreationMessageCanRefuseTheWindow) {
  struct Case {
    UINT refuse;
    LRESULT answer;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE, -1, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    msgLog.clear();
    HWND seen = nullptr;
    hook = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      seen = h;
      if (m == c.refuse) return c.answer;
      return std::nullopt;
    };
    EXPECT_EQ(Top(0, 0, 10, 10), nullptr);
    EXPECT_EQ(Messages(seen), c.expected);
    EXPECT_FALSE(IsWindow(seen));
  }
}

TEST_F(OsWindows, DestroySendsDestroyTopDownAndNcDestroyBottomUpAndCleansUp) {
  HWND top = Top(0, 0, 100, 100);
  HWND child = Child(top, 0, 0, 50, 50);
  HWND grandchild = Child(child, 0, 0, 20, 20);
  HWND sibling = Child(top, 60, 60, 20, 20);
  SetTimer(child, 1, 10, nullptr);
  PostMessage(grandchild, WM_USER, 0, 0);
  os::ProcessMessages();
  msgLog.clear();

  EXPECT_TRUE(DestroyWindow(child));
  EXPECT_EQ(Sequence({WM_DESTROY, WM_NCDESTROY}),
            (std::vector<std::pair<HWND, UINT>>{{child, WM_DESTROY},
                                                {grandchild, WM_DESTROY},
                                                {grandchild, WM_NCDESTROY},
                                                {child, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_EQ(GetWindow(top, GW_CHILD), sibling);
  // What the child covered is to be repainted in the parent.
  EXPECT_EQ(UpdateBox(top), Rect(0, 0, 50, 50));

  // Its timer and its queued message died with it.
  PostMessage(grandchild, WM_USER, 0, 0);
  os::AdvanceClock(100);
  msgLog.clear();
  os::ProcessMessages();
  EXPECT_TRUE(Sequence({WM_TIMER, WM_USER}).empty());
}

TEST_F(OsWindows, SetWindowPosSendsSizeAndMoveOnlyForWhatChanged) {
  struct Case {
    const char* what;
    int x, y, cx, cy;
    UINT flags;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {"nothing", 10, 10, 50, 40, SWP_NOZORDER, {WM_WINDOWPOSCHANGING}},
      {"move", 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER,
       {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}},
      {"size", 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
      {"both", 1, 2, 3, 4, SWP_NOZORDER,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
      {"frame", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}},
      {"stacking", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE,
       {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
  };
  HWND parent = Top(0, 0, 200, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND w = Child(parent, 10, 10, 50, 40);
    Child(parent, 100, 100, 10, 10);  // a sibling on top, to go above
    msgLog.clear();
    EXPECT_TRUE(SetWindowPos(w, HWND_TOP, c.x, c.y, c.cx, c.cy, c.flags));
    EXPECT_EQ(Messages(w, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE,
                           WM_SIZE}),
              c.expected);
    DestroyWindow(w);
  }
}

TEST_F(OsWindows, MoveAndSizeCarryTheClientGeometry) {
  HWND parent = Top(0, 0, 300, 300);
  HWND w = Child(parent, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_BORDER);
  msgLog.clear();
  MoveWindow(w, 30, 40, 102, 62, TRUE);
  const auto moveMsg = std::find_if(msgLog.begin(), msgLog.end(), [](auto& l) { return l.msg == WM_MOVE; });
  const auto sizeMsg = std::find_if(msgLog.begin(), msgLog.end(), [](auto& l) { return l.msg == WM_SIZE; });
  ASSERT_NE(moveMsg, msgLog.end());
  ASSERT_NE(sizeMsg, msgLog.end());
  EXPECT_EQ(moveMsg->lParam, MAKELPARAM(31, 41));  // the client origin in parent coordinates
  EXPECT_EQ(sizeMsg->wParam, SIZE_RESTORED);
  EXPECT_EQ(sizeMsg->lParam, MAKELPARAM(100, 60));
}

TEST_F(OsWindows, WindowPosChangingMayAlterThePlacement) {
  HWND w = Top(0, 0, 50, 50);
  hook = [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(l);
      pos->cx = std::min(pos->cx, 80);  // a maximum width
    }
    return std::nullopt;
  };
  SetWindowPos(w, nullptr, 5, 5, 200, 30, SWP_NOZORDER);
  TRect r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Rect(5, 5, 85, 35));
}

TEST_F(OsWindows, ClientAreaFollowsTheFrameStyles) {
  struct Case {
    DWORD style;
    DWORD ex;
    TRect client;  // on screen, of a 100 x 80 window at (10, 20)
  };
  const Case cases[] = {
      {WS_POPUP, 0, Rect(10, 20, 110, 100)},
      {WS_POPUP | WS_BORDER, 0, Rect(11, 21, 109, 99)},
      {WS_POPUP | WS_DLGFRAME, 0, Rect(13, 23, 107, 97)},
      {WS_POPUP | WS_THICKFRAME, 0, Rect(14, 24, 106, 96)},
      {WS_POPUP | WS_CAPTION, 0, Rect(13, 41, 107, 97)},
      {WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, Rect(14, 42, 106, 96)},
      {WS_OVERLAPPED, 0, Rect(13, 41, 107, 97)},  // an overlapped window always has a caption
      {WS_POPUP, WS_EX_CLIENTEDGE, Rect(12, 22, 108, 98)},
      {WS_POPUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, Rect(13, 23, 91, 81)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.ex);
    HWND w = Top(10, 20, 100, 80, c.style, "Test", c.ex);
    TRect client;
    GetClientRect(w, &client);
    TPoint origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(Bounds(origin.X, origin.Y, client.Width(), client.Height()), c.client);
    EXPECT_EQ(client.Left, 0);
    DestroyWindow(w);
  }
  // A frame larger than the window leaves an empty client area, not a negative one.
  HWND tiny = Top(0, 0, 5, 5, WS_POPUP | WS_CAPTION);
  TRect client;
  GetClientRect(tiny, &client);
  EXPECT_EQ(client, Rect(0, 0, 0, 0));
}

TEST_F(OsWindows, CoordinatesMapThroughNestedWindows) {
  HWND top = Top(100, 50, 300, 300, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND child = Child(top, 10, 10, 100, 100, WS_CHILD | WS_VISIBLE, "Test", WS_EX_CLIENTEDGE);
  HWND grandchild = Child(child, 5, 5, 20, 20);

  TPoint p{0, 0};
  ClientToScreen(grandchild, &p);
  EXPECT_EQ(p, Point(118, 68));  // 100 + 1 border + 10 + 2 edge + 5
  ScreenToClient(child, &p);
  EXPECT_EQ(p, Point(5, 5));

  TRect r;
  GetWindowRect(grandchild, &r);
  EXPECT_EQ(r, Rect(118, 68, 138, 88));

  TPoint pts[2] = {{0, 0}, {-3, 4}};
  const int offset = MapWindowPoints(grandchild, top, pts, 2);
  EXPECT_EQ(pts[0], Point(17, 17));
  EXPECT_EQ(pts[1], Point(14, 21));
  EXPECT_EQ(offset, static_cast<int>(MAKELPARAM(17, 17)));
  TPoint back{17, 17};
  MapWindowPoints(top, nullptr, &back, 1);  // null is the screen
  EXPECT_EQ(back, Point(118, 68));
}

TEST_F(OsWindows, TreeNavigationAndReparenting) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(0, 0, 100, 100);
  HWND c1 = Child(a, 0, 0, 10, 10);
  HWND c2 = Child(a, 0, 0, 10, 10);
  EXPECT_EQ(GetParent(a), nullptr);
  EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), b);  // the newest window is on top
  EXPECT_EQ(GetWindow(a, GW_CHILD), c2);
  EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDPREV), c2);
  EXPECT_EQ(GetWindow(c1, GW_HWNDFIRST), c2);
  EXPECT_EQ(GetWindow(c2, GW_HWNDLAST), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), nullptr);

  SetWindowPos(c1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(a, GW_CHILD), c1);
  SetWindowPos(c1, c2, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // just below c2
  EXPECT_EQ(GetWindow(a, GW_CHILD), c2);

  SetWindowPos(c1, nullptr, 7, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(SetParent(c1, b), a);
  EXPECT_TRUE(IsChild(b, c1));
  EXPECT_FALSE(IsChild(a, c1));
  TPoint p{0, 0};
  ClientToScreen(c1, &p);
  EXPECT_EQ(p, Point(7, 8) );  // the same coordinates, now in b
  EXPECT_EQ(SetParent(b, c1), nullptr);  // not into its own descendant
  EXPECT_EQ(SetParent(b, b), nullptr);
}

TEST_F(OsWindows, VisibilityAndEnablingFollowAncestors) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP);
  HWND child = Child(top, 0, 0, 10, 10);
  EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
  msgLog.clear();
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));
  EXPECT_EQ(Messages(top), (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(top, SW_SHOW));  // already shown: nothing more happens
  EXPECT_EQ(Messages(top).size(), 3u);

  msgLog.clear();
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_TRUE(EnableWindow(child, FALSE));  // answers: was disabled
  EXPECT_EQ(Messages(child), (std::vector<UINT>{WM_ENABLE}));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_TRUE(GetWindowLong(child, GWL_STYLE) & WS_DISABLED);
}

TEST_F(OsWindows, WindowFromPointFindsTheDeepestVisibleEnabledWindow) {
  HWND back = Top(0, 0, 300, 300);
  HWND front = Top(200, 200, 100, 100);
  HWND child = Child(back, 10, 10, 100, 100);
  HWND inner = Child(child, 10, 10, 30, 30);
  HWND hidden = Child(back, 150, 10, 40, 40, WS_CHILD);
  HWND disabled = Child(back, 150, 100, 40, 40, WS_CHILD | WS_VISIBLE | WS_DISABLED);
  HWND glass = Child(back, 10, 200, 50, 50);
  HWND underGlass = Child(back, 20, 210, 10, 10);
  SetWindowPos(underGlass, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  hook = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == glass && m == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  };
  struct Case {
    TPoint pt;
    HWND expected;
  };
  const Case cases[] = {
      {{25, 25}, inner},     {{12, 12}, child},    {{5, 5}, back},
      {{250, 250}, front},   {{160, 20}, back},    {{160, 110}, back},
      {{25, 215}, underGlass}, {{15, 205}, back},  {{400, 400}, nullptr},
  };
  (void)hidden;
  (void)disabled;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pt.X << "," << c.pt.Y);
    EXPECT_EQ(WindowFromPoint(c.pt), c.expected);
  }
  EXPECT_EQ(ChildWindowFromPoint(back, Point(160, 20)), hidden);  // hidden ones count here
  EXPECT_EQ(ChildWindowFromPoint(back, Point(5, 5)), back);
  EXPECT_EQ(ChildWindowFromPoint(back, Point(500, 5)), nullptr);
}

TEST_F(OsWindows, DefWindowProcHitTestsTheFrameParts) {
  HWND w = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_VSCROLL | WS_HSCROLL);
  struct Case {
    int x, y;
    LRESULT expected;
  };
  // frame 3, caption rows 3..20, client 3..81 x 21..81, scroll bars 16 wide
  const Case cases[] = {{1, 50, HTBORDER}, {50, 10, HTCAPTION}, {50, 50, HTCLIENT},
                        {90, 50, HTVSCROLL}, {50, 90, HTHSCROLL}, {150, 50, HTNOWHERE}};
  for (const Case& c : cases)
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.expected) << c.x << "," << c.y;
}

TEST_F(OsWindows, SetCursorAsksTheParentFirstThenUsesTheClassCursor) {
  const auto childCursor = reinterpret_cast<HCURSOR>(0x51);
  Register("WithCursor", 0, childCursor);
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE, "WithCursor");
  bool parentClaims = false;
  hook = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == parent && m == WM_SETCURSOR && parentClaims) return TRUE;
    return std::nullopt;
  };
  SetCursor(nullptr);
  const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  EXPECT_FALSE(SendMessage(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), overClient));
  EXPECT_EQ(GetCursor(), childCursor);
  EXPECT_EQ(Messages(parent, {WM_SETCURSOR}).size(), 1u);

  SetCursor(nullptr);
  parentClaims = true;
  EXPECT_TRUE(SendMessage(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), overClient));
  EXPECT_EQ(GetCursor(), nullptr);

  parentClaims = false;
  SendMessage(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), nullptr);  // not over the client area
}

TEST_F(OsWindows, WindowLongsAndText) {
  HWND w = Top(0, 0, 10, 10);
  EXPECT_EQ(SetWindowLongPtr(w, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtr(w, GWL_USERDATA), 1234);
  EXPECT_EQ(GetWindowLongPtr(w, GWL_WNDPROC), reinterpret_cast<intptr_t>(&LogProc));
  SetWindowLong(w, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLong(w, GWL_EXSTYLE), static_cast<LONG>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(GetWindowLong(w, 12345), 0);

  EXPECT_TRUE(SetWindowText(w, "hello world"));
  char small[6];
  EXPECT_EQ(GetWindowText(w, small, sizeof small), 5);
  EXPECT_STREQ(small, "hello");
  EXPECT_EQ(GetWindowTextLength(w), 11);
  EXPECT_EQ(Messages(w, {WM_SETTEXT, WM_GETTEXT}), (std::vector<UINT>{WM_SETTEXT, WM_GETTEXT}));
}

TEST_F(OsWindows, DeadAndBogusHandlesFailSoftly) {
  HWND dead = Top(0, 0, 10, 10);
  DestroyWindow(dead);
  HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xDEADBEEF));
  for (HWND h : {dead, bogus, static_cast<HWND>(nullptr)}) {
    TRect r{1, 2, 3, 4};
    TPoint p{1, 1};
    PAINTSTRUCT ps;
    MSG m;
    char buf[4] = "abc";
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 1, 1, 0));
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_FALSE(GetClientRect(h, &r));
    EXPECT_FALSE(ClientToScreen(h, &p));
    EXPECT_EQ(p, Point(1, 1));
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 0);
    EXPECT_EQ(DefWindowProc(h, WM_NCCREATE, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_USERDATA), 0);
    EXPECT_EQ(SetWindowLongPtr(h, GWL_USERDATA, 5), 0);
    EXPECT_EQ(GetWindowText(h, buf, 4), 0);
    EXPECT_EQ(BeginPaint(h, &ps), nullptr);
    EXPECT_FALSE(UpdateWindow(h));
    EXPECT_EQ(GetParent(h), nullptr);
    EXPECT_EQ(GetWindow(h, GW_CHILD), nullptr);
    EXPECT_EQ(os::PaintCount(h), 0);
    if (h) {
      EXPECT_FALSE(PostMessage(h, WM_USER, 0, 0));
      EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
      EXPECT_FALSE(InvalidateRect(h, nullptr, TRUE));
      EXPECT_FALSE(PeekMessage(&m, h, 0, 0, PM_REMOVE));
      EXPECT_EQ(GetDC(h), nullptr);
    }
  }
  EXPECT_FALSE(DestroyWindow(GetDesktopWindow()));
}

TEST_F(OsWindows, ProceduresMayDestroyTheirWindowInsideAnyMessage) {
  // Destroying the window from inside each message SetWindowPos sends must
  // leave everything consistent and report the window gone.
  for (UINT victim : {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}) {
    SCOPED_TRACE(victim);
    HWND parent = Top(0, 0, 100, 100);
    HWND w = Child(parent, 0, 0, 10, 10);
    hook = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (h == w && m == victim) {
        DestroyWindow(h);
        return 0;
      }
      return std::nullopt;
    };
    SetWindowPos(w, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
    hook = nullptr;
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
    os::ProcessMessages();
    DestroyWindow(parent);
  }
}

}  // namespace
