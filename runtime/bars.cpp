// The bars: their rectangles, the cursor over them, the hot state and the
// designer's question whether the split wants a mouse message.
#include <algorithm>

#include "module.h"
#include "ziVivire.h"

namespace {

int32_t Add(int64_t a, int64_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX));
}

bool SideBySide(TkvsOrientation o) { return (static_cast<int>(o) & 1) == 0; }

}  // namespace

TRect TkvCustomSplit::GetVBarRect() const {
  const int32_t left = Add(FPositionX, FFrameWidth);
  TRect r{left, 0, Add(left, FBarWidth), ClientHeight()};
  switch (VisiblePaneCount()) {
    case 1:
      return TRect{};
    case 2:
      return SideBySide(FOrientation) ? r : TRect{};
    case 3:
      if (FOrientation == kvsHorz || FOrientation == kvsBottom)
        r.Bottom = Add(Add(FPositionY, FFrameWidth), FBarWidth);
      else if (FOrientation == kvsTop)
        r.Top = FPositionY;
      return r;
    default:
      return r;
  }
}

TRect TkvCustomSplit::GetHBarRect() const {
  const int32_t top = Add(FPositionY, FFrameWidth);
  TRect r{0, top, ClientWidth(), Add(top, FBarWidth)};
  switch (VisiblePaneCount()) {
    case 1:
      return TRect{};
    case 2:
      return SideBySide(FOrientation) ? TRect{} : r;
    case 3:
      if (FOrientation == kvsVert || FOrientation == kvsLeft)
        r.Left = FPositionX;
      else if (FOrientation == kvsRight)
        r.Right = Add(Add(FPositionX, FFrameWidth), FBarWidth);
      return r;
    default:
      return r;
  }
}

void TkvCustomSplit::SetMouseOver(bool value) {
  if (value == FMouseOver) return;
  FMouseOver = value;
  Repaint();
}

void TkvCustomSplit::WMNCHitTest(TMessage& message) {
  TCustomControl::Dispatch(message);
  FHitPoint = TPoint{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
}

// The default window procedure of a pane passes its WM_SETCURSOR to the
// split first. Such a relayed message (its cursor window is the pane) comes
// without a WM_NCHITTEST of the split's own, so the split tests no point
// for it: it leaves the cursor to the pane and ends the hot state.
void TkvCustomSplit::WMSetCursor(TMessage& message) {
  HWND cursorWnd = reinterpret_cast<HWND>(message.WParam);
  if (cursorWnd != WindowHandle()) {
    TCustomControl::Dispatch(message);
    SetMouseOver(false);
    return;
  }
  FHitPoint = ScreenToClient(FHitPoint);
  const bool bars = static_cast<int16_t>(LOWORD(message.LParam)) == HTCLIENT &&
                    (!FLocked || FComponentState.Contains(csDesigning));
  if (bars) {
    const bool overV = PtInRect(GetVBarRect(), FHitPoint);
    const bool overH = PtInRect(GetHBarRect(), FHitPoint);
    if (overV && overH) {
      if (!SplitCursorHandle) SplitCursorHandle = LoadCursor(ModuleInstance(), "SplitCursor");
      ::SetCursor(SplitCursorHandle);
      SetMouseOver(true);
      return;
    }
    if (overV) {
      ::SetCursor(Screen->Cursors(crHSplit));
      SetMouseOver(true);
      return;
    }
    if (overH) {
      ::SetCursor(Screen->Cursors(crVSplit));
      SetMouseOver(true);
      return;
    }
  }
  TCustomControl::Dispatch(message);
  SetMouseOver(false);
}

void TkvCustomSplit::CMDesignHitTest(TMessage& message) {
  message.Result = (PtInRect(GetHBarRect(), FHitPoint) || PtInRect(GetVBarRect(), FHitPoint) ||
                    FDragging)
                       ? 1
                       : 0;
}
