// A fixture for the text and canvas tests: a fresh window system, a white
// screen and helpers that find where ink landed on it.
#pragma once

#include <gtest/gtest.h>
#include <vcl/Windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace gfxtest {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kYellow = RGB(0xFF, 0xFF, 0);
constexpr COLORREF kGray = RGB(0x80, 0x80, 0x80);

class GfxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os::ResetWindowSystem();
    screen = GetDC(nullptr);
    Clear();
  }
  void TearDown() override {
    ReleaseDC(nullptr, screen);
    os::ResetWindowSystem();
  }

  // Fills the whole screen with a colour.
  static void Clear(COLORREF color = kWhite) {
    HDC dc = GetDC(nullptr);
    HBRUSH b = CreateSolidBrush(color);
    const TRect all = Rect(0, 0, 4096, 4096);
    FillRect(dc, &all, b);
    DeleteObject(b);
    ReleaseDC(nullptr, dc);
  }

  // The smallest rectangle holding every pixel of `area` that is not `bg`;
  // empty when there is none.
  static TRect Ink(const TRect& area, COLORREF bg = kWhite) {
    TRect box{};
    bool any = false;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) {
        if (os::ScreenPixel(x, y) == bg) continue;
        if (!any) box = Rect(x, y, x + 1, y + 1);
        box = Rect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                   std::max(box.Bottom, y + 1));
        any = true;
      }
    return box;
  }

  static std::vector<COLORREF> Snapshot(const TRect& area) {
    std::vector<COLORREF> out;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) out.push_back(os::ScreenPixel(x, y));
    return out;
  }

  static int Count(const TRect& area, COLORREF color) {
    int n = 0;
    for (COLORREF c : Snapshot(area)) n += c == color;
    return n;
  }

  // True when the row holds `color` in every pixel of [x0, x1).
  static bool RowIs(int y, int x0, int x1, COLORREF color) {
    for (int x = x0; x < x1; ++x)
      if (os::ScreenPixel(x, y) != color) return false;
    return true;
  }

  static TSize Extent(HDC dc, const std::string& s) {
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32(dc, s.data(), static_cast<int>(s.size()), &size));
    return size;
  }

  static TEXTMETRIC Metrics(HDC dc) {
    TEXTMETRIC tm;
    EXPECT_TRUE(GetTextMetrics(dc, &tm));
    return tm;
  }

  static void Out(HDC dc, int x, int y, const std::string& s) {
    ASSERT_TRUE(TextOut(dc, x, y, s.data(), static_cast<int>(s.size())));
  }

  HDC screen = nullptr;
};

// A font made from a face name, a height and a few style flags.
inline HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, bool italic = false,
                      bool underline = false, bool strikeOut = false, BYTE pitchAndFamily = 0) {
  return CreateFont(height, 0, 0, 0, weight, italic, underline, strikeOut, DEFAULT_CHARSET, 0, 0, 0,
                    pitchAndFamily, face);
}

}  // namespace gfxtest
