// Windows: the operating system's window manager and graphics interface as the
// component library sees it. Types, message ids, styles and functions carry the
// system's own names and values. Windows live in a window tree under the
// desktop; messages go through SendMessage, PostMessage and the message loop;
// painting lands in the screen framebuffer; time comes from a virtual clock.
#pragma once

#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------
// Basic types

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ATOM = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;  // 0x00BBGGRR

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct HWND__;
using HWND = HWND__*;
struct HDC__;
using HDC = HDC__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HPEN__;
using HPEN = HPEN__*;
struct HFONT__;
using HFONT = HFONT__*;
struct HRGN__;
using HRGN = HRGN__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
using HICON = HCURSOR;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HMENU__;
using HMENU = HMENU__*;
using HGDIOBJ = void*;

// The platform's point and rectangle. Right and Bottom are exclusive.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

using POINT = TPoint;
using RECT = TRect;

inline TPoint Point(int32_t x, int32_t y) { return TPoint{x, y}; }
inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect{l, t, r, b}; }
inline TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return TRect{l, t, l + w, t + h}; }

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
  return static_cast<LPARAM>(static_cast<int32_t>(static_cast<uint32_t>(lo) |
                                                  (static_cast<uint32_t>(hi) << 16)));
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
  return static_cast<WPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}
// The x and y of a packed point, each sign-extended from 16 bits.
constexpr int32_t GET_X_LPARAM(LPARAM v) { return static_cast<int16_t>(LOWORD(v)); }
constexpr int32_t GET_Y_LPARAM(LPARAM v) { return static_cast<int16_t>(HIWORD(v)); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
         (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// ---------------------------------------------------------------------------
// Rectangles

BOOL PtInRect(const TRect& r, const TPoint& p);
BOOL IsRectEmpty(const TRect& r);
BOOL InflateRect(TRect& r, int dx, int dy);
BOOL OffsetRect(TRect& r, int dx, int dy);
BOOL IntersectRect(TRect& dst, const TRect& a, const TRect& b);
BOOL UnionRect(TRect& dst, const TRect& a, const TRect& b);
BOOL SetRect(TRect& r, int l, int t, int rt, int b);
BOOL SetRectEmpty(TRect& r);
BOOL EqualRect(const TRect& a, const TRect& b);

// ---------------------------------------------------------------------------
// Messages

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
// Mouse messages over the non-client area: wParam is the hit-test code,
// lParam the screen point.
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSELAST = 0x0209;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_USER = 0x0400;

// WM_SIZE wParam
constexpr WPARAM SIZE_RESTORED = 0;

// WM_NCHITTEST results
constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTHSCROLL = 6;
constexpr LRESULT HTVSCROLL = 7;
constexpr LRESULT HTMINBUTTON = 8;
constexpr LRESULT HTMAXBUTTON = 9;
constexpr LRESULT HTLEFT = 10;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTTOP = 12;
constexpr LRESULT HTTOPLEFT = 13;
constexpr LRESULT HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMLEFT = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;
constexpr LRESULT HTBORDER = 18;

// Mouse key state in the wParam of mouse messages
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Scroll codes of WM_HSCROLL and WM_VSCROLL (low word of wParam)
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;
// Scroll bar selectors
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// ---------------------------------------------------------------------------
// Window and class styles

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_SAVEBITS = 0x0800;

// Window longs
constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;  // read only here
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;

// ---------------------------------------------------------------------------
// Window classes and windows

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
};

// lParam of WM_NCCALCSIZE: rgrc[0] comes in as the window rectangle (in the
// parent's client coordinates) and goes out as the client rectangle.
struct NCCALCSIZE_PARAMS {
  TRect rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  TPoint pt;
};

// SetWindowPos flags
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
// Set by the system in WM_WINDOWPOSCHANGED when the client area kept its size
// or its place; the default window procedure then sends no WM_SIZE or WM_MOVE.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));

// ShowWindow commands
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;
constexpr int SW_SHOWNOACTIVATE = 4;

// GetWindow relations
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// Scroll bar information
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// System metrics
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;

// Class names compare without regard to case; registering a name twice fails
// (0). A class cannot be unregistered while windows of it exist.
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* className, HINSTANCE inst);
BOOL GetClassInfo(HINSTANCE inst, const char* className, WNDCLASS* out);

