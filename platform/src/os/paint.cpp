// Update regions, invalidation and validation, WM_PAINT delivery, BeginPaint
// and EndPaint, and the region objects (HRGN).
#include <vcl/Windows.h>

#include "os/state.h"

using namespace os;

namespace {

// The window's client area within its ancestors' client areas, on screen:
// the only part of it that can ever be painted.
TRect PaintableRect(const Window* w) {
  TRect r = ClientRectOnScreen(w);
  for (const Window* p = Find(w->parent); p; p = Find(p->parent)) IntersectRect(r, r, ClientRectOnScreen(p));
  return r;
}

bool ReachesChildren(const Window* w, ChildMode mode) {
  if (mode == ChildMode::None) return false;
  return mode == ChildMode::All || !(w->style & WS_CLIPCHILDREN);
}

ChildMode ModeFromFlags(UINT flags) {
  if (flags & RDW_ALLCHILDREN) return ChildMode::All;
  if (flags & RDW_NOCHILDREN) return ChildMode::None;
  return ChildMode::Default;
}

Region ToScreen(const Window* w, Region r) {
  const TPoint o = ClientOrigin(w);
  r.Offset(o.X, o.Y);
  return r;
}

void ValidateScreen(Window* w, const Region& screen, ChildMode mode) {
  const TPoint o = ClientOrigin(w);
  Region local = screen;
  local.Offset(-o.X, -o.Y);
  w->update -= local;
  if (w->update.Empty()) w->erase = false;
  if (!ReachesChildren(w, mode)) return;
  for (HWND c : w->children)
    if (Window* cw = Find(c)) ValidateScreen(cw, screen, mode == ChildMode::All ? mode : ChildMode::Default);
}

// Sends WM_ERASEBKGND now to windows whose erase is pending.
void EraseNow(HWND h, ChildMode mode) {
  Window* w = Find(h);
  if (!w || !IsShown(w)) return;
  if (w->erase && !w->update.Empty()) {
    const Region update = w->update;
    HDC dc = CreateDc(h, Area::Client, false, &update);
    const LRESULT erased = SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(h, dc);
    if (!(w = Find(h))) return;
    if (erased) w->erase = false;
  }
  if (!ReachesChildren(w, mode)) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) EraseNow(c, mode == ChildMode::All ? mode : ChildMode::Default);
}

// Paints the window and then, as the mode says, its children.
void UpdateNow(HWND h, ChildMode mode) {
  PaintIfNeeded(h);
  Window* w = Find(h);
  if (!w || !ReachesChildren(w, mode)) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) UpdateNow(c, mode == ChildMode::All ? mode : ChildMode::Default);
}

// The region an HRGN, a rectangle or neither (the whole client area) names,
// in client coordinates; false for an HRGN that is no region.
bool AreaOf(const Window* w, const TRect* rect, HRGN rgn, Region* out) {
  if (rgn) {
    const GdiObject* obj = FindObject(rgn);
    if (!obj || obj->kind != GdiKind::Region) return false;
    *out = obj->region;
  } else if (rect) {
    *out = Region(*rect);
  } else {
    *out = Region(TRect{0, 0, w->client.Width(), w->client.Height()});
  }
  return true;
}

GdiObject* FindRegion(HRGN rgn) {
  GdiObject* obj = FindObject(rgn);
  return obj && obj->kind == GdiKind::Region ? obj : nullptr;
}

HRGN NewRegion(Region r) {
  const HRGN h = NewHandle<HRGN>();
  GdiObject obj;
  obj.kind = GdiKind::Region;
  obj.region = std::move(r);
  S().objects.emplace(Key(h), std::move(obj));
  return h;
}

}  // namespace

// ---------------------------------------------------------------------------
// Internals shared with the window code

void os::AddUpdate(Window* w, const Region& screen, bool erase) {
  Region r = screen & Region(PaintableRect(w));
  if (r.Empty()) return;
  const TPoint o = ClientOrigin(w);
  r.Offset(-o.X, -o.Y);
  w->update |= r;
  if (erase) w->erase = true;
  if (!w->listedToPaint && !IsDesktop(w)) {
    State& s = S();
    w->listedToPaint = true;
    s.toPaint.push_back(w->handle);
    s.toPaintSorted = false;
  }
}

void os::InvalidateScreen(Window* w, const Region& screen, bool erase, ChildMode mode) {
  if (!IsShown(w)) return;
  AddUpdate(w, screen, erase);
  if (!ReachesChildren(w, mode)) return;
  for (HWND c : w->children) {
    Window* cw = Find(c);
    if (cw && (cw->style & WS_VISIBLE) && screen.Intersects(WindowRectOnScreen(cw)))
      InvalidateScreen(cw, screen, erase, mode == ChildMode::All ? mode : ChildMode::Default);
  }
}

void os::MarkFrame(Window* w) {
  if (!IsDesktop(w) && w->window != w->client) SetFramePending(w, true);
}

void os::PaintPendingFrames(HWND root) {
  if (S().framesPending == 0) return;  // nothing left anywhere below
  Window* w = Find(root);
  if (!w || !(w->style & WS_VISIBLE)) return;
  if (w->framePending) {
    SetFramePending(w, false);
    SendMessage(root, WM_NCPAINT, 1, 0);
    if (!(w = Find(root))) return;
  }
  const std::vector<HWND> children = w->children;
  for (HWND c : children) PaintPendingFrames(c);
}

