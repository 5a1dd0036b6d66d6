// Drawing into the screen framebuffer through a device context. Every
// operation is clipped to the DC's clip and the screen; logical coordinates
// become screen coordinates through the DC's origin and viewport origin.
#include <vcl/Windows.h>

#include <algorithm>
#include <cstdlib>

#include "os/state.h"

using namespace os;

namespace {

// A ternary raster operation applied bitwise: bit (P << 2 | S << 1 | D) of
// the code is the result for those input bits.
uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(code & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFF;
}
bool UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
bool UsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }
uint8_t RopCode(DWORD rop) { return static_cast<uint8_t>((rop >> 16) & 0xFF); }

// A DC ready to draw: its clip on screen and where its logical origin lies.
struct Target {
  DeviceContext* dc = nullptr;
  Region clip;
  TPoint origin;
};

bool Prepare(HDC hdc, Target* t) {
  t->dc = FindDc(hdc);
  if (!t->dc) return false;
  t->clip = EffectiveClip(*t->dc);
  t->origin = TPoint{t->dc->origin.X + t->dc->viewportOrg.X, t->dc->origin.Y + t->dc->viewportOrg.Y};
  return true;
}

TRect ToScreen(const Target& t, TRect r) {
  OffsetRect(r, t.origin.X, t.origin.Y);
  return r;
}

TRect Normalized(int l, int t, int r, int b) {
  return TRect{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// Runs op(row, span) over the rows of the clip's rectangles inside the
// screen rectangle.
template <class Op>
void ForEachRow(const Region& clip, const TRect& screenRect, Op op) {
  auto& px = Pixels();
  const size_t width = static_cast<size_t>(S().screenWidth);
  TRect area;
  if (!IntersectRect(area, screenRect, clip.Box())) return;
  for (const TRect& r : (clip & Region(area)).Rects()) {
    uint32_t* row = px.data() + static_cast<size_t>(r.Top) * width + static_cast<size_t>(r.Left);
    const size_t span = static_cast<size_t>(r.Right - r.Left);
    for (int32_t y = r.Top; y < r.Bottom; ++y, row += width) op(row, span);
  }
}

// Applies a raster operation without a source; the common operations are
// plain loops over each row.
void RopArea(const Region& clip, const TRect& screenRect, uint8_t code, uint32_t p) {
  switch (code) {
    case 0x55:  // DSTINVERT
      ForEachRow(clip, screenRect, [](uint32_t* d, size_t n) {
        for (size_t i = 0; i < n; ++i) d[i] ^= 0xFFFFFFu;
      });
      return;
    case 0xF0:  // PATCOPY
      ForEachRow(clip, screenRect, [p](uint32_t* d, size_t n) { std::fill_n(d, n, p); });
      return;
    case 0x00:  // BLACKNESS
      ForEachRow(clip, screenRect, [](uint32_t* d, size_t n) { std::fill_n(d, n, 0u); });
      return;
    case 0xFF:  // WHITENESS
      ForEachRow(clip, screenRect, [](uint32_t* d, size_t n) { std::fill_n(d, n, 0xFFFFFFu); });
      return;
    case 0x5A:  // PATINVERT
      ForEachRow(clip, screenRect, [p](uint32_t* d, size_t n) {
        for (size_t i = 0; i < n; ++i) d[i] ^= p;
      });
      return;
    default:
      ForEachRow(clip, screenRect, [code, p](uint32_t* d, size_t n) {
        for (size_t i = 0; i < n; ++i) d[i] = Rop3(code, p, 0, d[i]);
      });
  }
}

// Calls fn(pixel, x, y) for every pixel of the screen rectangle inside the clip.
template <class F>
void ForEachPixel(const Region& clip, const TRect& screenRect, F fn) {
  auto& px = Pixels();
  const int32_t width = S().screenWidth;
  for (const TRect& r : (clip & Region(screenRect)).Rects())
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x) fn(px[static_cast<size_t>(y) * width + x], x, y);
}

// Fills span by span: the clip is cut into rectangles once, each row of a
// rectangle is one run of pixels.
void Fill(const Region& clip, const TRect& screenRect, COLORREF color) {
  const uint32_t p = ToPixel(color);
  ForEachRow(clip, screenRect, [p](uint32_t* row, size_t span) { std::fill_n(row, span, p); });
}

void Plot(const Target& t, int32_t x, int32_t y, const PenInfo& pen) {
  // A wide pen is a square centred on the point.
  const int32_t lo = -(pen.width - 1) / 2;
  Fill(t.clip, TRect{x + lo, y + lo, x + lo + pen.width, y + lo + pen.width}, pen.color);
}

// The pen's squares at every point from (x0, y0) to (x1, y1) inclusive, a
// straight run along one axis within the screen's reach: one rectangle.
void PlotRun(const Target& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1, const PenInfo& pen) {
  const int32_t lo = -(pen.width - 1) / 2;
  Fill(t.clip,
       TRect{static_cast<int32_t>(x0 + lo), static_cast<int32_t>(y0 + lo),
             static_cast<int32_t>(x1 + lo + pen.width), static_cast<int32_t>(y1 + lo + pen.width)},
       pen.color);
}

// The four sides of a rectangle, `w` pixels thick, inside it.
void Ring(const Region& clip, const TRect& r, int w, COLORREF color) {
  w = std::min({w, (r.Width() + 1) / 2, (r.Height() + 1) / 2});
  if (w <= 0) return;
  Fill(clip, TRect{r.Left, r.Top, r.Right, r.Top + w}, color);
  Fill(clip, TRect{r.Left, r.Bottom - w, r.Right, r.Bottom}, color);
  Fill(clip, TRect{r.Left, r.Top + w, r.Left + w, r.Bottom - w}, color);
  Fill(clip, TRect{r.Right - w, r.Top + w, r.Right, r.Bottom - w}, color);
}

}  // namespace