// Creates a window. A child (WS_CHILD) is placed in its parent's client
// coordinates, a top-level window in screen coordinates; the new window goes
// on top of its siblings. The window receives WM_NCCREATE, WM_NCCALCSIZE
// (wParam FALSE, lParam TRect*) and WM_CREATE (lParam: CREATESTRUCT*); a 0 or
// -1 answer destroys it again and gives 0. Then WM_SIZE and WM_MOVE, and with
// WS_VISIBLE what ShowWindow sends. A top-level window always gets
// WS_CLIPSIBLINGS, an overlapped one (neither WS_POPUP nor WS_CHILD) also
// WS_CAPTION; a parent given to a top-level window makes its top-level
// ancestor the owner, which destroys its owned windows with itself.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param);
// WM_DESTROY to the window, then to its descendants; WM_NCDESTROY to the
// descendants, then to the window; the handle is then invalid, its timers and
// queued messages are gone and what it covered is invalidated.
BOOL DestroyWindow(HWND wnd);
BOOL IsWindow(HWND wnd);
BOOL IsWindowVisible(HWND wnd);  // the window and all its ancestors have WS_VISIBLE
BOOL IsWindowEnabled(HWND wnd);
BOOL EnableWindow(HWND wnd, BOOL enable);
BOOL ShowWindow(HWND wnd, int cmd);
// WM_WINDOWPOSCHANGING (lParam WINDOWPOS*, which the receiver may change),
// WM_NCCALCSIZE (wParam TRUE) when the size changed or SWP_FRAMECHANGED,
// then WM_WINDOWPOSCHANGED when place, size, stacking or visibility changed.
BOOL SetWindowPos(HWND wnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND wnd, TRect* rect);  // screen coordinates
BOOL GetClientRect(HWND wnd, TRect* rect);  // (0, 0, client width, client height)
BOOL ClientToScreen(HWND wnd, TPoint* p);
BOOL ScreenToClient(HWND wnd, TPoint* p);
int MapWindowPoints(HWND from, HWND to, TPoint* points, UINT count);
HWND GetParent(HWND wnd);
HWND SetParent(HWND wnd, HWND newParent);
HWND GetWindow(HWND wnd, UINT relation);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND wnd);
LONG GetWindowLong(HWND wnd, int index);
LONG SetWindowLong(HWND wnd, int index, LONG value);
intptr_t GetWindowLongPtr(HWND wnd, int index);
intptr_t SetWindowLongPtr(HWND wnd, int index, intptr_t value);
// Through WM_GETTEXT, WM_GETTEXTLENGTH and WM_SETTEXT.
int GetWindowText(HWND wnd, char* buffer, int maxCount);
int GetWindowTextLength(HWND wnd);
BOOL SetWindowText(HWND wnd, const char* text);
// The topmost visible, enabled window at a screen point, descending into
// children; 0 outside every top-level window. Each candidate is asked with
// WM_NCHITTEST and passed over when it answers HTTRANSPARENT; a disabled
// child leaves the point to its parent.
HWND WindowFromPoint(TPoint screenPoint);
// The immediate child (hidden and disabled ones included) whose window
// rectangle holds the point, else the parent itself if the point is inside
// it, else 0.
HWND ChildWindowFromPoint(HWND parent, TPoint clientPoint);

int GetSystemMetrics(int index);