void os::ExposeScreen(HWND root, const Region& screen, HWND skip) {
  Window* w = Find(root);
  if (!w || !IsShown(w) || screen.Empty()) return;
  AddUpdate(w, screen, true);
  if (!((Region(WindowRectOnScreen(w)) - Region(ClientRectOnScreen(w))) & screen).Empty()) MarkFrame(w);
  for (HWND c : w->children) {
    if (c == skip) continue;
    Window* cw = Find(c);
    if (cw && (cw->style & WS_VISIBLE) && screen.Intersects(WindowRectOnScreen(cw)))
      ExposeScreen(c, screen, skip);
  }
}

void os::PaintIfNeeded(HWND h) {
  Window* w = Find(h);
  if (!w || !IsShown(w)) return;
  if (!w->update.Empty()) {
    SendMessage(h, WM_PAINT, 0, 0);
  } else if (w->framePending) {
    SetFramePending(w, false);
    SendMessage(h, WM_NCPAINT, 1, 0);
  }
}

// ---------------------------------------------------------------------------
// Invalidation and painting

BOOL InvalidateRect(HWND h, const TRect* rect, BOOL erase) {
  if (!h) {
    // No window: the whole screen, every window on it.
    Window* desktop = Find(S().desktop);
    InvalidateScreen(desktop, Region(ClientRectOnScreen(desktop)), true, ChildMode::All);
    return TRUE;
  }
  return RedrawWindow(h, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND h, const TRect* rect) {
  if (!h) return FALSE;
  return RedrawWindow(h, rect, nullptr, RDW_VALIDATE);
}

BOOL InvalidateRgn(HWND h, HRGN rgn, BOOL erase) {
  if (rgn && !FindRegion(rgn)) return FALSE;
  return RedrawWindow(h, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL GetUpdateRect(HWND h, TRect* rect, BOOL erase) {
  Window* w = Find(h);
  if (!w) return FALSE;
  if (erase) EraseNow(h, ChildMode::None);
  if (!(w = Find(h))) return FALSE;
  if (rect) *rect = w->update.Box();
  return w->update.Empty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND h) {
  if (!Find(h)) return FALSE;
  PaintIfNeeded(h);
  return TRUE;
}

BOOL RedrawWindow(HWND h, const TRect* rect, HRGN rgn, UINT flags) {
  if (!h) h = S().desktop;
  Window* w = Find(h);
  if (!w) return FALSE;
  Region area;
  if (!AreaOf(w, rect, rgn, &area)) return FALSE;
  const Region screen = ToScreen(w, area);
  const ChildMode mode = ModeFromFlags(flags);
  if (flags & RDW_INVALIDATE) {
    if (flags & RDW_FRAME) MarkFrame(w);
    InvalidateScreen(w, screen, (flags & RDW_ERASE) != 0, mode);
  } else if (flags & RDW_VALIDATE) {
    ValidateScreen(w, screen, mode);
  } else if ((flags & RDW_ERASE) && !w->update.Empty()) {
    w->erase = true;
  }
  if (flags & RDW_ERASENOW) EraseNow(h, mode);
  if (flags & RDW_UPDATENOW) UpdateNow(h, mode);
  return TRUE;
}

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
  if (!ps) return nullptr;
  *ps = PAINTSTRUCT{};
  Window* w = Find(h);
  if (!w) return nullptr;
  if (w->framePending) {
    SetFramePending(w, false);
    SendMessage(h, WM_NCPAINT, 1, 0);
    if (!(w = Find(h))) return nullptr;
  }
  const Region update = w->update;
  const bool erase = w->erase;
  w->update = Region();
  w->erase = false;
  HDC dc = CreateDc(h, Area::Client, true, &update);
  ps->hdc = dc;
  ps->rcPaint = update.Box();
  if (erase) ps->fErase = SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND h, const PAINTSTRUCT* ps) {
  if (!ps || !Find(h)) return FALSE;
  ReleaseDC(h, ps->hdc);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Regions

HRGN CreateRectRgn(int l, int t, int r, int b) {
  return NewRegion(Region(TRect{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)}));
}

HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  GdiObject* d = FindRegion(dst);
  const GdiObject* ra = FindRegion(a);
  if (!d || !ra) return RGN_ERROR;
  if (mode == RGN_COPY) {
    d->region = ra->region;
    return d->region.Kind();
  }
  const GdiObject* rb = FindRegion(b);
  if (!rb) return RGN_ERROR;
  Region::Op op;
  switch (mode) {
    case RGN_AND:
      op = Region::Op::And;
      break;
    case RGN_OR:
      op = Region::Op::Or;
      break;
    case RGN_XOR:
      op = Region::Op::Xor;
      break;
    case RGN_DIFF:
      op = Region::Op::Diff;
      break;
    default:
      return RGN_ERROR;
  }
  d->region = Region::Combine(ra->region, rb->region, op);
  return d->region.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  const GdiObject* r = FindRegion(rgn);
  return r && r->region.Contains(x, y) ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, TRect* box) {
  const GdiObject* r = FindRegion(rgn);
  if (!r || !box) return RGN_ERROR;
  *box = r->region.Box();
  return r->region.Kind();
}

BOOL OffsetRgn(HRGN rgn, int dx, int dy) {
  GdiObject* r = FindRegion(rgn);
  if (!r) return FALSE;
  r->region.Offset(dx, dy);
  return r->region.Kind();
}
