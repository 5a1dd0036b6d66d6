// Window classes and the window tree: creation, destruction, placement,
// stacking, visibility and the geometry queries.
#include <vcl/Windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "os/state.h"

using namespace os;

namespace {

// A class name given as an atom (MAKEINTATOM) has a value below 0x10000.
bool IsAtom(const char* name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

std::string Lower(const char* s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::shared_ptr<WindowClass> FindClass(const char* name) {
  auto& classes = S().classes;
  if (!name) return nullptr;
  if (IsAtom(name)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    for (auto& [key, cls] : classes)
      if (cls->atom == atom) return cls;
    return nullptr;
  }
  auto it = classes.find(Lower(name));
  return it == classes.end() ? nullptr : it->second;
}

bool ClassInUse(const WindowClass* cls) {
  for (auto& [key, w] : S().windows)
    if (w->cls.get() == cls) return true;
  return false;
}

TRect NormalizedClient(const TRect& r) {
  TRect c = r;
  c.Right = std::max(c.Right, c.Left);
  c.Bottom = std::max(c.Bottom, c.Top);
  return c;
}

HWND TopLevelOf(HWND h) {
  Window* w = Find(h);
  while (w && !IsDesktop(w)) {
    Window* p = Find(w->parent);
    if (!p || IsDesktop(p)) return w->handle;
    w = p;
  }
  return nullptr;
}

// Removes a window and whatever is left of its subtree from the tables,
// without messages.
void Free(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) Free(c);
  w = Find(h);
  if (Window* p = Find(w->parent)) std::erase(p->children, h);
  SetFramePending(w, false);
  State& s = S();
  ++s.treeEpoch;
  for (auto& [key, other] : s.windows)
    if (other->owner == h) other->owner = nullptr;
  if (s.capture == h) s.capture = nullptr;
  KillTimersOf(h);
  DropMessagesFor(h);
  ReleaseDcsOf(h);
  s.windows.erase(Key(h));
}

// WM_DESTROY to the window, then to its children (each before its own children).
void SendDestroy(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  w->destroying = true;
  SendMessage(h, WM_DESTROY, 0, 0);
  w = Find(h);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) SendDestroy(c);
}

// WM_NCDESTROY to the children first, then to the window, which is then freed.
void SendNcDestroyAndFree(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) {
    Window* cw = Find(c);
    if (!cw) continue;
    if (!cw->destroying) SendDestroy(c);
    SendNcDestroyAndFree(c);
  }
  SendMessage(h, WM_NCDESTROY, 0, 0);
  Free(h);
}

// Moves the window within its parent's z-order as SetWindowPos's insertAfter
// asks. Top-most top-level windows stay above the others. Returns whether
// the order changed.
bool Restack(Window* w, HWND after) {
  Window* parent = Find(w->parent);
  if (!parent) return false;
  auto& list = parent->children;
  const auto oldIndex = std::find(list.begin(), list.end(), w->handle) - list.begin();
  const bool topLevel = IsDesktop(parent);
  if (topLevel && after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
  if (topLevel && after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;

  std::erase(list, w->handle);
  // The first position this window may take: below every top-most window
  // unless it is top-most itself.
  size_t first = 0;
  if (topLevel && !(w->exStyle & WS_EX_TOPMOST)) {
    while (first < list.size()) {
      const Window* o = Find(list[first]);
      if (!o || !(o->exStyle & WS_EX_TOPMOST)) break;
      ++first;
    }
  }
  size_t index = first;
  if (after == HWND_BOTTOM) {
    index = list.size();
  } else if (after != HWND_TOP && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
    auto it = std::find(list.begin(), list.end(), after);
    index = it == list.end() ? static_cast<size_t>(oldIndex)
                             : static_cast<size_t>(it - list.begin()) + 1;
  }
  index = std::clamp(index, first, list.size());
  if (topLevel && (w->exStyle & WS_EX_TOPMOST)) {
    // A top-most window stays above the non-top-most ones.
    size_t lastTopmost = 0;
    while (lastTopmost < list.size()) {
      const Window* o = Find(list[lastTopmost]);
      if (!o || !(o->exStyle & WS_EX_TOPMOST)) break;
      ++lastTopmost;
    }
    index = std::min(index, lastTopmost);
  }
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), w->handle);
  ++S().treeEpoch;
  return static_cast<std::ptrdiff_t>(index) != oldIndex;
}

