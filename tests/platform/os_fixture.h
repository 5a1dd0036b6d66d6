// A small fixture for the window-system tests: a fresh system per test, a
// test window class whose procedure logs every message and can be steered by
// a per-test hook before falling back to DefWindowProc.
#pragma once

#include <gtest/gtest.h>
#include <vcl/Windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace ostest {

struct Logged {
  HWND wnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Logged> msgLog;
// Answers a message in place of DefWindowProc when it returns a value.
inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> hook;

inline LRESULT LogProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  msgLog.push_back({h, m, w, l});
  if (hook)
    if (auto r = hook(h, m, w, l)) return *r;
  return DefWindowProc(h, m, w, l);
}

class OsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os::ResetWindowSystem();
    msgLog.clear();
    hook = nullptr;
    Register("Test", 0);
    Register("Redraw", CS_HREDRAW | CS_VREDRAW);
  }
  void TearDown() override {
    hook = nullptr;
    os::ResetWindowSystem();
  }

  static void Register(const char* name, UINT style, HCURSOR cursor = nullptr,
                       HBRUSH background = nullptr) {
    WNDCLASS wc;
    wc.style = style;
    wc.lpfnWndProc = LogProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClass(&wc), 0);
  }

  static HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE,
                  const char* cls = "Test", DWORD ex = 0) {
    return CreateWindowEx(ex, cls, "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
  }
  static HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
                    const char* cls = "Test", DWORD ex = 0) {
    return CreateWindowEx(ex, cls, "child", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
  }

  // The logged messages of one window, optionally only those in `only`.
  static std::vector<UINT> Messages(HWND h, std::vector<UINT> only = {}) {
    std::vector<UINT> out;
    for (const Logged& l : msgLog)
      if (l.wnd == h && (only.empty() || std::count(only.begin(), only.end(), l.msg)))
        out.push_back(l.msg);
    return out;
  }
  // (window, message) pairs of the given messages, in order.
  static std::vector<std::pair<HWND, UINT>> Sequence(std::vector<UINT> only) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const Logged& l : msgLog)
      if (std::count(only.begin(), only.end(), l.msg)) out.emplace_back(l.wnd, l.msg);
    return out;
  }

  static TRect UpdateBox(HWND h) {
    TRect r;
    GetUpdateRect(h, &r, FALSE);
    return r;
  }
};

}  // namespace ostest
