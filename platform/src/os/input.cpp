// Mouse input and the capture: an injected mouse event finds its window
// (the capture holder, or the window under the mouse and its hit-test
// code), sets the cursor through WM_SETCURSOR, and posts the mouse message
// in the window's client coordinates or, over the non-client area, in
// screen coordinates.
#include <vcl/Windows.h>

#include <algorithm>
#include <cstdlib>

#include "os/state.h"

using namespace os;

namespace {

constexpr UINT kDoubleClickTime = 500;

enum class Event { Move, Down, Up };

LPARAM PackPoint(int32_t x, int32_t y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

int Index(MouseButton b) { return static_cast<int>(b); }

// The client message of an event; the non-client one is 0xA0 below it.
UINT ClientMessage(Event e, int button, bool dbl) {
  if (e == Event::Move) return WM_MOUSEMOVE;
  static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  const UINT down = kDown[button];
  if (e == Event::Up) return down + 1;
  return dbl ? down + 2 : down;
}
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

WPARAM KeyState() {
  const State& s = S();
  WPARAM k = 0;
  if (s.buttonDown[0]) k |= MK_LBUTTON;
  if (s.buttonDown[1]) k |= MK_RBUTTON;
  if (s.buttonDown[2]) k |= MK_MBUTTON;
  if (s.shiftDown) k |= MK_SHIFT;
  if (s.controlDown) k |= MK_CONTROL;
  return k;
}

// Whether a press continues the last one into a double click; a double
// click ends the sequence, so a third press starts a new one.
bool IsDoubleClick(HWND target, int button, bool client) {
  State& s = S();
  const State::Press& last = s.lastPress;
  const Window* w = Find(target);
  const bool allowed = !client || (w && (w->cls->wc.style & CS_DBLCLKS));
  const bool dbl = allowed && last.valid && last.wnd == target && last.button == button &&
                   s.clock - last.time < GetDoubleClickTime() &&
                   std::abs(int64_t{s.cursorPos.X} - last.pt.X) <=
                       GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                   std::abs(int64_t{s.cursorPos.Y} - last.pt.Y) <=
                       GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (dbl)
    s.lastPress = State::Press{};
  else
    s.lastPress = State::Press{true, target, button, s.clock, s.cursorPos};
  return dbl;
}

// Delivers the event at the present mouse position and button state.
void Deliver(Event e, int button) {
  State& s = S();
  const TPoint pt = s.cursorPos;
  if (Window* cw = Find(s.capture)) {
    const HWND target = cw->handle;
    const bool dbl = e == Event::Down && IsDoubleClick(target, button, true);
    const TPoint o = ClientOrigin(cw);
    PostMessage(target, ClientMessage(e, button, dbl), KeyState(),
              PackPoint(pt.X - o.X, pt.Y - o.Y));
    return;
  }
  LRESULT code = HTNOWHERE;
  const HWND target = HitTestPoint(pt, &code);
  if (!target) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    if (e == Event::Down) s.lastPress = State::Press{};
    return;
  }
  const bool client = code == HTCLIENT;
  const bool dbl = e == Event::Down && IsDoubleClick(target, button, client);
  const UINT msg = ClientMessage(e, button, dbl);
  SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
              MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(msg)));
  Window* w = Find(target);
  if (!w) return;
  if (client) {
    const TPoint o = ClientOrigin(w);
    PostMessage(target, msg, KeyState(), PackPoint(pt.X - o.X, pt.Y - o.Y));
  } else {
    PostMessage(target, msg - kNonClientOffset, static_cast<WPARAM>(code), PackPoint(pt.X, pt.Y));
  }
}

TPoint OnScreen(TPoint p) {
  const TRect screen = ScreenRect();
  return TPoint{std::clamp(p.X, screen.Left, screen.Right - 1),
                std::clamp(p.Y, screen.Top, screen.Bottom - 1)};
}

}  // namespace

// ---------------------------------------------------------------------------
// The mouse position and key state

BOOL GetCursorPos(TPoint* point) {
  if (!point) return FALSE;
  *point = S().cursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  S().cursorPos = OnScreen(TPoint{x, y});
  Deliver(Event::Move, 0);
  return TRUE;
}

int16_t GetKeyState(int virtualKey) {
  const State& s = S();
  bool down = false;
  switch (virtualKey) {
    case VK_LBUTTON:
      down = s.buttonDown[0];
      break;
    case VK_RBUTTON:
      down = s.buttonDown[1];
      break;
    case VK_MBUTTON:
      down = s.buttonDown[2];
      break;
    case VK_SHIFT:
      down = s.shiftDown;
      break;
    case VK_CONTROL:
      down = s.controlDown;
      break;
    default:
      break;
  }
  return down ? static_cast<int16_t>(0x8000) : int16_t{0};
}

int16_t GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }

UINT GetDoubleClickTime() { return kDoubleClickTime; }

// ---------------------------------------------------------------------------
// The capture

HWND SetCapture(HWND wnd) {
  State& s = S();
  const HWND previous = s.capture;
  if (!wnd) {
    ReleaseCapture();
    return previous;
  }
  if (!FindNonDesktop(wnd)) return nullptr;
  if (wnd == previous) return previous;
  s.capture = wnd;
  if (Find(previous))
    SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
  return previous;
}

HWND GetCapture() {
  State& s = S();
  if (s.capture && !Find(s.capture)) s.capture = nullptr;
  return s.capture;
}

BOOL ReleaseCapture() {
  State& s = S();
  const HWND previous = s.capture;
  if (!previous) return TRUE;
  s.capture = nullptr;
  if (Find(previous)) SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Host interface

namespace os {

void MouseMove(TPoint screenPoint) {
  S().cursorPos = OnScreen(screenPoint);
  Deliver(Event::Move, 0);
  ProcessMessages();
}

void MouseDown(MouseButton button) {
  State& s = S();
  s.buttonDown[Index(button)] = true;
  Deliver(Event::Down, Index(button));
  ProcessMessages();
}

void MouseUp(MouseButton button) {
  State& s = S();
  s.buttonDown[Index(button)] = false;
  Deliver(Event::Up, Index(button));
  ProcessMessages();
}

void Click(TPoint screenPoint, MouseButton button) {
  MouseMove(screenPoint);
  MouseDown(button);
  MouseUp(button);
}

TPoint CursorPos() { return S().cursorPos; }

void SetKeyDown(int virtualKey, bool down) {
  State& s = S();
  if (virtualKey == VK_SHIFT) s.shiftDown = down;
  if (virtualKey == VK_CONTROL) s.controlDown = down;
}

}  // namespace os