// The first z-order position for a new window: the top, below any top-most
// top-level windows unless it is top-most itself.
void InsertOnTop(Window* parent, Window* w) {
  auto& list = parent->children;
  size_t index = 0;
  if (IsDesktop(parent) && !(w->exStyle & WS_EX_TOPMOST)) {
    while (index < list.size()) {
      const Window* o = Find(list[index]);
      if (!o || !(o->exStyle & WS_EX_TOPMOST)) break;
      ++index;
    }
  }
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), w->handle);
  ++S().treeEpoch;
}

LPARAM PackPoint(int32_t x, int32_t y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// Invalidates what a change of place, size, stacking or visibility exposed:
// the part of the old area the window no longer covers goes to the windows
// beneath; in the window itself whatever was not on screen before (or all of
// it when the class or the flags ask for a full redraw), plus the strips a
// growing client area gains.
struct Before {
  bool shown = false;
  Region visible;
  TRect windowOnScreen;
  TRect client;  // parent client coordinates
  TRect window;
};

void RepaintAfterChange(HWND h, const Before& before, UINT flags) {
  Window* w = Find(h);
  if (!w) return;
  const Region now = VisibleRegion(w, Area::Window, false);
  const Region uncovered = before.visible - now;
  if (!uncovered.Empty()) ExposeScreen(w->parent, uncovered, h);
  w = Find(h);
  if (!w || now.Empty()) return;

  const TRect screenRect = WindowRectOnScreen(w);
  const TPoint delta{screenRect.Left - before.windowOnScreen.Left,
                     screenRect.Top - before.windowOnScreen.Top};
  const bool moved = delta.X != 0 || delta.Y != 0;
  const bool widthChanged = w->client.Width() != before.client.Width();
  const bool heightChanged = w->client.Height() != before.client.Height();
  const bool sized = w->window.Width() != before.window.Width() ||
                     w->window.Height() != before.window.Height();
  const bool clientShifted =
      w->client.Left - w->window.Left != before.client.Left - before.window.Left ||
      w->client.Top - w->window.Top != before.client.Top - before.window.Top;
  const UINT cs = w->cls->wc.style;
  const bool whole = !before.shown || ((flags & SWP_NOCOPYBITS) && (moved || sized)) || clientShifted;
  if (whole) {
    ExposeScreen(h, now, nullptr);
    return;
  }
  // The class asks for the whole window when its client width (height)
  // changes. That is the window's own drawing: its children keep their place
  // in it, so their pixels are carried along with the rest, and they are
  // repainted only where they were not on screen or where the window's own
  // painting reaches them (without WS_CLIPCHILDREN).
  const bool redrawAll = ((cs & CS_HREDRAW) && widthChanged) || ((cs & CS_VREDRAW) && heightChanged);
  if (sized || (flags & SWP_FRAMECHANGED)) MarkFrame(w);
  Region kept = before.visible;
  kept.Offset(delta.X, delta.Y);
  kept &= now;
  if (!redrawAll || !(w->style & WS_CLIPCHILDREN)) {
    CopyScreenBits(kept, delta);
  } else if (delta.X != 0 || delta.Y != 0) {
    // The window's own pixels are all painted again and its painting leaves
    // its children alone: only theirs are worth carrying.
    std::vector<TRect> children;
    for (HWND ch : w->children) {
      const Window* c = Find(ch);
      if (!c || !(c->style & WS_VISIBLE)) continue;
      const TRect r = WindowRectOnScreen(c);
      if (kept.Intersects(r)) children.push_back(r);
    }
    if (!children.empty()) CopyScreenBits(kept & Region::Union(children), delta);
  }
  ExposeScreen(h, now - kept, nullptr);
  if (redrawAll) {
    w = Find(h);
    if (w) InvalidateScreen(w, now, true, ChildMode::Default);
    return;
  }
  if (widthChanged || heightChanged) {
    w = Find(h);
    if (!w) return;
    Region strips = Region(TRect{0, 0, w->client.Width(), w->client.Height()}) -
                    Region(TRect{0, 0, before.client.Width(), before.client.Height()});
    if (!strips.Empty()) {
      strips.Offset(ClientOrigin(w).X, ClientOrigin(w).Y);
      InvalidateScreen(w, strips, true, ChildMode::Default);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Classes

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName || IsAtom(wc->lpszClassName) || !*wc->lpszClassName) return 0;
  State& s = S();
  const std::string key = Lower(wc->lpszClassName);
  if (s.classes.count(key) || s.nextAtom == 0) return 0;
  auto cls = std::make_shared<WindowClass>();
  cls->wc = *wc;
  cls->name = wc->lpszClassName;
  cls->menuName = wc->lpszMenuName && !IsAtom(wc->lpszMenuName) ? wc->lpszMenuName : "";
  cls->wc.lpszClassName = cls->name.c_str();
  cls->wc.lpszMenuName = wc->lpszMenuName ? cls->menuName.c_str() : nullptr;
  cls->atom = s.nextAtom++;  // wraps to 0 after the last atom: no more classes then
  s.classes.emplace(key, cls);
  return cls->atom;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
  auto cls = FindClass(className);
  if (!cls || ClassInUse(cls.get())) return FALSE;
  S().classes.erase(Lower(cls->name.c_str()));
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE, const char* className, WNDCLASS* out) {
  auto cls = FindClass(className);
  if (!cls || !out) return FALSE;
  *out = cls->wc;
  return TRUE;
}

// ---------------------------------------------------------------------------
// Creation and destruction

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param) {
  auto cls = FindClass(className);
  if (!cls) return nullptr;
  State& s = S();
  Window* parentWin = nullptr;
  HWND owner = nullptr;
  if (style & WS_CHILD) {
    parentWin = Find(parent);
    if (!parentWin || parentWin->destroying) return nullptr;
  } else {
    if (parent) {
      owner = TopLevelOf(parent);
      if (!owner) return nullptr;
    }
    parentWin = Find(s.desktop);
    // Top-level windows always clip their siblings; overlapped ones always
    // have a caption.
    style |= WS_CLIPSIBLINGS;
    if (!(style & WS_POPUP)) style |= WS_CAPTION;
  }

  auto win = std::make_unique<Window>();
  Window* w = win.get();
  const HWND h = NewHandle<HWND>();
  w->handle = h;
  w->cls = cls;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->parent = parentWin->handle;
  w->owner = owner;
  w->window = Bounds(ClampCoord(x), ClampCoord(y), ClampCoord(std::max(width, 0)),
                     ClampCoord(std::max(height, 0)));
  w->client = w->window;
  w->proc = cls->wc.lpfnWndProc;
  w->id = (style & WS_CHILD) ? reinterpret_cast<intptr_t>(menu) : 0;
  w->instance = instance;
  s.windows.emplace(Key(h), std::move(win));
  InsertOnTop(parentWin, w);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = w->window.Width();
  cs.cy = w->window.Height();
  cs.x = w->window.Left;
  cs.y = w->window.Top;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = cls->name.c_str();
  cs.dwExStyle = exStyle;

  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (Find(h)) {
      Find(h)->destroying = true;
      SendNcDestroyAndFree(h);
    }
    return nullptr;
  }
  if (!(w = Find(h))) return nullptr;
  TRect rc = w->window;
  SendMessage(h, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  if (!(w = Find(h))) return nullptr;
  w->client = NormalizedClient(rc);

  if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!(w = Find(h))) return nullptr;
  SendMessage(h, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(static_cast<WORD>(w->client.Width()), static_cast<WORD>(w->client.Height())));
  if (!(w = Find(h))) return nullptr;
  SendMessage(h, WM_MOVE, 0, PackPoint(w->client.Left, w->client.Top));
  if (!Find(h)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return Find(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND h) {
  Window* w = FindNonDesktop(h);
  if (!w || w->destroying) return FALSE;
  // Owned windows go first.
  std::vector<HWND> owned;
  for (auto& [key, other] : S().windows)
    if (other->owner == h) owned.push_back(other->handle);
  for (HWND o : owned) DestroyWindow(o);
  w = Find(h);
  if (!w || w->destroying) return FALSE;

  const HWND parent = w->parent;
  const Region exposed = VisibleRegion(w, Area::Window, false);
  SendDestroy(h);
  SendNcDestroyAndFree(h);
  if (!exposed.Empty()) ExposeScreen(parent, exposed, nullptr);
  return TRUE;
}

BOOL IsWindow(HWND h) { return Find(h) != nullptr; }

BOOL IsWindowVisible(HWND h) {
  Window* w = Find(h);
  return w && IsShown(w);
}

BOOL IsWindowEnabled(HWND h) {
  Window* w = Find(h);
  return w && !(w->style & WS_DISABLED);
}

BOOL EnableWindow(HWND h, BOOL enable) {
  Window* w = FindNonDesktop(h);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (wasDisabled == (enable ? FALSE : TRUE)) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
  }
  SendMessage(h, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL ShowWindow(HWND h, int cmd) {
  Window* w = FindNonDesktop(h);
  if (!w) return FALSE;
  const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  const bool show = cmd != SW_HIDE;
  if ((show ? TRUE : FALSE) == wasVisible) return wasVisible;
  SendMessage(h, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || !show) flags |= SWP_NOACTIVATE;
  SetWindowPos(h, nullptr, 0, 0, 0, 0, flags);
  return wasVisible;
}

BOOL SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindNonDesktop(h);
  if (!w) return FALSE;
  WINDOWPOS pos{h, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    pos.x = w->window.Left;
    pos.y = w->window.Top;
  }
  if (flags & SWP_NOSIZE) {
    pos.cx = w->window.Width();
    pos.cy = w->window.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(w = Find(h))) return FALSE;
    flags = pos.flags;
  }

  Before before;
  before.shown = IsShown(w);
  before.window = w->window;
  before.client = w->client;
  before.windowOnScreen = WindowRectOnScreen(w);
  const bool redraw = !(flags & SWP_NOREDRAW);
  if (redraw) before.visible = VisibleRegion(w, Area::Window, false);

  TRect rect = w->window;
  if (!(flags & SWP_NOMOVE)) {
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    rect.Left = ClampCoord(pos.x);
    rect.Top = ClampCoord(pos.y);
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
  }
  if (!(flags & SWP_NOSIZE)) {
    rect.Right = rect.Left + ClampCoord(std::max(pos.cx, 0));
    rect.Bottom = rect.Top + ClampCoord(std::max(pos.cy, 0));
  }
  const bool moved = rect.Left != w->window.Left || rect.Top != w->window.Top;
  const bool sized = rect.Width() != w->window.Width() || rect.Height() != w->window.Height();

  const bool zChanged = !(flags & SWP_NOZORDER) && Restack(w, pos.hwndInsertAfter);
  bool showChanged = false;
  if ((flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
    w->style |= WS_VISIBLE;
    showChanged = true;
  } else if ((flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE)) {
    w->style &= ~WS_VISIBLE;
    showChanged = true;
  }

  w->window = rect;
  if (sized || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = rect;
    params.rgrc[1] = before.window;
    params.rgrc[2] = before.client;
    params.lppos = &pos;
    SendMessage(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!(w = Find(h))) return FALSE;
    w->client = NormalizedClient(params.rgrc[0]);
  } else if (moved) {
    OffsetRect(w->client, rect.Left - before.window.Left, rect.Top - before.window.Top);
  }

  const bool clientMoved =
      w->client.Left != before.client.Left || w->client.Top != before.client.Top;
  const bool clientSized = w->client.Width() != before.client.Width() ||
                           w->client.Height() != before.client.Height();
  const bool changed = moved || sized || zChanged || showChanged || (flags & SWP_FRAMECHANGED);
  if (!changed) return TRUE;

  if (redraw) RepaintAfterChange(h, before, flags);
  if (!(w = Find(h))) return TRUE;

  UINT done = flags & ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW);
  if (showChanged) done |= (w->style & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  if (!moved) done |= SWP_NOMOVE;
  if (!sized) done |= SWP_NOSIZE;
  if (!zChanged) done |= SWP_NOZORDER;
  if (!clientMoved) done |= SWP_NOCLIENTMOVE;
  if (!clientSized) done |= SWP_NOCLIENTSIZE;
  WINDOWPOS changedPos{h, pos.hwndInsertAfter, w->window.Left, w->window.Top, w->window.Width(),
                       w->window.Height(), done};
  SendMessage(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&changedPos));
  return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(h, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

// ---------------------------------------------------------------------------
// Geometry

BOOL GetWindowRect(HWND h, TRect* rect) {
  Window* w = Find(h);
  if (!w || !rect) return FALSE;
  *rect = WindowRectOnScreen(w);
  return TRUE;
}

BOOL GetClientRect(HWND h, TRect* rect) {
  Window* w = Find(h);
  if (!w || !rect) return FALSE;
  *rect = TRect{0, 0, w->client.Width(), w->client.Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND h, TPoint* p) {
  Window* w = Find(h);
  if (!w || !p) return FALSE;
  const TPoint o = ClientOrigin(w);
  *p = TPoint{Saturate(int64_t{p->X} + o.X), Saturate(int64_t{p->Y} + o.Y)};
  return TRUE;
}

BOOL ScreenToClient(HWND h, TPoint* p) {
  Window* w = Find(h);
  if (!w || !p) return FALSE;
  const TPoint o = ClientOrigin(w);
  *p = TPoint{Saturate(int64_t{p->X} - o.X), Saturate(int64_t{p->Y} - o.Y)};
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count) {
  Window* a = from ? Find(from) : Find(S().desktop);
  Window* b = to ? Find(to) : Find(S().desktop);
  if (!a || !b || (count && !points)) return 0;
  const TPoint oa = ClientOrigin(a);
  const TPoint ob = ClientOrigin(b);
  const int32_t dx = Saturate(int64_t{oa.X} - ob.X);
  const int32_t dy = Saturate(int64_t{oa.Y} - ob.Y);
  for (UINT i = 0; i < count; ++i)
    points[i] = TPoint{Saturate(int64_t{points[i].X} + dx), Saturate(int64_t{points[i].Y} + dy)};
  return static_cast<int>(static_cast<uint32_t>(static_cast<WORD>(dx)) |
                          (static_cast<uint32_t>(static_cast<WORD>(dy)) << 16));
}

HWND GetParent(HWND h) {
  Window* w = FindNonDesktop(h);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) {
    Window* p = Find(w->parent);
    return p && !IsDesktop(p) ? p->handle : nullptr;
  }
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND h, HWND newParent) {
  Window* w = FindNonDesktop(h);
  Window* np = newParent ? Find(newParent) : Find(S().desktop);
  if (!w || !np || np->destroying) return nullptr;
  for (Window* a = np; a; a = Find(a->parent))
    if (a == w) return nullptr;  // a window cannot go inside itself
  const HWND oldParent = w->parent;
  if (oldParent == np->handle) return oldParent;

  const Region exposed = VisibleRegion(w, Area::Window, false);
  if (Window* op = Find(oldParent)) std::erase(op->children, h);
  ++S().treeEpoch;
  w->parent = np->handle;
  if (!IsDesktop(np)) w->owner = nullptr;
  InsertOnTop(np, w);
  if (!exposed.Empty()) ExposeScreen(oldParent, exposed, h);
  if (IsShown(w)) ExposeScreen(h, VisibleRegion(w, Area::Window, false), nullptr);
  return oldParent;
}

HWND GetWindow(HWND h, UINT relation) {
  Window* w = Find(h);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation == GW_OWNER) return w->owner;
  Window* p = Find(w->parent);
  if (!p) return nullptr;
  const auto& list = p->children;
  auto it = std::find(list.begin(), list.end(), h);
  if (it == list.end()) return nullptr;
  switch (relation) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return it + 1 == list.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return it == list.begin() ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

HWND GetDesktopWindow() { return S().desktop; }

BOOL IsChild(HWND parent, HWND h) {
  Window* w = Find(h);
  if (!w || !Find(parent)) return FALSE;
  for (Window* a = Find(w->parent); a && !IsDesktop(a); a = Find(a->parent)) {
    if (a->handle == parent) return TRUE;
    if (!(a->style & WS_CHILD)) break;
  }
  return FALSE;
}

intptr_t GetWindowLongPtr(HWND h, int index) {
  Window* w = Find(h);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<intptr_t>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<intptr_t>(static_cast<LONG>(w->exStyle));
    case GWL_USERDATA:
      return w->userData;
    case GWL_WNDPROC:
      return reinterpret_cast<intptr_t>(w->proc);
    case GWL_ID:
      return w->id;
    case GWL_HINSTANCE:
      return reinterpret_cast<intptr_t>(w->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<intptr_t>(GetParent(h));
    default:
      return 0;
  }
}

intptr_t SetWindowLongPtr(HWND h, int index, intptr_t value) {
  Window* w = FindNonDesktop(h);
  if (!w) return 0;
  intptr_t old = GetWindowLongPtr(h, index);
  switch (index) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      break;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      break;
    case GWL_USERDATA:
      w->userData = value;
      break;
    case GWL_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWL_ID:
      w->id = value;
      break;
    case GWL_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(value);
      break;
    default:
      return 0;
  }
  return old;
}

LONG GetWindowLong(HWND h, int index) {
  return static_cast<LONG>(GetWindowLongPtr(h, index));
}

LONG SetWindowLong(HWND h, int index, LONG value) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE)
    return static_cast<LONG>(SetWindowLongPtr(h, index, static_cast<intptr_t>(static_cast<DWORD>(value))));
  return static_cast<LONG>(SetWindowLongPtr(h, index, value));
}

