// The split's painting: the background, the hint on an empty split in the
// designer, and the frames around the panes in the style in force.
#include "vcl/ExtCtrls.h"
#include "ziVivire.h"

namespace {

const char kDesignHint[] = "Use the right mouse button to add panes to ruVezuz.";

}  // namespace

void TkvCustomSplit::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  canvas->Brush()->SetColor(Color());
  canvas->Font()->SetColor(clBlack);
  canvas->FillRect(r);
  if (PaneCount() == 0 && FComponentState.Contains(csDesigning))
    DrawText(canvas->Handle(), kDesignHint, -1, &r, DT_WORDBREAK);

  for (int32_t i = 0; i < VisiblePaneCount(); ++i) {
    r = VisiblePanes(i)->BoundsRect();
    switch (FActualStyle) {
      case kvsWin31:
        if (Ctl3D()) {
          InflateRect(r, 1, 1);
          Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        }
        break;
      case kvsWin95:
        InflateRect(r, 2, 2);
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, r, clWindowFrame, clBtnFace, 1);
        break;
      case kvsInset:
        InflateRect(r, 1, 1);
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        break;
      case kvsGroove: {
        OffsetRect(r, 1, 1);
        const int32_t d = FBarWidth / 2;
        InflateRect(r, d, d);
        Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
        Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
        break;
      }
      case kvsWin97:
        InflateRect(r, 2, 2);
        if (FMouseOver) {
          Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
          Frame3D(canvas, r, clWindowFrame, clBtnFace, 1);
        } else {
          Frame3D(canvas, r, clBtnFace, clBtnFace, 1);
          Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        }
        break;
      default:
        break;
    }
  }
  if (FActualStyle == kvsWin31) {
    r = ClientRect();
    Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
  }
  TCustomControl::Paint();
}

void TkvCustomSplit::cmMouseEnter(TMessage& message) {
  TCustomControl::Dispatch(message);
  if (!FMouseOver && FStyle == kvsWin97 && Enabled()) {
    FMouseOver = true;
    Repaint();
  }
}

void TkvCustomSplit::cmMouseLeave(TMessage& message) {
  TCustomControl::Dispatch(message);
  if (FMouseOver && FStyle == kvsWin97 && Enabled()) {
    FMouseOver = false;
    Repaint();
  }
}
