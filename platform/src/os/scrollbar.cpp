// The standard scroll bars of a window: their state, and showing or hiding
// them, which changes the client area.
#include <algorithm>

#include "os/state.h"

namespace os {
namespace {

SCROLLINFO* Bar(Window* w, int bar) {
  if (!w) return nullptr;
  if (bar == SB_HORZ) return &w->hscroll;
  if (bar == SB_VERT) return &w->vscroll;
  return nullptr;
}

void Limit(SCROLLINFO& si) {
  if (si.nMax < si.nMin) si.nMax = si.nMin;
  int64_t span = int64_t{si.nMax} - si.nMin + 1;
  if (si.nPage > span) si.nPage = static_cast<UINT>(span);
  int64_t top = int64_t{si.nMax} - std::max<int64_t>(int64_t{si.nPage} - 1, 0);
  si.nPos = static_cast<int>(std::clamp<int64_t>(si.nPos, si.nMin, std::max<int64_t>(top, si.nMin)));
}

}  // namespace
}  // namespace os

using namespace os;

BOOL ShowScrollBar(HWND wnd, int bar, BOOL show) {
  Window* w = FindNonDesktop(wnd);
  if (!w) return FALSE;
  DWORD bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  if (!bits) return FALSE;
  DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return TRUE;
  SetWindowLong(wnd, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  SCROLLINFO* si = Bar(FindNonDesktop(wnd), bar);
  if (!si || !info) return 0;
  if (info->fMask & SIF_RANGE) {
    si->nMin = info->nMin;
    si->nMax = info->nMax;
  }
  if (info->fMask & SIF_PAGE) si->nPage = info->nPage;
  if (info->fMask & SIF_POS) si->nPos = info->nPos;
  Limit(*si);
  si->nTrackPos = si->nPos;
  if (redraw) MarkFrame(FindNonDesktop(wnd));
  return si->nPos;
}

BOOL GetScrollInfo(HWND wnd, int bar, SCROLLINFO* info) {
  SCROLLINFO* si = Bar(FindNonDesktop(wnd), bar);
  if (!si || !info) return FALSE;
  UINT mask = info->fMask;
  if (mask & SIF_RANGE) {
    info->nMin = si->nMin;
    info->nMax = si->nMax;
  }
  if (mask & SIF_PAGE) info->nPage = si->nPage;
  if (mask & SIF_POS) info->nPos = si->nPos;
  if (mask & SIF_TRACKPOS) info->nTrackPos = si->nTrackPos;
  return TRUE;
}

int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw) {
  SCROLLINFO* si = Bar(FindNonDesktop(wnd), bar);
  if (!si) return 0;
  int old = si->nPos;
  SCROLLINFO in;
  in.fMask = SIF_POS;
  in.nPos = pos;
  SetScrollInfo(wnd, bar, &in, redraw);
  return old;
}

int GetScrollPos(HWND wnd, int bar) {
  SCROLLINFO* si = Bar(FindNonDesktop(wnd), bar);
  return si ? si->nPos : 0;
}

BOOL SetScrollRange(HWND wnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO in;
  in.fMask = SIF_RANGE;
  in.nMin = minPos;
  in.nMax = maxPos;
  if (!Bar(FindNonDesktop(wnd), bar)) return FALSE;
  SetScrollInfo(wnd, bar, &in, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND wnd, int bar, int* minPos, int* maxPos) {
  SCROLLINFO* si = Bar(FindNonDesktop(wnd), bar);
  if (!si) return FALSE;
  if (minPos) *minPos = si->nMin;
  if (maxPos) *maxPos = si->nMax;
  return TRUE;
}
