// Dragging a bar: an inverted strip on the screen while the button is held,
// or the bars following the mouse with AutoUpdate; the drop moves the bars.
#include <algorithm>

#include "ziVivire.h"

namespace {

// lo when v < lo, else hi when v > hi, else v.
int64_t Limit(int64_t v, int64_t lo, int64_t hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return v;
}

int32_t Narrow(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void TkvCustomSplit::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && (!FLocked || FComponentState.Contains(csDesigning))) {
    SetMouseCapture(true);
    FDragX = x;
    FDragY = y;
    const TPoint p{x, y};
    const bool overV = PtInRect(GetVBarRect(), p);
    const bool overH = PtInRect(GetHBarRect(), p);
    if (!overV && !overH) {
      TCustomControl::MouseDown(button, shift, x, y);
      return;
    }
    FDragBar = overV ? (overH ? 0 : -1) : 1;
    FDragging = true;
    FDragOffsetX = Narrow(int64_t{FDragX} - (int64_t{FPositionX} + FFrameWidth));
    FDragOffsetY = Narrow(int64_t{FDragY} - (int64_t{FPositionY} + FFrameWidth));
    PaintBar();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TkvCustomSplit::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (shift.Contains(ssLeft) && FDragging) {
    PaintBar();
    // The strip's near edge stays within the frame .. the client size less
    // the bar width.
    FDragX = Narrow(Limit(x, int64_t{FFrameWidth} + FDragOffsetX,
                          int64_t{ClientWidth()} - FBarWidth + FDragOffsetX));
    FDragY = Narrow(Limit(y, int64_t{FFrameWidth} + FDragOffsetY,
                          int64_t{ClientHeight()} - FBarWidth + FDragOffsetY));
    PaintBar();
    if (FAutoUpdate) MoveBarsToDragPoint();
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TkvCustomSplit::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && FDragging) {
    SetMouseCapture(false);
    PaintBar();
    FDragging = false;
    MoveBarsToDragPoint();
    if (FComponentState.Contains(csDesigning)) {
      TCustomForm* form = GetParentForm(this);
      if (form && form->Designer()) form->Designer()->Modified();
    }
  }
  TCustomControl::MouseUp(button, shift, x, y);
  TriggerChangeEvent();
}

void TkvCustomSplit::MoveBarsToDragPoint() {
  const int32_t px = Narrow(int64_t{FDragX} - FDragOffsetX - FFrameWidth);
  const int32_t py = Narrow(int64_t{FDragY} - FDragOffsetY - FFrameWidth);
  if (FDragBar == -1)
    SetPositionX(px);
  else if (FDragBar == 1)
    SetPositionY(py);
  else
    SetPosition(TPoint{px, py});
}

// The capture went away in the middle of a drag, to another window or to
// none while the left button is still held (a cancel): the strip is removed
// and the drag ends where it is, without moving the bars. At the button-up
// that ends a drag the button is already up when the capture goes, and the
// drop follows as usual.
void TkvCustomSplit::WMCaptureChanged(TMessage& message) {
  TCustomControl::Dispatch(message);
  HWND newHolder = reinterpret_cast<HWND>(message.LParam);
  if (newHolder == WindowHandle() || !FDragging) return;
  if (newHolder || GetKeyState(VK_LBUTTON) < 0) {
    PaintBar();
    FDragging = false;
  }
}

void TkvCustomSplit::PaintBar() {
  if (FAutoUpdate) return;
  HDC dc = GetDC(nullptr);
  const TPoint a = ClientToScreen(TPoint{FDragBar <= 0 ? Narrow(int64_t{FDragX} - FDragOffsetX) : 0,
                                         FDragBar >= 0 ? Narrow(int64_t{FDragY} - FDragOffsetY) : 0});
  const TPoint o = ClientToScreen(TPoint{0, 0});
  if (FDragBar <= 0) {
    const TRect v = GetVBarRect();
    BitBlt(dc, a.X, o.Y + v.Top, FBarWidth, v.Bottom - v.Top, nullptr, 0, 0, DSTINVERT);
  }
  if (FDragBar >= 0) {
    const TRect h = GetHBarRect();
    BitBlt(dc, o.X + h.Left, a.Y, h.Right - h.Left, FBarWidth, nullptr, 0, 0, DSTINVERT);
  }
  ReleaseDC(nullptr, dc);
}