// Messages
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
// Posted messages first (in order); then WM_QUIT if PostQuitMessage was
// called; then WM_PAINT for the first shown window that has an update region
// (parents before children, siblings from the top down), which stays until
// the window validates it; then WM_TIMER for a due timer, re-armed from the
// current clock when removed. wnd null takes every message, (HWND)-1 only
// those posted without a window, a window only its own.
BOOL PeekMessage(MSG* msg, HWND wnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
// Calls the window procedure; a WM_TIMER whose lParam is the timer procedure
// of that live timer calls the timer procedure instead.
LRESULT DispatchMessage(const MSG* msg);
LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default window procedure: WM_NCCALCSIZE from the styles, WM_NCHITTEST,
// WM_PAINT (validates), WM_SETCURSOR (asks the parent first, then sets the
// class cursor over the client area), WM_WINDOWPOSCHANGED (sends WM_MOVE and
// WM_SIZE), WM_CLOSE (DestroyWindow), WM_CANCELMODE (releases the capture),
// the window text (WM_NCCREATE stores the CREATESTRUCT's name, WM_SETTEXT,
// WM_GETTEXT, WM_GETTEXTLENGTH) and
// WM_ERASEBKGND (fills with the class brush, answers 1 if it has one) and
// WM_NCPAINT (draws frame, caption, client edge and scroll bars in the system
// colours). WM_NCPAINT is sent before WM_PAINT processing when the frame was
// exposed, resized or changed (SWP_FRAMECHANGED, RDW_FRAME).
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Mouse input and capture

// Virtual keys whose state GetKeyState and GetAsyncKeyState report.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;

// The mouse position in screen coordinates. SetCursorPos keeps the point on
// the screen and, as a real mouse move does, sends WM_NCHITTEST and
// WM_SETCURSOR and posts WM_MOUSEMOVE (see os::MouseMove).
BOOL GetCursorPos(TPoint* point);
BOOL SetCursorPos(int x, int y);
// The high bit (0x8000, a negative value) is set while the key or button is
// down. Both answer the present state.
int16_t GetKeyState(int virtualKey);
int16_t GetAsyncKeyState(int virtualKey);
// Two presses of one button on one window within this many milliseconds and
// within the SM_CXDOUBLECLK x SM_CYDOUBLECLK rectangle centred on the first
// make a double click (only for classes with CS_DBLCLKS in the client area).
UINT GetDoubleClickTime();

// The capture: while a window holds it, every mouse message goes to that
// window in its client coordinates, wherever the mouse is, and neither
// WM_NCHITTEST nor WM_SETCURSOR is sent. SetCapture answers the previous
// holder; a change of holder sends WM_CAPTURECHANGED (lParam: the new holder
// or 0) to the window that lost it. Destroying the holder releases the
// capture without a message.
HWND SetCapture(HWND wnd);
HWND GetCapture();
BOOL ReleaseCapture();

namespace os {

enum class MouseButton { Left, Right, Middle };

// Mouse input as a host or a test makes it. Each call moves the mouse or
// changes a button, delivers the event along the system's path and then runs
// the message loop (ProcessMessages):
//   1. the target is the capture holder, or else the window under the point
//      (WindowFromPoint), whose WM_NCHITTEST answer (lParam: the screen point)
//      decides the area;
//   2. without the capture, WM_SETCURSOR goes to the target (wParam: the
//      target, lParam: MAKELPARAM(hit-test code, mouse message)); the
//      default window procedure asks the parent first;
//   3. the mouse message is posted: WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK
//      with client coordinates and the MK_ key state, or over the
//      non-client area WM_NCMOUSEMOVE etc. with the hit-test code and the
//      screen point.
// Over no window nothing is sent and the cursor becomes the arrow.
// MouseMove keeps the point on the screen.
void MouseMove(TPoint screenPoint);
void MouseDown(MouseButton button);
void MouseUp(MouseButton button);
// Convenience: move to the point, then press and release the button.
void Click(TPoint screenPoint, MouseButton button = MouseButton::Left);
TPoint CursorPos();
// Holds or lets go of Shift (VK_SHIFT) or Ctrl (VK_CONTROL); this changes
// only the key state that mouse messages and GetKeyState report.
void SetKeyDown(int virtualKey, bool down);

}  // namespace os

// ---------------------------------------------------------------------------
// Cursors

// Standard cursors of the system, for LoadCursor(nullptr, ...).
inline const char* const IDC_ARROW = reinterpret_cast<const char*>(32512);
inline const char* const IDC_IBEAM = reinterpret_cast<const char*>(32513);
inline const char* const IDC_WAIT = reinterpret_cast<const char*>(32514);
inline const char* const IDC_CROSS = reinterpret_cast<const char*>(32515);
inline const char* const IDC_UPARROW = reinterpret_cast<const char*>(32516);
inline const char* const IDC_SIZE = reinterpret_cast<const char*>(32640);  // as IDC_SIZEALL
inline const char* const IDC_ICON = reinterpret_cast<const char*>(32641);  // as IDC_ARROW
inline const char* const IDC_SIZENWSE = reinterpret_cast<const char*>(32642);
inline const char* const IDC_SIZENESW = reinterpret_cast<const char*>(32643);
inline const char* const IDC_SIZEWE = reinterpret_cast<const char*>(32644);
inline const char* const IDC_SIZENS = reinterpret_cast<const char*>(32645);
inline const char* const IDC_SIZEALL = reinterpret_cast<const char*>(32646);
inline const char* const IDC_NO = reinterpret_cast<const char*>(32648);
inline const char* const IDC_HAND = reinterpret_cast<const char*>(32649);
inline const char* const IDC_APPSTARTING = reinterpret_cast<const char*>(32650);
inline const char* const IDC_HELP = reinterpret_cast<const char*>(32651);

// A cursor from a module's resources: the RT_GROUP_CURSOR of that name (or
// MAKEINTRESOURCE id; names match ignoring case) and its 32 x 32 image.
// Loading the same resource again answers the same handle while it lives.
// With a null instance the name must be one of the IDC_ values. 0 when
// there is no such cursor.
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// Destroys a cursor loaded from a module (FALSE for 0 or an unknown handle).
// The system's cursors are shared: destroying one does nothing and answers
// TRUE. A destroyed cursor that was shown leaves no cursor shown.
BOOL DestroyCursor(HCURSOR cursor);
// The cursor shown on the screen. SetCursor answers the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

namespace os {

// A cursor's picture: the hot spot (column, row from the top-left) and each
// pixel's effect on the screen beneath, from the AND and XOR masks:
// AND 0 XOR 0 black, AND 0 XOR 1 white, AND 1 XOR 0 transparent,
// AND 1 XOR 1 inverted.
enum class CursorPixel { Transparent, Black, White, Inverted };
struct CursorPicture {
  bool valid = false;  // false for 0 or a handle that is no cursor
  TPoint hotSpot;
  CursorPixel pixels[32][32] = {};  // [row][column]
  CursorPixel At(int x, int y) const { return pixels[y][x]; }
  // One row as text: '.' transparent, 'X' black, 'o' white, '~' inverted
  // (the characters of the cursor sources).
  std::string Row(int y) const;
};
CursorPicture CursorImage(HCURSOR cursor);
// A readable name: the name a module's cursor was first loaded by
// ("SplitCursor", or "#1" for a numeric id), the IDC_ name of a system
// cursor ("IDC_ARROW"), "" for 0 or a handle that is no cursor.
std::string CursorName(HCURSOR cursor);

}  // namespace os

// ---------------------------------------------------------------------------
// Modules and resources

// A resource name or type is either a string or a 16-bit id carried in the
// pointer value (MAKEINTRESOURCE); string names match ignoring case.
inline const char* MAKEINTRESOURCE(WORD id) {
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(id));
}
inline bool IS_INTRESOURCE(const char* p) { return reinterpret_cast<uintptr_t>(p) < 0x10000; }

