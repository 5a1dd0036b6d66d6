// Splits driven through the screen: the mouse is moved and its buttons
// pressed at screen points, cursors are read from the system and colours
// from the framebuffer after the message loop has run.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture.h"

namespace screentest {

using os::MouseButton;

// The framebuffer value of a platform colour.
inline COLORREF RGBOf(TColor c) { return ColorToRGB(c); }
// What DSTINVERT makes of a framebuffer value.
inline COLORREF Inverted(COLORREF c) { return 0xFFFFFF ^ c; }

// The cursor that an ordinary control shows over its client area.
inline bool IsArrow(HCURSOR h) {
  return h != nullptr && (h == LoadCursor(nullptr, IDC_ARROW) || h == Screen->Cursors(crDefault));
}

// A form designer as it treats mouse messages: it asks the control with
// CM_DESIGNHITTEST and keeps the message for itself (selecting, moving the
// component) when the control answers 0. It records Modified.
struct TRecordingDesigner : TDesigner {
  int modified = 0;
  std::vector<UINT> kept;  // mouse messages the designer kept for itself
  void Modified() override { ++modified; }
  bool IsDesignMsg(TControl* sender, TMessage& message) override {
    if (message.Msg < WM_MOUSEFIRST || message.Msg > WM_MOUSELAST) return false;
    if (sender->Perform(CM_DESIGNHITTEST, message.WParam, message.LParam) != 0) return false;
    kept.push_back(message.Msg);
    return true;
  }
  void Notification(TComponent*, TOperation) override {}
};

class ScreenTest : public splittest::SplitTest {
 protected:
  void TearDown() override {
    if (form) form->SetDesigner(nullptr);
    SplitTest::TearDown();
  }

  // A split whose client area is width × height, with `panes` panes and
  // the bars at `position`; bar width 6.
  TruVezuz* Split(int32_t width, int32_t height, TkvsStyle style, int panes, TPoint position,
                  TkvsOrientation orientation = kvsVert) {
    auto* s = NewSplit(width, height);
    s->SetStyle(style);
    s->SetOrientation(orientation);
    if (panes > 0) NewPanes(s, panes);
    s->SetPosition(position);
    os::ProcessMessages();
    return s;
  }

  // Puts the form on the design surface, with the recording designer.
  void Design() {
    form->SetDesigner(&designer);
    form->SetDesigning(true);
  }

  // Client points of a control on the screen.
  static TPoint At(const TControl* c, int32_t x, int32_t y) {
    return c->ClientToScreen(TPoint{x, y});
  }
  static void MoveTo(const TControl* c, int32_t x, int32_t y) { os::MouseMove(At(c, x, y)); }
  static void MoveTo(const TControl* c, TPoint p) { MoveTo(c, p.X, p.Y); }
  // Moves to `from`, presses, moves to `to` and releases.
  static void Drag(const TControl* c, TPoint from, TPoint to,
                   MouseButton button = MouseButton::Left) {
    MoveTo(c, from);
    os::MouseDown(button);
    MoveTo(c, to);
    os::MouseUp(button);
  }

  // The colour on the screen at a client point of a control, once
  // everything pending is painted.
  static COLORREF Pixel(const TControl* c, int32_t x, int32_t y) {
    os::ProcessMessages();
    return PixelNow(c, x, y);
  }
  // Pixels along a row (y fixed) or a column (x fixed) of client points.
  static std::vector<COLORREF> Row(const TControl* c, int32_t y, int32_t x0, int32_t x1) {
    os::ProcessMessages();
    std::vector<COLORREF> out;
    for (int32_t x = x0; x <= x1; ++x) out.push_back(PixelNow(c, x, y));
    return out;
  }
  static std::vector<COLORREF> Column(const TControl* c, int32_t x, int32_t y0, int32_t y1) {
    os::ProcessMessages();
    std::vector<COLORREF> out;
    for (int32_t y = y0; y <= y1; ++y) out.push_back(PixelNow(c, x, y));
    return out;
  }
  // Whether some pixel of the client rectangle r shows the colour.
  static bool AnyPixel(const TControl* c, const TRect& r, COLORREF colour) {
    os::ProcessMessages();
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x)
        if (PixelNow(c, x, y) == colour) return true;
    return false;
  }
  static COLORREF PixelNow(const TControl* c, int32_t x, int32_t y) {
    const TPoint p = At(c, x, y);
    return os::ScreenPixel(p.X, p.Y);
  }

  static int Paints(TWinControl* c) { return os::PaintCount(c->Handle()); }

  TRecordingDesigner designer;
};

}  // namespace screentest
