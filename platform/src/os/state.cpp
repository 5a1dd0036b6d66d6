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

namespace {

TRect Intersection(const TRect& a, const TRect& b) {
  return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.Right > a.Left && a.Bottom > a.Top && b.Right > b.Left && b.Bottom > b.Top &&
         a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Removes from rgn the window rectangles of the visible windows of list
// before `stop` (all of them when stop is null); origin is the screen
// position of their parent's client area. Only rectangles that reach the
// region's box take part, and they are subtracted together.
void SubtractWindows(Region& rgn, const std::vector<HWND>& list, HWND stop, TPoint origin) {
  const TRect box = rgn.Box();
  std::vector<TRect> over;
  for (HWND h : list) {
    if (h == stop) break;
    const Window* o = Find(h);
    if (!o || !(o->style & WS_VISIBLE)) continue;
    const TRect r = Translate(o->window, origin);
    if (Overlap(r, box)) over.push_back(r);
  }
  if (over.size() == 1) {
    rgn -= Region(over.front());
  } else if (!over.empty()) {
    rgn -= Region::Union(over);
  }
}

}  // namespace

Region VisibleRegion(const Window* w, Area area, bool clipChildren, const Region* within) {
  if (!IsShown(w)) return Region();
  // The window with its ancestors, each with the screen position of its
  // client area.
  struct Level {
    const Window* w;
    TPoint origin;
  };
  Level chain[64];
  std::vector<Level> deep;
  size_t depth = 0;
  auto push = [&](const Level& l) {
    if (depth < std::size(chain)) {
      chain[depth] = l;
    } else {
      if (deep.empty()) deep.assign(chain, chain + depth);
      deep.push_back(l);
    }
    ++depth;
  };
  for (const Window* p = w; p; p = Find(p->parent)) push(Level{p, TPoint{}});
  Level* levels = deep.empty() ? chain : deep.data();
  int64_t x = 0;
  int64_t y = 0;
  for (size_t i = depth; i-- > 0;) {
    x += levels[i].w->client.Left;
    y += levels[i].w->client.Top;
    levels[i].origin = TPoint{Saturate(x), Saturate(y)};
  }
  const TPoint parentOrigin = depth > 1 ? levels[1].origin : TPoint{};

  // The window's rectangle within its ancestors' client areas.
  TRect rect = Translate(area == Area::Client ? w->client : w->window, parentOrigin);
  for (size_t i = 1; i < depth; ++i) {
    const TPoint po = i + 1 < depth ? levels[i + 1].origin : TPoint{};
    rect = Intersection(rect, Translate(levels[i].w->client, po));
  }
  Region rgn(rect);
  if (within) rgn &= *within;

  // Minus the siblings stacked above, at every level.
  for (size_t i = 0; i + 1 < depth && !rgn.Empty(); ++i) {
    const Window* a = levels[i].w;
    const Window* parent = levels[i + 1].w;
    const bool clipSiblings = IsDesktop(parent) || (a->style & WS_CLIPSIBLINGS);
    if (clipSiblings) SubtractWindows(rgn, parent->children, a->handle, levels[i + 1].origin);
  }
  if (clipChildren && !rgn.Empty()) SubtractWindows(rgn, w->children, nullptr, levels[0].origin);
  return rgn;
}

}  // namespace os