int GetWindowText(HWND h, char* buffer, int maxCount) {
  if (!buffer || maxCount <= 0 || !Find(h)) return 0;
  buffer[0] = '\0';
  return static_cast<int>(SendMessage(h, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                      reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND h) {
  if (!Find(h)) return 0;
  return static_cast<int>(SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowText(HWND h, const char* text) {
  if (!Find(h)) return FALSE;
  return SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------
// Hit testing

namespace {

// The deepest visible window under a screen point below `parent`, asking each
// candidate with WM_NCHITTEST so that HTTRANSPARENT windows let the point
// through to what lies beneath. A disabled window takes the point for its
// parent.
HWND HitWindow(HWND parentHandle, TPoint pt, LRESULT* codeOut) {
  Window* parent = Find(parentHandle);
  if (!parent) return nullptr;
  if (PtInRect(ClientRectOnScreen(parent), pt)) {
    const std::vector<HWND> children = parent->children;
    for (HWND ch : children) {
      Window* c = Find(ch);
      if (!c || !(c->style & WS_VISIBLE) || !PtInRect(WindowRectOnScreen(c), pt)) continue;
      if (c->style & WS_DISABLED) {
        if (IsDesktop(parent)) return nullptr;
        // The disabled child's parent takes the point; it is asked too.
        const LRESULT code = SendMessage(parentHandle, WM_NCHITTEST, 0, PackPoint(pt.X, pt.Y));
        *codeOut = code;
        return Find(parentHandle) ? parentHandle : nullptr;
      }
      if (HWND hit = HitWindow(ch, pt, codeOut)) return hit;
    }
  }
  if (!Find(parentHandle) || IsDesktop(Find(parentHandle))) return nullptr;
  const LRESULT code = SendMessage(parentHandle, WM_NCHITTEST, 0, PackPoint(pt.X, pt.Y));
  *codeOut = code;
  return code == HTTRANSPARENT || !Find(parentHandle) ? nullptr : parentHandle;
}

}  // namespace

HWND os::HitTestPoint(TPoint screenPoint, LRESULT* code) {
  LRESULT c = HTNOWHERE;
  HWND h = HitWindow(S().desktop, screenPoint, &c);
  if (code) *code = h ? c : HTNOWHERE;
  return h;
}

HWND WindowFromPoint(TPoint screenPoint) { return os::HitTestPoint(screenPoint, nullptr); }

HWND ChildWindowFromPoint(HWND parentHandle, TPoint clientPoint) {
  Window* parent = Find(parentHandle);
  if (!parent) return nullptr;
  const TPoint o = ClientOrigin(parent);
  const TPoint pt{Saturate(int64_t{clientPoint.X} + o.X), Saturate(int64_t{clientPoint.Y} + o.Y)};
  if (!PtInRect(WindowRectOnScreen(parent), pt)) return nullptr;
  for (HWND ch : parent->children) {
    const Window* c = Find(ch);
    if (c && PtInRect(WindowRectOnScreen(c), pt)) return ch;
  }
  return parentHandle;
}

// ---------------------------------------------------------------------------
// System metrics

int GetSystemMetrics(int index) {
  const Window* desktop = Find(S().desktop);
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return desktop->window.Width();
    case SM_CYSCREEN:
      return desktop->window.Height();
    case SM_CYFULLSCREEN:
      return desktop->window.Height() - 18;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 16;
    case SM_CYCAPTION:
    case SM_CXSIZE:
    case SM_CYSIZE:
      return 18;
    case SM_CYMENU:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXMIN:
      return 112;
    case SM_CYMIN:
      return 27;
    case SM_MOUSEPRESENT:
      return 1;
    case SM_CMOUSEBUTTONS:
      return 3;
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------
// Host interface

void os::ResetWindowSystem() {
  State& s = S();
  Window* desktop = Find(s.desktop);
  const std::vector<HWND> topLevel = desktop->children;
  for (HWND h : topLevel) Free(h);
  desktop->update = Region();
  desktop->erase = false;
  s.toPaint.clear();
  s.toPaintSorted = true;
  s.classes.clear();
  s.queue.clear();
  s.quitPosted = false;
  s.quitCode = 0;
  s.timers.clear();
  s.clock = 0;
  s.capture = nullptr;
  s.cursor = nullptr;
  s.cursorPos = TPoint{};
  std::fill(std::begin(s.buttonDown), std::end(s.buttonDown), false);
  s.shiftDown = false;
  s.controlDown = false;
  s.lastPress = State::Press{};
  s.messageBoxHook = nullptr;
  s.dcs.clear();
  s.pixels.clear();
}
