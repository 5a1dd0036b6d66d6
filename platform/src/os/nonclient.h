// The non-client layout the default window procedure derives from the styles:
// frame, caption, client edge and scroll bars around the client area.
#pragma once

#include <vcl/Windows.h>

namespace os {

struct NonClientLayout {
  TRect frameInner;   // inside the frame (border, dialog frame or sizing frame)
  TRect caption;      // empty without WS_CAPTION
  TRect edgeInner;    // inside the client edge: the client area plus the scroll bars
  TRect vscroll;      // empty without WS_VSCROLL
  TRect hscroll;      // empty without WS_HSCROLL
  TRect client;
};

int FrameWidth(DWORD style, DWORD exStyle);
NonClientLayout LayoutNonClient(const TRect& window, DWORD style, DWORD exStyle);
// Draws the frame, caption, client edge and scroll bars of the window (the
// default WM_NCPAINT).
void PaintNonClient(HWND wnd);

}  // namespace os