inline const char* const RT_CURSOR = MAKEINTRESOURCE(1);
inline const char* const RT_BITMAP = MAKEINTRESOURCE(2);
inline const char* const RT_ICON = MAKEINTRESOURCE(3);
inline const char* const RT_MENU = MAKEINTRESOURCE(4);
inline const char* const RT_DIALOG = MAKEINTRESOURCE(5);
inline const char* const RT_STRING = MAKEINTRESOURCE(6);
inline const char* const RT_FONTDIR = MAKEINTRESOURCE(7);
inline const char* const RT_FONT = MAKEINTRESOURCE(8);
inline const char* const RT_ACCELERATOR = MAKEINTRESOURCE(9);
inline const char* const RT_RCDATA = MAKEINTRESOURCE(10);
inline const char* const RT_MESSAGETABLE = MAKEINTRESOURCE(11);
inline const char* const RT_GROUP_CURSOR = MAKEINTRESOURCE(12);
inline const char* const RT_GROUP_ICON = MAKEINTRESOURCE(14);
inline const char* const RT_VERSION = MAKEINTRESOURCE(16);

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;

// The resource of that name and type in the module; 0 when there is none
// (or the module is unknown).
HRSRC FindResource(HMODULE module, const char* name, const char* type);
// The resource's data. It lives as long as the program (it is part of the
// module), so FreeResource has nothing to do and answers FALSE.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);