int FillRect(HDC hdc, const TRect* rect, HBRUSH brush) {
  Target t;
  BrushInfo b;
  if (!rect || !Prepare(hdc, &t) || !ResolveBrush(brush, &b)) return 0;
  if (!b.null) Fill(t.clip, ToScreen(t, *rect), b.color);
  return 1;
}

int FrameRect(HDC hdc, const TRect* rect, HBRUSH brush) {
  Target t;
  BrushInfo b;
  if (!rect || !Prepare(hdc, &t) || !ResolveBrush(brush, &b)) return 0;
  if (!b.null && !IsRectEmpty(*rect)) Ring(t.clip, ToScreen(t, *rect), 1, b.color);
  return 1;
}

BOOL InvertRect(HDC hdc, const TRect* rect) {
  Target t;
  if (!rect || !Prepare(hdc, &t)) return FALSE;
  RopArea(t.clip, ToScreen(t, *rect), 0x55, 0);
  return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  Target t;
  const uint8_t code = RopCode(rop);
  if (!Prepare(hdc, &t) || UsesSource(code)) return FALSE;
  const BrushInfo& brush = t.dc->brushInfo;
  if (UsesPattern(code) && brush.null) return TRUE;  // nothing to paint with
  const uint32_t p = ToPixel(brush.color);
  const TRect r = ToScreen(t, Normalized(x, y, x + w, y + h));
  RopArea(t.clip, r, code, p);
  return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, DWORD rop) {
  Target t;
  const uint8_t code = RopCode(rop);
  if (!Prepare(hdc, &t)) return FALSE;
  const bool needSource = UsesSource(code);
  TPoint srcOrigin;
  if (needSource) {
    const DeviceContext* src = FindDc(hdcSrc);
    if (!src) return FALSE;
    srcOrigin = TPoint{src->origin.X + src->viewportOrg.X + sx, src->origin.Y + src->viewportOrg.Y + sy};
  }
  if (w <= 0 || h <= 0) return TRUE;
  const BrushInfo& brush = t.dc->brushInfo;
  if (UsesPattern(code) && brush.null) return TRUE;
  const uint32_t p = ToPixel(brush.color);
  const TRect dst = ToScreen(t, Bounds(x, y, w, h));
  if (!needSource) {
    RopArea(t.clip, dst, code, p);
    return TRUE;
  }

  // Read the source before writing: it may be the same screen area.
  const Region area = t.clip & Region(dst);
  std::vector<uint32_t> source;
  std::vector<bool> readable;
  if (needSource) {
    const auto& px = Pixels();
    const TRect screen = ScreenRect();
    for (const TRect& r : area.Rects())
      for (int32_t yy = r.Top; yy < r.Bottom; ++yy)
        for (int32_t xx = r.Left; xx < r.Right; ++xx) {
          const TPoint s{srcOrigin.X + (xx - dst.Left), srcOrigin.Y + (yy - dst.Top)};
          const bool ok = PtInRect(screen, s);
          readable.push_back(ok);
          source.push_back(ok ? px[static_cast<size_t>(s.Y) * S().screenWidth + s.X] : 0);
        }
  }
  size_t i = 0;
  ForEachPixel(area, dst, [&](uint32_t& d, int32_t, int32_t) {
    if (!needSource) {
      d = Rop3(code, p, 0, d);
    } else if (readable[i]) {
      d = Rop3(code, p, source[i], d);
    }
    ++i;
  });
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, TPoint* old) {
  DeviceContext* dc = FindDc(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->pos;
  dc->pos = TPoint{ClampCoord(x), ClampCoord(y)};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  Target t;
  if (!Prepare(hdc, &t)) return FALSE;
  const TPoint from = t.dc->pos;
  const TPoint to{ClampCoord(x), ClampCoord(y)};
  t.dc->pos = to;
  const PenInfo pen = t.dc->penInfo;
  if (pen.null) return TRUE;
  // Bresenham; the end point itself is not drawn.
  int64_t x0 = int64_t{from.X} + t.origin.X;
  int64_t y0 = int64_t{from.Y} + t.origin.Y;
  const int64_t x1 = int64_t{to.X} + t.origin.X;
  const int64_t y1 = int64_t{to.Y} + t.origin.Y;
  const int64_t dx = std::llabs(x1 - x0);
  const int64_t dy = -std::llabs(y1 - y0);
  const int64_t stepX = x0 < x1 ? 1 : -1;
  const int64_t stepY = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  const TRect reach = t.clip.Box();
  const int64_t lo_x = int64_t{reach.Left} - pen.width, hi_x = int64_t{reach.Right} + pen.width;
  const int64_t lo_y = int64_t{reach.Top} - pen.width, hi_y = int64_t{reach.Bottom} + pen.width;
  // A horizontal or vertical line plots the same pixels when its run is
  // first cut to the reach of the clip, however long it is.
  if (dy == 0 && x0 != x1) {
    if (y0 < lo_y || y0 >= hi_y) return TRUE;
    const int64_t from_x = std::max(std::min(x0, x1 - stepX), lo_x);
    const int64_t to_x = std::min(std::max(x0, x1 - stepX), hi_x - 1);
    if (from_x <= to_x) PlotRun(t, from_x, y0, to_x, y0, pen);
    return TRUE;
  }
  if (dx == 0 && y0 != y1) {
    if (x0 < lo_x || x0 >= hi_x) return TRUE;
    const int64_t from_y = std::max(std::min(y0, y1 - stepY), lo_y);
    const int64_t to_y = std::min(std::max(y0, y1 - stepY), hi_y - 1);
    if (from_y <= to_y) PlotRun(t, x0, from_y, x0, to_y, pen);
    return TRUE;
  }
  while (x0 != x1 || y0 != y1) {
    if (x0 >= reach.Left - pen.width && x0 < reach.Right + pen.width && y0 >= reach.Top - pen.width &&
        y0 < reach.Bottom + pen.width)
      Plot(t, static_cast<int32_t>(x0), static_cast<int32_t>(y0), pen);
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += stepY;
    }
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int l, int t_, int r, int b) {
  Target t;
  if (!Prepare(hdc, &t)) return FALSE;
  const TRect rect = ToScreen(t, Normalized(l, t_, r, b));
  const PenInfo pen = t.dc->penInfo;
  const BrushInfo brush = t.dc->brushInfo;
  // The outline lies inside the rectangle; without a pen the filled area is
  // one pixel smaller to the right and bottom, as the system draws it.
  TRect inner = rect;
  if (pen.null) {
    inner.Right -= 1;
    inner.Bottom -= 1;
  } else {
    Ring(t.clip, rect, pen.width, pen.color);
    InflateRect(inner, -pen.width, -pen.width);
  }
  if (!brush.null && !IsRectEmpty(inner)) Fill(t.clip, inner, brush.color);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Target t;
  if (!Prepare(hdc, &t)) return CLR_INVALID;
  const int64_t sx = int64_t{x} + t.origin.X;
  const int64_t sy = int64_t{y} + t.origin.Y;
  if (!t.clip.Contains(Saturate(sx), Saturate(sy))) return CLR_INVALID;
  Pixels()[static_cast<size_t>(sy) * S().screenWidth + static_cast<size_t>(sx)] = ToPixel(color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  Target t;
  if (!Prepare(hdc, &t)) return CLR_INVALID;
  const int64_t sx = int64_t{x} + t.origin.X;
  const int64_t sy = int64_t{y} + t.origin.Y;
  if (!t.clip.Contains(Saturate(sx), Saturate(sy))) return CLR_INVALID;
  return ToColorRef(Pixels()[static_cast<size_t>(sy) * S().screenWidth + static_cast<size_t>(sx)]);
}
