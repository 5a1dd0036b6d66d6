#include "os/nonclient.h"

#include <algorithm>

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

}  // namespace os