namespace os {

// One resource of a module's table, as the resource compiler writes it: a
// type and a name, each an id (when the string is null) or a string.
struct ResourceEntry {
  WORD typeId;
  const char* typeName;
  WORD nameId;
  const char* name;
  const unsigned char* data;
  DWORD size;
};
// Registers a module's resource table (the table must outlive the program's
// use of it) and answers the module's instance handle. Each program or
// library with resources does this once at start-up through the code the
// resource compiler generates. A second module of a name already registered
// gets its own handle; ModuleHandle finds the first.
HMODULE RegisterModule(const char* name, const ResourceEntry* entries, size_t count);
// The instance handle of a module by name (ignoring case), 0 if none.
HMODULE ModuleHandle(const char* name);

}  // namespace os

// ---------------------------------------------------------------------------
// Painting

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  TRect rcPaint;
};

// Update regions live in client coordinates and are clipped to the client
// area within the ancestors' client areas; hidden windows collect none.
// Invalidation reaches the visible children it touches unless the window has
// WS_CLIPCHILDREN (RDW_ALLCHILDREN: always, RDW_NOCHILDREN: never).
// InvalidateRect(0, ...) invalidates every window.
BOOL InvalidateRect(HWND wnd, const TRect* rect, BOOL erase);
BOOL ValidateRect(HWND wnd, const TRect* rect);
BOOL InvalidateRgn(HWND wnd, HRGN rgn, BOOL erase);
BOOL GetUpdateRect(HWND wnd, TRect* rect, BOOL erase);
BOOL UpdateWindow(HWND wnd);  // sends WM_PAINT at once when the update region is not empty
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOCHILDREN = 0x0040;
// RDW_UPDATENOW paints the affected windows at once, parents first.
BOOL RedrawWindow(HWND wnd, const TRect* rect, HRGN rgn, UINT flags);
// rcPaint is the update region's box; WM_ERASEBKGND is sent when an erase was
// asked for (fErase tells whether it was left undone); the update region is
// validated; the DC draws only inside it.
HDC BeginPaint(HWND wnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND wnd, const PAINTSTRUCT* ps);

// Regions: sets of pixels made of rectangles.
HRGN CreateRectRgn(int l, int t, int r, int b);
HRGN CreateRectRgnIndirect(const TRect& r);
BOOL DeleteObject(HGDIOBJ obj);
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);  // dst may be a or b
BOOL PtInRegion(HRGN rgn, int x, int y);
int GetRgnBox(HRGN rgn, TRect* box);
BOOL OffsetRgn(HRGN rgn, int dx, int dy);  // answers the region's kind, 0 on error

// ---------------------------------------------------------------------------
// Graphics (GDI): system colours, device contexts, drawing

// System colour indexes. A class brush may also be (HBRUSH)(index + 1).
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

COLORREF GetSysColor(int index);  // the classic fixed scheme
HBRUSH GetSysColorBrush(int index);  // a stock brush of that colour

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Stock objects. Deleting a stock object does nothing.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int index);

// Pen styles. Every style but PS_NULL draws solid; a wide pen draws a square
// around each point of a line and an inside frame for Rectangle.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
// Answers the object of that kind selected before; for a region it selects
// the clip region and answers its kind. The DC keeps what it needs of the
// object, so deleting a selected object cannot leave the DC dangling.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// GetDC(wnd): the client area, origin at its top-left; GetWindowDC(wnd): the
// whole window, origin at its outer top-left. Both draw only on the window's
// visible part: within its ancestors' client areas, minus visible children
// with WS_CLIPCHILDREN, minus visible siblings above it with WS_CLIPSIBLINGS
// (always for top-level windows). GetDC(0) is the whole screen. The clip is
// taken when the DC is made.
HDC GetDC(HWND wnd);
HDC GetWindowDC(HWND wnd);
int ReleaseDC(HWND wnd, HDC dc);
// The box of what the DC may draw on, in logical coordinates; answers the
// clip's kind (NULLREGION, SIMPLEREGION, COMPLEXREGION) or 0 on error.
int GetClipBox(HDC dc, TRect* box);
// The clip region is in device coordinates (null removes it); the clip
// rectangles are in logical ones. Each answers the resulting clip's kind.
int SelectClipRgn(HDC dc, HRGN rgn);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);
int ExcludeClipRect(HDC dc, int l, int t, int r, int b);
// Device point = logical point + viewport origin.
BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
BOOL GetViewportOrgEx(HDC dc, TPoint* org);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);

// Text attributes (kept for text drawing).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// ---------------------------------------------------------------------------
// Fonts and text

