#include "os/nonclient.h"

#include <algorithm>

#include "os/state.h"

namespace os {

namespace {

// Insets a rectangle without letting it turn inside out.
TRect Inset(const TRect& r, int l, int t, int rt, int b) {
  TRect out{r.Left + l, r.Top + t, r.Right - rt, r.Bottom - b};
  out.Left = std::min(out.Left, r.Right);
  out.Top = std::min(out.Top, r.Bottom);
  out.Right = std::max(out.Right, out.Left);
  out.Bottom = std::max(out.Bottom, out.Top);
  return out;
}

}  // namespace

int FrameWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

NonClientLayout LayoutNonClient(const TRect& window, DWORD style, DWORD exStyle) {
  NonClientLayout l;
  const int frame = FrameWidth(style, exStyle);
  l.frameInner = Inset(window, frame, frame, frame, frame);
  TRect rest = l.frameInner;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    const int cy = GetSystemMetrics(SM_CYCAPTION);
    l.caption = Inset(rest, 0, 0, 0, rest.Height() - std::min(cy, rest.Height()));
    rest = Inset(rest, 0, cy, 0, 0);
  }
  if (exStyle & WS_EX_CLIENTEDGE) {
    const int e = GetSystemMetrics(SM_CXEDGE);
    rest = Inset(rest, e, e, e, e);
  }
  l.edgeInner = rest;
  const int vs = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int hs = (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  l.client = Inset(rest, 0, 0, vs, hs);
  if (vs) l.vscroll = TRect{l.client.Right, rest.Top, rest.Right, l.client.Bottom};
  if (hs) l.hscroll = TRect{rest.Left, l.client.Bottom, l.client.Right, rest.Bottom};
  return l;
}

namespace {

void Fill(HDC dc, const TRect& r, int color) {
  if (!IsRectEmpty(r)) FillRect(dc, &r, GetSysColorBrush(color));
}

// One ring of a 3D edge: top and left in one colour, bottom and right in the
// other. Answers the rectangle inside it.
TRect EdgeRing(HDC dc, const TRect& r, int topLeft, int bottomRight) {
  if (IsRectEmpty(r)) return r;
  Fill(dc, TRect{r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
  Fill(dc, TRect{r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
  Fill(dc, TRect{r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
  Fill(dc, TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
  return Inset(r, 1, 1, 1, 1);
}

void Ring(HDC dc, const TRect& r, int width, int color) {
  const TRect in = Inset(r, width, width, width, width);
  Fill(dc, TRect{r.Left, r.Top, r.Right, in.Top}, color);
  Fill(dc, TRect{r.Left, in.Bottom, r.Right, r.Bottom}, color);
  Fill(dc, TRect{r.Left, in.Top, in.Left, in.Bottom}, color);
  Fill(dc, TRect{in.Right, in.Top, r.Right, in.Bottom}, color);
}

void ScrollBar(HDC dc, const TRect& bar, bool vertical, const SCROLLINFO& si) {
  if (IsRectEmpty(bar)) return;
  Fill(dc, bar, COLOR_SCROLLBAR);
  // The two arrow buttons, square, at the ends.
  const int size = vertical ? std::min(bar.Width(), bar.Height() / 2) : std::min(bar.Height(), bar.Width() / 2);
  const TRect first = vertical ? TRect{bar.Left, bar.Top, bar.Right, bar.Top + size}
                               : TRect{bar.Left, bar.Top, bar.Left + size, bar.Bottom};
  const TRect last = vertical ? TRect{bar.Left, bar.Bottom - size, bar.Right, bar.Bottom}
                              : TRect{bar.Right - size, bar.Top, bar.Right, bar.Bottom};
  // The thumb, between the buttons, sized by the page and placed by the
  // position, when there is something to scroll.
  const int64_t span = int64_t{si.nMax} - si.nMin + 1;
  const int track = (vertical ? bar.Height() : bar.Width()) - 2 * size;
  TRect thumb{};
  if (span > 1 && si.nPage < span && track > 8) {
    const int64_t page = std::max<int64_t>(si.nPage, 1);
    const int len = static_cast<int>(std::clamp<int64_t>(track * page / span, 8, track));
    const int64_t range = span - page;
    const int off = range > 0 ? static_cast<int>(int64_t{track - len} * (si.nPos - si.nMin) / range) : 0;
    const int start = size + std::clamp(off, 0, track - len);
    thumb = vertical ? TRect{bar.Left, bar.Top + start, bar.Right, bar.Top + start + len}
                     : TRect{bar.Left + start, bar.Top, bar.Left + start + len, bar.Bottom};
  }
  for (const TRect& b : {first, last, thumb}) {
    if (IsRectEmpty(b)) continue;
    Fill(dc, b, COLOR_BTNFACE);
    EdgeRing(dc, EdgeRing(dc, b, COLOR_3DLIGHT, COLOR_3DDKSHADOW), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  }
}

}  // namespace

void PaintNonClient(HWND wnd) {
  Window* w = Find(wnd);
  if (!w || w->window == w->client) return;
  const TRect window{0, 0, w->window.Width(), w->window.Height()};
  const TRect client{w->client.Left - w->window.Left, w->client.Top - w->window.Top,
                     w->client.Right - w->window.Left, w->client.Bottom - w->window.Top};
  const DWORD style = w->style;
  const DWORD ex = w->exStyle;
  const NonClientLayout l = LayoutNonClient(window, style, ex);

  HDC dc = GetWindowDC(wnd);
  ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
  const int frame = FrameWidth(style, ex);
  if (frame == 1) {
    Ring(dc, window, 1, COLOR_WINDOWFRAME);
  } else if (frame > 1) {
    const TRect in = EdgeRing(dc, EdgeRing(dc, window, COLOR_3DLIGHT, COLOR_3DDKSHADOW),
                              COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    Ring(dc, in, frame - 2, (style & WS_THICKFRAME) ? COLOR_ACTIVEBORDER : COLOR_BTNFACE);
  }
  Fill(dc, l.caption, COLOR_ACTIVECAPTION);
  if (ex & WS_EX_CLIENTEDGE) {
    const TRect outer = l.caption.Bottom > l.frameInner.Top
                            ? TRect{l.frameInner.Left, l.caption.Bottom, l.frameInner.Right, l.frameInner.Bottom}
                            : l.frameInner;
    EdgeRing(dc, EdgeRing(dc, outer, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  }
  ScrollBar(dc, l.vscroll, true, w->vscroll);
  ScrollBar(dc, l.hscroll, false, w->hscroll);
  if (!IsRectEmpty(l.vscroll) && !IsRectEmpty(l.hscroll))
    Fill(dc, TRect{l.vscroll.Left, l.hscroll.Top, l.vscroll.Right, l.hscroll.Bottom}, COLOR_BTNFACE);
  ReleaseDC(wnd, dc);
}

}  // namespace os
