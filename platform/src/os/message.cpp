// Messages: sending, posting, the queue with its synthesized WM_PAINT and
// WM_TIMER, the default window procedure, timers and message boxes.
#include <vcl/Windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "os/nonclient.h"
#include "os/state.h"

using namespace os;

namespace {

LPARAM PackPoint(int32_t x, int32_t y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

bool InRange(UINT msg, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi); }

// A window filter of PeekMessage: null takes every message, (HWND)-1 only
// messages posted without a window, a window only its own.
bool MatchesWindow(HWND msgWnd, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) return msgWnd == nullptr;
  return msgWnd == filter;
}

MSG MakeMsg(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = h;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = S().cursorPos;
  return m;
}

// The path of child indices from the desktop down to the window: ordering
// these paths lexicographically puts parents before their children and
// siblings from the top of the z-order down. False when the window is not
// in the tree.
bool PaintOrderKey(const Window* w, std::vector<uint32_t>* key) {
  key->clear();
  while (w && !IsDesktop(w)) {
    const Window* p = Find(w->parent);
    if (!p) return false;
    const auto it = std::find(p->children.begin(), p->children.end(), w->handle);
    if (it == p->children.end()) return false;
    key->push_back(static_cast<uint32_t>(it - p->children.begin()));
    w = p;
  }
  if (!w) return false;
  std::reverse(key->begin(), key->end());
  return true;
}

// Puts the windows that may need painting in paint order, the next one last,
// dropping those with nothing left to paint. Windows outside the tree go to
// the front, where the search does not reach.
void SortToPaint() {
  State& s = S();
  struct Entry {
    std::vector<uint32_t> key;
    HWND h;
  };
  std::vector<Entry> entries;
  std::vector<HWND> detached;
  entries.reserve(s.toPaint.size());
  for (HWND h : s.toPaint) {
    Window* w = Find(h);
    if (!w) continue;
    if (w->update.Empty()) {
      w->listedToPaint = false;
      continue;
    }
    Entry e{{}, h};
    if (PaintOrderKey(w, &e.key)) {
      entries.push_back(std::move(e));
    } else {
      detached.push_back(h);
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return b.key < a.key; });
  s.toPaint = std::move(detached);
  s.toPaintDetached = s.toPaint.size();
  for (const Entry& e : entries) s.toPaint.push_back(e.h);
  s.toPaintSorted = true;
  s.toPaintEpoch = s.treeEpoch;
}

// The first shown window with something to paint, parents before children,
// siblings from the top of the z-order down.
HWND FindWindowToPaint(HWND filter) {
  State& s = S();
  if (s.toPaint.empty()) return nullptr;
  if (!s.toPaintSorted || s.toPaintEpoch != s.treeEpoch) SortToPaint();
  for (size_t i = s.toPaint.size(); i-- > s.toPaintDetached;) {
    const HWND h = s.toPaint[i];
    Window* w = Find(h);
    if (!w || w->update.Empty()) {
      if (w) w->listedToPaint = false;
      s.toPaint.erase(s.toPaint.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (MatchesWindow(h, filter) && IsShown(w)) return h;
  }
  return nullptr;
}

Timer* FindTimer(HWND h, uintptr_t id) {
  for (Timer& t : S().timers)
    if (t.wnd == h && t.id == id) return &t;
  return nullptr;
}

Timer* DueTimer(HWND filter) {
  State& s = S();
  Timer* best = nullptr;
  for (Timer& t : s.timers) {
    if (t.due > s.clock || !MatchesWindow(t.wnd, filter)) continue;
    if (!best || t.due < best->due || (t.due == best->due && t.seq < best->seq)) best = &t;
  }
  return best;
}

LRESULT HitTest(Window* w, TPoint pt) {
  const TRect window = WindowRectOnScreen(w);
  if (!PtInRect(window, pt)) return HTNOWHERE;
  if (PtInRect(ClientRectOnScreen(w), pt)) return HTCLIENT;
  const NonClientLayout l = LayoutNonClient(window, w->style, w->exStyle);
  if (!PtInRect(l.frameInner, pt)) return HTBORDER;
  if (PtInRect(l.caption, pt)) return HTCAPTION;
  if (PtInRect(l.vscroll, pt)) return HTVSCROLL;
  if (PtInRect(l.hscroll, pt)) return HTHSCROLL;
  if (!PtInRect(l.edgeInner, pt)) return HTBORDER;
  return HTNOWHERE;  // the corner between two scroll bars
}

int DefaultMessageBox(HWND, const char* text, const char* caption, UINT type) {
  std::printf("%s: %s\n", caption ? caption : "Error", text ? text : "");
  std::fflush(stdout);
  return (type & 0xF) == MB_YESNO ? IDYES : IDOK;
}

}  // namespace

// ---------------------------------------------------------------------------
// Sending and posting

LRESULT SendMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(h);
  if (!w) return 0;
  if (msg == WM_PAINT) ++w->paintCount;
  const WNDPROC proc = w->proc;
  return proc ? proc(h, msg, wParam, lParam) : DefWindowProc(h, msg, wParam, lParam);
}