// Text is bytes in code page 1252. Fonts are scalable outline fonts; a face
// name the system does not know falls back on the pitch and family asked for.
struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};
using SIZE = TSize;

constexpr int LF_FACESIZE = 32;

// Weights
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;

// Character sets
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;

// Pitch (low two bits) and family (high four bits) of lfPitchAndFamily
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;
// tmPitchAndFamily bits. TMPF_FIXED_PITCH set means a variable-pitch font.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

// Output, clip precision and quality are accepted and kept, not used.
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;

// lfHeight < 0: the character (em) height in pixels; > 0: the cell height
// (ascent + descent); 0: the default size. lfWidth, lfEscapement and
// lfOrientation are kept but text is always drawn upright at its natural width.
struct LOGFONTA {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
  BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
  BYTE lfQuality = DEFAULT_QUALITY;
  BYTE lfPitchAndFamily = DEFAULT_PITCH;
  char lfFaceName[LF_FACESIZE] = {};  // need not be terminated when all 32 are used
};
using LOGFONT = LOGFONTA;

struct TEXTMETRICA {
  LONG tmHeight = 0;  // tmAscent + tmDescent
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;  // tmHeight minus the character height
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;  // the width of 'x'
  LONG tmMaxCharWidth = 0;  // the widest of the code page's characters
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
  BYTE tmFirstChar = 0x20;
  BYTE tmLastChar = 0xFF;
  BYTE tmDefaultChar = 0x1F;
  BYTE tmBreakChar = 0x20;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};
using TEXTMETRIC = TEXTMETRICA;

HFONT CreateFontIndirectA(const LOGFONTA* lf);
inline HFONT CreateFontIndirect(const LOGFONTA* lf) { return CreateFontIndirectA(lf); }
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  const char* faceName);
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                        DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                        DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                        DWORD pitchAndFamily, const char* faceName) {
  return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                     charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
}

// Text alignment: where (x, y) of TextOut lies on the text. TA_UPDATECP draws
// at the current position and moves it past the text.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;
UINT SetTextAlign(HDC dc, UINT align);  // the previous alignment, GDI_ERROR on error
UINT GetTextAlign(HDC dc);

// Draws count characters at (x, y) with the selected font in the text colour;
// with OPAQUE background mode the text cell is first filled with the
// background colour.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);
inline BOOL TextOut(HDC dc, int x, int y, const char* text, int count) {
  return TextOutA(dc, x, y, text, count);
}
// TextOut with a rectangle: ETO_OPAQUE fills it with the background colour,
// ETO_CLIPPED draws only inside it. dx, when given, holds the advance of each
// character.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const TRect* rect, const char* text,
                 UINT count, const int* dx);
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const char* text,
                       UINT count, const int* dx) {
  return ExtTextOutA(dc, x, y, options, rect, text, count, dx);
}
// cx: the sum of the advances; cy: the font's tmHeight.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);
inline BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size) {
  return GetTextExtentPoint32A(dc, text, count, size);
}
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm);
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICA* tm) { return GetTextMetricsA(dc, tm); }

// DrawText formats
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;  // with DT_SINGLELINE only
constexpr UINT DT_BOTTOM = 0x0008;   // with DT_SINGLELINE only
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_TABSTOP = 0x0080;  // bits 8..15 give the tab size in characters (default 8)
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_EXTERNALLEADING = 0x0200;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
// Draws formatted text in a rectangle; count -1 (or any negative count) means
// the text ends at its null. Lines break at "\r\n", "\n" and "\r" unless
// DT_SINGLELINE; DT_WORDBREAK also breaks between words where the next word
// would cross the right edge (a word wider than the rectangle keeps its own
// line). Without DT_NOPREFIX "&x" draws x underlined and "&&" draws "&".
// DT_CALCRECT draws nothing: it sets rect's bottom under the last line and
// its right to the widest line. Answers the text's height, or with
// DT_VCENTER / DT_BOTTOM the offset from rect.Top to the bottom of the text;
// 0 on error.
int DrawTextA(HDC dc, const char* text, int count, TRect* rect, UINT format);
inline int DrawText(HDC dc, const char* text, int count, TRect* rect, UINT format) {
  return DrawTextA(dc, text, count, rect, format);
}

