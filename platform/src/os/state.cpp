#include "os/state.h"

namespace os {

namespace {

LRESULT DesktopProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PaintDesktop();
    return 0;
  }
  return DefWindowProc(wnd, msg, wParam, lParam);
}

State* MakeState() {
  auto* s = new State;
  auto cls = std::make_shared<WindowClass>();
  cls->name = "#32769";
  cls->wc.lpszClassName = cls->name.c_str();
  cls->wc.lpfnWndProc = DesktopProc;
  cls->wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BACKGROUND + 1));
  auto desktop = std::make_unique<Window>();
  desktop->handle = reinterpret_cast<HWND>(s->nextHandle++);
  desktop->cls = cls;
  desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  desktop->window = desktop->client = TRect{0, 0, 1024, 768};
  desktop->proc = DesktopProc;
  s->desktop = desktop->handle;
  s->windows.emplace(Key(desktop->handle), std::move(desktop));
  return s;
}

}  // namespace

State& S() {
  static State* state = MakeState();
  return *state;
}

Window* Find(HWND h) {
  if (!h) return nullptr;
  auto& windows = S().windows;
  auto it = windows.find(Key(h));
  return it == windows.end() ? nullptr : it->second.get();
}

Window* FindNonDesktop(HWND h) {
  Window* w = Find(h);
  return w && !IsDesktop(w) ? w : nullptr;
}

bool IsDesktop(const Window* w) { return w->handle == S().desktop; }

DeviceContext* FindDc(HDC dc) {
  if (!dc) return nullptr;
  auto& dcs = S().dcs;
  auto it = dcs.find(Key(dc));
  return it == dcs.end() ? nullptr : &it->second;
}

GdiObject* FindObject(HGDIOBJ obj) {
  if (!obj) return nullptr;
  EnsureStockObjects();
  auto& objects = S().objects;
  auto it = objects.find(Key(obj));
  return it == objects.end() ? nullptr : &it->second;
}

TPoint ClientOrigin(const Window* w) {
  int64_t x = 0;
  int64_t y = 0;
  for (const Window* p = w; p; p = Find(p->parent)) {
    x += p->client.Left;
    y += p->client.Top;
  }
  return TPoint{Saturate(x), Saturate(y)};
}

namespace {

TRect Translate(const TRect& r, const TPoint& by) {
  return TRect{Saturate(int64_t{r.Left} + by.X), Saturate(int64_t{r.Top} + by.Y),
               Saturate(int64_t{r.Right} + by.X), Saturate(int64_t{r.Bottom} + by.Y)};
}

TPoint ParentClientOrigin(const Window* w) {
  const Window* p = Find(w->parent);
  return p ? ClientOrigin(p) : TPoint{};
}

}  // namespace

TRect WindowRectOnScreen(const Window* w) { return Translate(w->window, ParentClientOrigin(w)); }

TRect ClientRectOnScreen(const Window* w) { return Translate(w->client, ParentClientOrigin(w)); }

bool IsShown(const Window* w) {
  for (const Window* p = w; p; p = Find(p->parent))
    if (!(p->style & WS_VISIBLE)) return false;
  return true;
}

Region VisibleRegion(const Window* w, Area area, bool clipChildren) {
  if (!IsShown(w)) return Region();
  Region rgn(area == Area::Client ? ClientRectOnScreen(w) : WindowRectOnScreen(w));
  for (const Window* a = w; !rgn.Empty(); a = Find(a->parent)) {
    const Window* parent = Find(a->parent);
    if (!parent) break;
    rgn &= Region(ClientRectOnScreen(parent));
    const bool clipSiblings = IsDesktop(parent) || (a->style & WS_CLIPSIBLINGS);
    if (!clipSiblings) continue;
    for (HWND sh : parent->children) {
      if (sh == a->handle) break;  // only the siblings above
      const Window* sib = Find(sh);
      if (sib && (sib->style & WS_VISIBLE)) rgn -= Region(WindowRectOnScreen(sib));
    }
  }
  if (clipChildren) {
    for (HWND ch : w->children) {
      const Window* c = Find(ch);
      if (c && (c->style & WS_VISIBLE)) rgn -= Region(WindowRectOnScreen(c));
    }
  }
  return rgn;
}

}  // namespace os
