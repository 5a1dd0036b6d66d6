// Rectangle arithmetic. Right and Bottom are exclusive; results saturate at
// the 32-bit range instead of overflowing.
#include <vcl/Windows.h>

#include <algorithm>

#include "os/state.h"

BOOL PtInRect(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

BOOL IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

BOOL InflateRect(TRect& r, int dx, int dy) {
  r.Left = os::Saturate(int64_t{r.Left} - dx);
  r.Top = os::Saturate(int64_t{r.Top} - dy);
  r.Right = os::Saturate(int64_t{r.Right} + dx);
  r.Bottom = os::Saturate(int64_t{r.Bottom} + dy);
  return TRUE;
}

BOOL OffsetRect(TRect& r, int dx, int dy) {
  r.Left = os::Saturate(int64_t{r.Left} + dx);
  r.Top = os::Saturate(int64_t{r.Top} + dy);
  r.Right = os::Saturate(int64_t{r.Right} + dx);
  r.Bottom = os::Saturate(int64_t{r.Bottom} + dy);
  return TRUE;
}

BOOL IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) {
    dst = TRect{};
    return FALSE;
  }
  dst = r;
  return TRUE;
}

BOOL UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  const bool ea = IsRectEmpty(a);
  const bool eb = IsRectEmpty(b);
  if (ea && eb) {
    dst = TRect{};
    return FALSE;
  }
  if (ea) {
    dst = b;
  } else if (eb) {
    dst = a;
  } else {
    dst = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom)};
  }
  return TRUE;
}

BOOL SetRect(TRect& r, int l, int t, int rt, int b) {
  r = TRect{l, t, rt, b};
  return TRUE;
}

BOOL SetRectEmpty(TRect& r) {
  r = TRect{};
  return TRUE;
}

BOOL EqualRect(const TRect& a, const TRect& b) { return a == b; }