// Raster operations: any ternary code works (pattern = the selected brush).
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Drawing. Everything is clipped to the DC's clip and the screen; right and
// bottom edges are exclusive. A brush may be a system colour index + 1.
int FillRect(HDC dc, const TRect* rect, HBRUSH brush);
int FrameRect(HDC dc, const TRect* rect, HBRUSH brush);  // one pixel wide
BOOL InvertRect(HDC dc, const TRect* rect);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);  // no source operations
// Copies from the source DC's place on the screen; source pixels off the
// screen leave the target as it was.
BOOL BitBlt(HDC dc, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL MoveToEx(HDC dc, int x, int y, TPoint* old);
BOOL LineTo(HDC dc, int x, int y);  // from the current position, end point excluded
// Outline with the pen (inside the rectangle), inside filled with the brush;
// with NULL_PEN the filled area is one pixel smaller to the right and bottom.
BOOL Rectangle(HDC dc, int l, int t, int r, int b);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);  // CLR_INVALID if clipped away
COLORREF GetPixel(HDC dc, int x, int y);                  // CLR_INVALID if clipped away

// ---------------------------------------------------------------------------
// The standard scroll bars of a window

// Shows or hides a window's scroll bar: sets or clears WS_HSCROLL or
// WS_VSCROLL and recomputes the client area (WM_NCCALCSIZE, and WM_SIZE when
// it changed size).
BOOL ShowScrollBar(HWND wnd, int bar, BOOL show);
// The range, page and position of a scroll bar; the position is kept within
// nMin .. nMax - max(nPage - 1, 0). Returns the new position.
int SetScrollInfo(HWND wnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND wnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND wnd, int bar, int pos, BOOL redraw);  // the previous position
int GetScrollPos(HWND wnd, int bar);
BOOL SetScrollRange(HWND wnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND wnd, int bar, int* minPos, int* maxPos);

// ---------------------------------------------------------------------------
// Timers and the virtual clock

// A timer fires through WM_TIMER from the message loop once the virtual clock
// has passed its due time. The same window and id replace a timer; periods
// under 10 ms become 10 ms; without a window SetTimer picks the id.
using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);
uintptr_t SetTimer(HWND wnd, uintptr_t id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND wnd, uintptr_t id);
DWORD GetTickCount();  // milliseconds of the virtual clock

// ---------------------------------------------------------------------------
// Message boxes

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
int MessageBox(HWND owner, const char* text, const char* caption, UINT type);

// ---------------------------------------------------------------------------
// Host interface: what a host program or a test uses to drive the system.
// These are not part of the window system's programming interface.
namespace os {

// The virtual clock. Advancing it makes timers due; they fire from the
// message loop.
void AdvanceClock(DWORD ms);

// Answers MessageBox. The default prints "caption: text" on standard output
// and answers the first button: IDOK, or IDYES for MB_YESNO.
using MessageBoxHook = int (*)(HWND owner, const char* text, const char* caption, UINT type);
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Runs the message loop until nothing is queued, no window needs painting and
// no timer is due. Returns the number of messages dispatched. It stops at
// WM_QUIT and leaves it queued for the host's own loop (so it returns at once
// until someone takes WM_QUIT out). A WM_PAINT after which the window's update
// region is unchanged would repeat forever: it throws std::logic_error.
int ProcessMessages();

// Observation aids for tests: how many WM_PAINT messages a window was sent
// since it was created.
int PaintCount(HWND wnd);

// Frees every window (without messages: their owners may be gone), forgets
// every class, timer, queued message and device context, sets the clock to 0
// and fills the screen with the desktop colour; for test isolation. GDI
// objects and the screen size stay. Handles are never reused, also not after
// a reset.
void ResetWindowSystem();

// The screen: a framebuffer of 1024 x 768 pixels unless set otherwise, first
// filled with the desktop colour (COLOR_BACKGROUND).
// SetScreenSize works only while no top-level window exists (at start or
// after ResetWindowSystem); otherwise, or for a size outside 1..16384, it
// answers false and changes nothing.
bool SetScreenSize(int width, int height);
// The colour of a screen pixel as a COLORREF (0x00BBGGRR, compare with RGB()
// or GetSysColor()); CLR_INVALID off the screen.
COLORREF ScreenPixel(int x, int y);
// Writes the screen as an 8-bit RGB PNG; false if the file cannot be written.
bool SaveScreenPng(const std::string& path);

}  // namespace os