BOOL PostMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (h && !Find(h)) return FALSE;
  S().queue.push_back(MakeMsg(h, msg, wParam, lParam));
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  State& s = S();
  s.quitPosted = true;
  s.quitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND wnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  State& s = S();
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  const bool threadOnly = wnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
  if (wnd && !threadOnly && !Find(wnd)) return FALSE;

  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (!MatchesWindow(it->hwnd, wnd) || !InRange(it->message, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove) s.queue.erase(it);
    return TRUE;
  }
  if (s.quitPosted && !wnd && InRange(WM_QUIT, filterMin, filterMax)) {
    *msg = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
    if (remove) s.quitPosted = false;
    return TRUE;
  }
  if (!threadOnly && InRange(WM_PAINT, filterMin, filterMax)) {
    PaintDesktop();
    PaintPendingFrames(s.desktop);
    if (HWND h = FindWindowToPaint(wnd)) {
      *msg = MakeMsg(h, WM_PAINT, 0, 0);
      return TRUE;
    }
  }
  if (InRange(WM_TIMER, filterMin, filterMax)) {
    if (Timer* t = DueTimer(wnd)) {
      *msg = MakeMsg(t->wnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc));
      if (remove) t->due = s.clock + t->elapse;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a timer procedure that is registered for this timer is called:
    // a posted WM_TIMER cannot make us jump to an arbitrary address.
    Timer* t = FindTimer(msg->hwnd, msg->wParam);
    if (t && reinterpret_cast<LPARAM>(t->proc) == msg->lParam) {
      t->proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
      return 0;
    }
  }
  if (!msg->hwnd) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc || !Find(h)) return 0;
  return proc(h, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The default window procedure

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(h);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      TRect* r = wParam ? (lParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : nullptr)
                        : reinterpret_cast<TRect*>(lParam);
      if (r) *r = LayoutNonClient(*r, w->style, w->exStyle).client;
      return 0;
    }
    case WM_NCHITTEST:
      return HitTest(w, TPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT:
      PaintNonClient(h);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      const HBRUSH brush = w->cls->wc.hbrBackground;
      if (!brush) return 0;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      TRect box;
      GetClipBox(dc, &box);
      FillRect(dc, &box, brush);
      return 1;
    }
    case WM_SETCURSOR: {
      if (w->style & WS_CHILD) {
        const HWND parent = w->parent;
        if (parent != S().desktop && SendMessage(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
        if (!(w = Find(h))) return FALSE;
      }
      if (LOWORD(lParam) == HTCLIENT && w->cls->wc.hCursor) SetCursor(w->cls->wc.hCursor);
      return FALSE;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!pos) return 0;
      const UINT flags = pos->flags;
      if (!(flags & SWP_NOCLIENTMOVE)) {
        SendMessage(h, WM_MOVE, 0, PackPoint(w->client.Left, w->client.Top));
        if (!(w = Find(h))) return 0;
      }
      if (!(flags & SWP_NOCLIENTSIZE)) {
        SendMessage(h, WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(w->client.Width()),
                               static_cast<WORD>(w->client.Height())));
      }
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == h) ReleaseCapture();
      return 0;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      const size_t n = std::min<size_t>(w->text.size(), wParam - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------
// Timers and the clock

uintptr_t SetTimer(HWND h, uintptr_t id, UINT elapse, TIMERPROC proc) {
  State& s = S();
  if (h && !Find(h)) return 0;
  // As the system does, very short periods are raised to 10 ms.
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
  if (!h && (id == 0 || !FindTimer(nullptr, id))) {
    do {
      id = s.nextTimerId++;
    } while (id == 0 || FindTimer(nullptr, id));
  }
  if (Timer* t = FindTimer(h, id)) {
    t->elapse = elapse;
    t->due = s.clock + elapse;
    t->proc = proc;
  } else {
    s.timers.push_back(Timer{h, id, elapse, s.clock + elapse, proc, s.timerSeq++});
  }
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND h, uintptr_t id) {
  auto& timers = S().timers;
  const auto n = std::erase_if(timers, [&](const Timer& t) { return t.wnd == h && t.id == id; });
  return n ? TRUE : FALSE;
}

DWORD GetTickCount() { return static_cast<DWORD>(S().clock); }

void os::KillTimersOf(HWND h) {
  std::erase_if(S().timers, [&](const Timer& t) { return t.wnd == h; });
}

void os::DropMessagesFor(HWND h) {
  std::erase_if(S().queue, [&](const MSG& m) { return m.hwnd == h; });
}

// ---------------------------------------------------------------------------
// Message boxes

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  const os::MessageBoxHook hook = S().messageBoxHook;
  return hook ? hook(owner, text, caption, type) : DefaultMessageBox(owner, text, caption, type);
}

// ---------------------------------------------------------------------------
// Host interface

namespace os {

void AdvanceClock(DWORD ms) { S().clock += ms; }

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
  State& s = S();
  const MessageBoxHook previous = s.messageBoxHook;
  s.messageBoxHook = hook;
  return previous;
}

int ProcessMessages() {
  int dispatched = 0;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the host's loop
      break;
    }
    Region before;
    if (msg.message == WM_PAINT)
      if (Window* w = Find(msg.hwnd)) before = w->update;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    ++dispatched;
    if (msg.message == WM_PAINT) {
      Window* w = Find(msg.hwnd);
      if (w && IsShown(w) && !w->update.Empty() && w->update == before)
        throw std::logic_error("window " + std::to_string(Key(msg.hwnd)) +
                               " did not validate its update region in WM_PAINT");
    }
  }
  return dispatched;
}

int PaintCount(HWND wnd) {
  Window* w = Find(wnd);
  return w ? w->paintCount : 0;
}

}  // namespace os
