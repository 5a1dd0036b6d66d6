// The message queue and loop: posting, the order of posted messages, WM_PAINT
// and WM_TIMER, timers on the virtual clock, WM_QUIT and message boxes.
#include "os_fixture.h"

using namespace ostest;

namespace {

using OsMessages = OsTest;

TEST_F(OsMessages, PostedMessagesComeFirstThenPaintsParentsFirstThenTimers) {
  HWND top = Top(0, 0, 100, 100);
  HWND lower = Child(top, 0, 0, 10, 10);
  HWND upper = Child(top, 50, 50, 10, 10);
  HWND inner = Child(upper, 0, 0, 5, 5);
  HWND second = Top(200, 0, 50, 50);  // on top of `top`
  SetTimer(top, 1, 10, nullptr);
  os::AdvanceClock(10);
  PostMessage(lower, WM_USER, 0, 0);
  PostMessage(upper, WM_USER + 1, 0, 0);
  msgLog.clear();

  EXPECT_EQ(os::ProcessMessages(), 2 + 5 + 1);
  EXPECT_EQ(Sequence({WM_USER, WM_USER + 1, WM_PAINT, WM_TIMER}),
            (std::vector<std::pair<HWND, UINT>>{{lower, WM_USER},
                                                {upper, WM_USER + 1},
                                                {second, WM_PAINT},
                                                {top, WM_PAINT},
                                                {upper, WM_PAINT},
                                                {inner, WM_PAINT},
                                                {lower, WM_PAINT},
                                                {top, WM_TIMER}}));
  EXPECT_EQ(os::PaintCount(top), 1);
  EXPECT_EQ(os::ProcessMessages(), 0);
}

TEST_F(OsMessages, PeekFiltersByWindowAndRangeAndKeepsUnremovedMessages) {
  HWND a = Top(0, 0, 10, 10, WS_POPUP);
  HWND b = Top(0, 0, 10, 10, WS_POPUP);
  PostMessage(a, WM_USER, 1, 0);
  PostMessage(b, WM_USER, 2, 0);
  PostMessage(nullptr, WM_USER + 5, 3, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 2u);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(m.hwnd, nullptr);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 1u);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(OsMessages, WmPaintStaysUntilValidated) {
  HWND w = Top(0, 0, 10, 10);
  MSG m;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    EXPECT_EQ(m.hwnd, w);
  }
  ValidateRect(w, nullptr);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(OsMessages, APaintHandlerThatNeverValidatesIsReportedNotLoopedOn) {
  HWND w = Top(0, 0, 10, 10);
  hook = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_PAINT) return 0;  // forgets BeginPaint
    return std::nullopt;
  };
  EXPECT_THROW(os::ProcessMessages(), std::logic_error);
  hook = nullptr;
  EXPECT_EQ(os::ProcessMessages(), 1);
  EXPECT_EQ(os::PaintCount(w), 2);
}

TEST_F(OsMessages, TimersFireFromTheLoopOnTheVirtualClock) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
  auto timers = [] { return Sequence({WM_TIMER}).size(); };

  os::AdvanceClock(99);
  os::ProcessMessages();
  EXPECT_EQ(timers(), 0u);
  os::AdvanceClock(1);
  EXPECT_EQ(GetTickCount(), 100u);
  EXPECT_EQ(timers(), 0u);  // advancing alone fires nothing
  os::ProcessMessages();
  EXPECT_EQ(timers(), 1u);
  EXPECT_EQ(msgLog.back().wParam, 7u);

  os::AdvanceClock(350);  // three periods late: fires once, then re-arms from now
  os::ProcessMessages();
  EXPECT_EQ(timers(), 2u);
  os::AdvanceClock(99);
  os::ProcessMessages();
  EXPECT_EQ(timers(), 2u);

  SetTimer(w, 7, 1000, nullptr);  // replaces: the period restarts
  os::AdvanceClock(999);
  os::ProcessMessages();
  EXPECT_EQ(timers(), 2u);
  os::AdvanceClock(1);
  os::ProcessMessages();
  EXPECT_EQ(timers(), 3u);

  EXPECT_TRUE(KillTimer(w, 7));
  EXPECT_FALSE(KillTimer(w, 7));
  os::AdvanceClock(5000);
  os::ProcessMessages();
  EXPECT_EQ(timers(), 3u);
}

TEST_F(OsMessages, TimerProceduresAreCalledInsteadOfTheWindowProcedure) {
  static std::vector<std::pair<uintptr_t, DWORD>> calls;
  calls.clear();
  TIMERPROC proc = [](HWND, UINT, uintptr_t id, DWORD time) { calls.emplace_back(id, time); };
  const uintptr_t id = SetTimer(nullptr, 0, 50, proc);
  EXPECT_NE(id, 0u);
  os::AdvanceClock(50);
  EXPECT_EQ(os::ProcessMessages(), 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(id, DWORD{50}));

  // A posted WM_TIMER naming a procedure that no timer has is not a call.
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  PostMessage(w, WM_TIMER, 3, reinterpret_cast<LPARAM>(proc));
  os::ProcessMessages();
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(Messages(w, {WM_TIMER}).size(), 1u);
}

TEST_F(OsMessages, QuitStopsTheLoopAndStaysForTheHost) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  PostMessage(w, WM_USER, 0, 0);
  PostQuitMessage(3);
  PostMessage(w, WM_USER + 1, 0, 0);
  EXPECT_EQ(os::ProcessMessages(), 2);  // the posted messages go first
  EXPECT_EQ(os::ProcessMessages(), 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(OsMessages, SendMessageIsSynchronousAndReentrant) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  hook = [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) return wp == 0 ? 1 : wp * SendMessage(h, WM_USER, wp - 1, 0);
    return std::nullopt;
  };
  EXPECT_EQ(SendMessage(w, WM_USER, 5, 0), 120);
}

TEST_F(OsMessages, MessageBoxGoesToTheHook) {
  static std::string seen;
  auto previous = os::SetMessageBoxHook([](HWND, const char* text, const char* caption, UINT) {
    seen = std::string(caption) + "|" + text;
    return IDNO;
  });
  EXPECT_EQ(MessageBox(nullptr, "Sure?", "Ask", MB_YESNO), IDNO);
  EXPECT_EQ(seen, "Ask|Sure?");
  os::SetMessageBoxHook(previous);
  testing::internal::CaptureStdout();
  EXPECT_EQ(MessageBox(nullptr, "Done", "Info", MB_OK), IDOK);
  EXPECT_EQ(MessageBox(nullptr, "Go on?", "Ask", MB_YESNO), IDYES);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Info: Done\nAsk: Go on?\n");
}

}  // namespace
