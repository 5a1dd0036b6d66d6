// The pane layout: each visible pane gets its rectangle from the pane
// count, the orientation, the bar positions, the bar width and the frame.
#include <algorithm>
#include <cstdint>

#include "ziVivire.h"

namespace {

int32_t Add(int32_t a, int32_t b) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(static_cast<int64_t>(a) + b, INT32_MIN, INT32_MAX));
}

bool SideBySide(TkvsOrientation o) { return (static_cast<int>(o) & 1) == 0; }

}  // namespace

void TkvCustomSplit::AlignControls(TControl* control, TRect& rect) {
  DisableAlign();
  {
    struct Enable {
      TkvCustomSplit* s;
      ~Enable() { s->EnableAlign(); }
    } enable{this};

    InflateRect(rect, -FFrameWidth, -FFrameWidth);
    const int32_t L = rect.Left, T = rect.Top, Rt = rect.Right, B = rect.Bottom;
    const int32_t PX = FPositionX, PY = FPositionY;
    const bool v1 = FOptions.Contains(kvsVer1Compat);
    // The limited positions, against the inner size (without the bar).
    const int32_t LX = v1 ? PX : static_cast<int32_t>(std::min<int64_t>(PX, int64_t{Rt} - L));
    const int32_t LY = v1 ? PY : static_cast<int32_t>(std::min<int64_t>(PY, int64_t{B} - T));
    const int32_t AX = Add(PX, FBarWidth);  // left edge after the vertical bar
    const int32_t AY = Add(PY, FBarWidth);  // top edge after the horizontal bar

    auto place = [this](int index, int32_t l, int32_t t, int32_t r, int32_t b) {
      VisiblePanes(index)->SetBoundsRect(Rect(l, t, r, b));
    };
    switch (VisiblePaneCount()) {
      case 0:
        break;
      case 1:
        place(0, L, T, Rt, B);
        break;
      case 2:
        if (SideBySide(FOrientation)) {
          place(0, L, T, LX, B);
          place(1, AX, T, Rt, B);
        } else {
          place(0, L, T, Rt, LY);
          place(1, L, AY, Rt, B);
        }
        break;
      case 3:
        switch (FOrientation) {
          case kvsVert:
          case kvsLeft:
            place(0, L, T, LX, B);
            place(1, AX, T, Rt, LY);
            place(2, AX, AY, Rt, B);
            break;
          case kvsHorz:
          case kvsBottom:
            place(0, L, T, LX, LY);
            place(1, AX, T, Rt, LY);
            place(2, L, AY, Rt, B);
            break;
          case kvsTop:
            place(0, L, T, Rt, LY);
            place(1, AX, AY, Rt, B);
            place(2, L, AY, LX, B);
            break;
          case kvsRight:
            place(0, L, T, LX, LY);
            place(1, AX, T, Rt, B);
            place(2, L, AY, LX, B);
            break;
        }
        break;
      case 4:
      case 5:
      case 6:
        place(0, L, T, PX, PY);
        place(1, AX, T, Rt, PY);
        place(2, AX, AY, Rt, B);
        place(3, L, AY, PX, B);
        break;
      default:
        break;  // seven or more: no pane is moved
    }
  }
  TCustomControl::AlignControls(control, rect);
}
