// The window system's private state: the window table, classes, the message
// queue, timers, device contexts and GDI objects. Handles are ids looked up in
// tables, never pointers, so a stale handle finds nothing instead of freed
// memory. Everything runs on the one GUI thread.
#pragma once

#include <vcl/Windows.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "os/font.h"
#include "os/region.h"

namespace os {

inline int32_t Saturate(int64_t v) {
  constexpr int64_t lo = std::numeric_limits<int32_t>::min();
  constexpr int64_t hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(v, lo, hi));
}

// Window coordinates and sizes are kept within this range so that sums of
// nested offsets stay far from overflow.
constexpr int32_t kCoordLimit = 1 << 28;
inline int32_t ClampCoord(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, -kCoordLimit, kCoordLimit));
}

struct WindowClass {
  WNDCLASS wc;  // lpszClassName and lpszMenuName point into the strings below
  std::string name;
  std::string menuName;
  ATOM atom = 0;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // the desktop for top-level windows; null only for the desktop
  HWND owner = nullptr;   // top-level windows only
  std::vector<HWND> children;  // z-order, the first is the top
  TRect window;  // in the parent's client coordinates
  TRect client;  // in the parent's client coordinates
  std::string text;
  intptr_t userData = 0;
  WNDPROC proc = nullptr;
  intptr_t id = 0;
  HINSTANCE instance = nullptr;
  Region update;  // in client coordinates
  bool erase = false;
  bool framePending = false;  // the non-client area needs WM_NCPAINT; set through SetFramePending
  bool listedToPaint = false;  // in State::toPaint
  bool destroying = false;
  int paintCount = 0;
  // The window's standard scroll bars (WS_HSCROLL, WS_VSCROLL).
  SCROLLINFO hscroll{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  SCROLLINFO vscroll{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
};

struct Timer {
  HWND wnd = nullptr;
  uintptr_t id = 0;
  UINT elapse = 0;
  uint64_t due = 0;
  TIMERPROC proc = nullptr;
  uint64_t seq = 0;  // creation order, for a stable choice among timers due together
};

// Attributes of the objects selected into a device context, copied at
// selection so that deleting the object later cannot leave the DC dangling.
struct BrushInfo {
  bool null = false;
  COLORREF color = 0;
};
struct PenInfo {
  bool null = false;
  COLORREF color = 0;
  int width = 1;
};

struct DeviceContext {
  HWND wnd = nullptr;   // null for the screen DC
  bool paint = false;   // from BeginPaint
  TPoint origin;        // screen position of device point (0, 0)
  Region visible;       // the system clip, screen coordinates, within the screen
  bool hasClip = false; // a clip region was selected
  Region clip;          // the selected clip region, screen coordinates
  TPoint viewportOrg;
  TPoint pos;           // current position for LineTo, logical coordinates
  HGDIOBJ brush = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ font = nullptr;
  BrushInfo brushInfo;
  PenInfo penInfo;
  FontInfo fontInfo;
  UINT textAlign = 0;  // TA_LEFT | TA_TOP
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = 2;  // OPAQUE
};

enum class GdiKind { Region, Brush, Pen, Font };

struct GdiObject {
  GdiKind kind = GdiKind::Region;
  bool stock = false;  // stock and system-colour objects are never deleted
  Region region;
  BrushInfo brush;
  PenInfo pen;
  FontInfo font;
};

struct State {
  uintptr_t nextHandle = 0x10000;
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
  std::map<std::string, std::shared_ptr<WindowClass>> classes;  // by lower-case name
  ATOM nextAtom = 0xC000;
  HWND desktop = nullptr;

  std::deque<MSG> queue;
  bool quitPosted = false;
  int quitCode = 0;

  std::vector<Timer> timers;
  uintptr_t nextTimerId = 1;
  uint64_t timerSeq = 0;
  uint64_t clock = 0;  // virtual milliseconds

  HWND capture = nullptr;
  HCURSOR cursor = nullptr;
  TPoint cursorPos;
  // Mouse buttons (left, right, middle) and modifier keys held down.
  bool buttonDown[3] = {};
  bool shiftDown = false;
  bool controlDown = false;
  // The last button press, for telling a double click.
  struct Press {
    bool valid = false;
    HWND wnd = nullptr;
    int button = 0;
    uint64_t time = 0;
    TPoint pt;
  } lastPress;
  MessageBoxHook messageBoxHook = nullptr;

  // How many windows have framePending set, so that the search for frames to
  // paint can stop as soon as none is left.
  int framesPending = 0;
  // The windows whose update region may be non-empty (every one that is, and
  // possibly some that were validated since), kept so that finding the next
  // window to paint need not walk the whole tree. Sorted by paint order,
  // last first, while toPaintSorted holds and toPaintEpoch matches treeEpoch.
  std::vector<HWND> toPaint;
  bool toPaintSorted = true;
  uint64_t toPaintEpoch = 0;
  size_t toPaintDetached = 0;  // the first entries of a sorted toPaint are not in the tree
  // Bumped whenever a children list changes (insertion, removal, restacking).
  uint64_t treeEpoch = 0;

  std::unordered_map<uintptr_t, DeviceContext> dcs;
  std::unordered_map<uintptr_t, GdiObject> objects;
  bool stockMade = false;
  HGDIOBJ stock[18] = {};
  HBRUSH sysBrushes[25] = {};

  // The screen: 0x00RRGGBB per pixel, row by row.
  int32_t screenWidth = 1024;
  int32_t screenHeight = 768;
  std::vector<uint32_t> pixels;
};

// The one state, created on first use and never destroyed, so that calls made
// while the program exits still find it.
State& S();

inline void SetFramePending(Window* w, bool pending) {
  if (w->framePending == pending) return;
  w->framePending = pending;
  S().framesPending += pending ? 1 : -1;
}

template <class H>
H NewHandle() {
  return reinterpret_cast<H>(S().nextHandle++);
}
inline uintptr_t Key(const void* h) { return reinterpret_cast<uintptr_t>(h); }

Window* Find(HWND h);
// The window unless it is the desktop.
Window* FindNonDesktop(HWND h);
bool IsDesktop(const Window* w);
DeviceContext* FindDc(HDC dc);
GdiObject* FindObject(HGDIOBJ obj);

// Geometry in screen coordinates.
TPoint ClientOrigin(const Window* w);
TRect WindowRectOnScreen(const Window* w);
TRect ClientRectOnScreen(const Window* w);
// The window and all its ancestors carry WS_VISIBLE.
bool IsShown(const Window* w);

enum class Area { Window, Client };
// The screen pixels the window may draw on: its window or client rectangle
// within its ancestors' client areas, minus visible siblings stacked above it
// where WS_CLIPSIBLINGS applies (always for top-level windows), minus visible
// children when clipChildren is set. Empty for a hidden window. With within
// (screen coordinates), only the part inside it.
Region VisibleRegion(const Window* w, Area area, bool clipChildren, const Region* within = nullptr);

// Painting internals.
enum class ChildMode { Default, All, None };
// Adds a screen region to the update regions of the window and, as the mode
// says, of its children: Default reaches the children unless the window has
// WS_CLIPCHILDREN (and applies the same rule below), All reaches every
// descendant, None only the window.
void InvalidateScreen(Window* w, const Region& screen, bool erase, ChildMode mode);
// Adds the part of a screen region that falls into the window's client area
// (within its ancestors) to its update region.
void AddUpdate(Window* w, const Region& screen, bool erase);
// Exposes a screen region: the window and every visible descendant that it
// touches (except the subtree of skip) get it added to their update regions.
void ExposeScreen(HWND root, const Region& screen, HWND skip);
// Sends WM_PAINT when the window is shown and has something to paint.
void PaintIfNeeded(HWND h);
// Paints the desktop's own update region (it belongs to the system).
void PaintDesktop();
// Sends WM_NCPAINT to the shown windows whose frame needs painting, parents
// first.
void PaintPendingFrames(HWND root);
// Marks the frame for repainting when the window has one.
void MarkFrame(Window* w);

// Copies the screen pixels of dst - delta to dst (a window moved by delta).
void CopyScreenBits(const Region& dst, TPoint delta);

// Device contexts.
HDC CreateDc(HWND wnd, Area area, bool paint, const Region* updateClient);
void ReleaseDcsOf(HWND wnd);

// The deepest window under a screen point (as WindowFromPoint) and its
// WM_NCHITTEST answer; 0 and HTNOWHERE over no window.
HWND HitTestPoint(TPoint screenPoint, LRESULT* code);

// Housekeeping when a window goes away.
void DropMessagesFor(HWND h);
void KillTimersOf(HWND h);

void EnsureStockObjects();
// The colour and kind of a brush handle, which may also be a system colour
// index + 1; false when it names no brush.
bool ResolveBrush(HBRUSH brush, BrushInfo* out);

// The screen.
inline uint32_t ToPixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}
inline COLORREF ToColorRef(uint32_t p) {
  return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}
// The pixels, made (filled with the desktop colour) on first use.
std::vector<uint32_t>& Pixels();
TRect ScreenRect();
// What a DC may draw on now: its system clip and selected clip, on screen.
Region EffectiveClip(const DeviceContext& dc);

}  // namespace os
