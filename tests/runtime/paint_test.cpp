// The split's painting read back from the screen: the background, the hint
// on an empty split in the designer, the frame rings of every style with
// the hot look of kvsWin97, and the pane's name label in the designer.
#include <string>
#include <vector>

#include "screen_fixture.h"

using namespace screentest;

namespace {

std::string StyleName(TkvsStyle s) { return GetEnumName(TTypeOf<TkvsStyle>::Info(), s); }

const TColor kBackground = clTeal;

// A colour code per pixel: b background, S clBtnShadow, H clBtnHighlight,
// F clWindowFrame, f clBtnFace, W clWindow (a pane), K black.
std::vector<COLORREF> Colours(const std::string& codes) {
  std::vector<COLORREF> out;
  for (char c : codes) switch (c) {
      case 'b':
        out.push_back(RGBOf(kBackground));
        break;
      case 'S':
        out.push_back(RGBOf(clBtnShadow));
        break;
      case 'H':
        out.push_back(RGBOf(clBtnHighlight));
        break;
      case 'F':
        out.push_back(RGBOf(clWindowFrame));
        break;
      case 'f':
        out.push_back(RGBOf(clBtnFace));
        break;
      case 'W':
        out.push_back(RGBOf(clWindow));
        break;
      default:
        ADD_FAILURE() << "no colour code " << c;
    }
  return out;
}

class PaintTest : public ScreenTest {
 protected:
  // Puts the mouse on the form away from every split.
  void MouseAway() { MoveTo(form, 600, 400); }

  // The height of a text line in the split's font.
  static int32_t LineHeight(TkvCustomSplit* s) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s->Font()->Handle());
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
  }
};

}  // namespace

// The classic scheme the frame tests are written against.
TEST_F(PaintTest, SystemColours) {
  EXPECT_EQ(RGBOf(clBtnFace), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(RGBOf(clBtnShadow), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(RGBOf(clBtnHighlight), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(RGBOf(clWindowFrame), RGB(0, 0, 0));
}

// An empty split at run time: its colour everywhere, and with kvsWin31 the
// window-frame border along the client edge, with or without Ctl3D.
TEST_F(PaintTest, EmptySplitBackgroundAndBorder) {
  struct Case {
    TkvsStyle style;
    bool ctl3D;
    bool border;
  };
  for (Case row : {Case{kvsWin95, true, false}, Case{kvsInset, true, false},
                  Case{kvsWin97, true, false}, Case{kvsWin31, true, true},
                  Case{kvsWin31, false, true}}) {
    SCOPED_TRACE(StyleName(row.style) + (row.ctl3D ? "" : " without Ctl3D"));
    auto* s = Split(200, 100, row.style, 0, TPoint{97, 50});
    s->SetCtl3D(row.ctl3D);
    s->SetColor(kBackground);
    const COLORREF edge = row.border ? RGBOf(clWindowFrame) : RGBOf(kBackground);
    EXPECT_EQ(Pixel(s, 0, 0), edge);
    EXPECT_EQ(Pixel(s, 100, 0), edge);
    EXPECT_EQ(Pixel(s, 0, 50), edge);
    EXPECT_EQ(Pixel(s, 199, 99), edge);
    EXPECT_EQ(Pixel(s, 199, 50), edge);
    EXPECT_EQ(Pixel(s, 1, 1), RGBOf(kBackground));
    EXPECT_EQ(Pixel(s, 100, 50), RGBOf(kBackground));
    EXPECT_EQ(Pixel(s, 198, 98), RGBOf(kBackground));
    delete s;
  }
}

// The hint appears, black and wrapped to the width, only on an empty split
// on the design surface; hidden panes still count as panes.
TEST_F(PaintTest, DesignHint) {
  struct Case {
    const char* what;
    bool designing;
    int panes;
    int32_t width;
    bool firstLine, secondLine;
  };
  const Case rows[] = {
      {"design time, no pane, narrow", true, 0, 200, true, true},
      {"design time, no pane, wide", true, 0, 600, true, false},
      {"run time, no pane", false, 0, 600, false, false},
      {"design time, one hidden pane", true, 1, 600, false, false},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(row.what);
    auto* s = Split(row.width, 100, kvsWin95, row.panes, TPoint{50, 50});
    if (row.panes) {
      s->Panes(0)->SetVisible(false);
      s->Panes(0)->SetColor(kBackground);
    }
    s->SetColor(kBackground);
    if (row.designing) s->SetDesigning(true);
    s->Invalidate();
    const int32_t line = LineHeight(s);
    ASSERT_GT(line, 4);
    const COLORREF black = RGB(0, 0, 0);
    // Inside the frame that kvsWin95 draws around a pane (its window-frame
    // ring is black).
    EXPECT_EQ(AnyPixel(s, Rect(2, 2, row.width - 2, line), black), row.firstLine);
    EXPECT_EQ(AnyPixel(s, Rect(2, line, row.width - 2, 2 * line), black), row.secondLine);
    EXPECT_FALSE(AnyPixel(s, Rect(2, 2 * line, row.width - 2, 98), black));
    delete s;
  }
}

// The frame rings, read along a row through both panes (the left edge, the
// bar, the right edge) and a column through the first pane (top, bottom).
// Two side-by-side panes, client 200 × 100, PositionX 97, bar width 6: the
// first pane ends at 97, the second begins at 103.
TEST_F(PaintTest, FrameRings) {
  struct Case {
    TkvsStyle style;
    bool ctl3D;
    bool mouseOnBar;
    std::string left, bar, right;  // y 50: x 0..3, 95..104, 196..199
    std::string top, bottom;       // x 50: y 0..3, 96..99
  };
  const std::string win95[5] = {"SFWW", "WWfHbbSFWW", "WWfH", "SFWW", "WWfH"};
  const Case rows[] = {
      {kvsWin31, true, false, "WWWW", "WWHbbbbSWW", "WWWW", "WWWW", "WWWW"},
      {kvsWin31, false, false, "WWWW", "WWbbbbbbWW", "WWWW", "WWWW", "WWWW"},
      {kvsWin95, true, false, win95[0], win95[1], win95[2], win95[3], win95[4]},
      {kvsWin95, true, true, win95[0], win95[1], win95[2], win95[3], win95[4]},
      {kvsAuto, true, false, win95[0], win95[1], win95[2], win95[3], win95[4]},
      {kvsInset, true, false, "SWWW", "WWHbbbbSWW", "WWWH", "SWWW", "WWWH"},
      // Between the panes: background, background, shadow, window frame,
      // highlight, face.
      {kvsGroove, true, false, "fWWW", "WWbbSFHfWW", "WWWb", "fWWW", "WWWb"},
      {kvsWin97, true, false, "fSWW", "WWHfbbfSWW", "WWHf", "fSWW", "WWHf"},
      {kvsWin97, true, true, win95[0], win95[1], win95[2], win95[3], win95[4]},
  };
  for (const Case& row : rows) {
    SCOPED_TRACE(StyleName(row.style) + (row.ctl3D ? "" : " without Ctl3D") +
                 (row.mouseOnBar ? ", mouse on the bar" : ""));
    MouseAway();
    auto* s = Split(200, 100, row.style, 2, TPoint{97, 50});
    s->SetColor(kBackground);
    s->SetCtl3D(row.ctl3D);
    if (row.mouseOnBar) {
      MoveTo(s, 99, 50);
      ASSERT_TRUE(s->MouseOver());
    }
    EXPECT_EQ(Row(s, 50, 0, 3), Colours(row.left));
    EXPECT_EQ(Row(s, 50, 95, 104), Colours(row.bar));
    EXPECT_EQ(Row(s, 50, 196, 199), Colours(row.right));
    EXPECT_EQ(Column(s, 50, 0, 3), Colours(row.top));
    EXPECT_EQ(Column(s, 50, 96, 99), Colours(row.bottom));
    delete s;
  }
}

// kvsGroove grows the rings by half the bar width, truncated: with bar
// width 7 by 3, so the rings of the two panes stay a pixel apart; with 1 by
// 0, so that only the first pane's outer right edge shows, in the one-pixel
// gap, and the rest lies under the panes.
TEST_F(PaintTest, GrooveFollowsTheBarWidth) {
  struct Case {
    int32_t barWidth;
    int32_t x0;
    std::string codes;
  };
  for (const Case& row : {Case{7, 97, "bbSFbHfW"}, Case{1, 95, "WWFWW"}}) {
    SCOPED_TRACE(row.barWidth);
    auto* s = Split(200, 100, kvsGroove, 2, TPoint{97, 50});
    s->SetColor(kBackground);
    s->SetBarWidth(row.barWidth);
    EXPECT_EQ(Row(s, 50, row.x0, row.x0 + static_cast<int32_t>(row.codes.size()) - 1),
              Colours(row.codes));
    delete s;
  }
}

// kvsWin97 shows the hot look while the mouse is over a bar and after
// CM_MOUSEENTER, the flat look after CM_MOUSELEAVE; each change repaints
// once. Other styles and a disabled split ignore the two messages.
TEST_F(PaintTest, Win97HotStateFromEnterAndLeave) {
  const COLORREF shadow = RGBOf(clBtnShadow), face = RGBOf(clBtnFace);
  MouseAway();
  auto* s = Split(200, 100, kvsWin97, 2, TPoint{97, 50});
  // The outer ring at the left edge: shadow when hot, face when flat.
  EXPECT_EQ(Pixel(s, 0, 50), face);

  // Through the mouse: onto the bar, then off the split onto the form.
  MoveTo(s, 99, 50);
  EXPECT_TRUE(s->MouseOver());
  EXPECT_EQ(Pixel(s, 0, 50), shadow);
  MouseAway();
  EXPECT_FALSE(s->MouseOver());
  EXPECT_EQ(Pixel(s, 0, 50), face);

  struct Step {
    UINT msg;
    bool hot;
    int repaints;
  };
  const Step steps[] = {{CM_MOUSEENTER, true, 1},
                        {CM_MOUSEENTER, true, 0},
                        {CM_MOUSELEAVE, false, 1},
                        {CM_MOUSELEAVE, false, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.msg == CM_MOUSEENTER ? "enter" : "leave");
    os::ProcessMessages();
    const int before = Paints(s);
    SendMessage(s->Handle(), step.msg, 0, 0);
    os::ProcessMessages();
    EXPECT_EQ(s->MouseOver(), step.hot);
    EXPECT_EQ(Paints(s) - before, step.repaints);
    EXPECT_EQ(Pixel(s, 0, 50), step.hot ? shadow : face);
  }

  // Disabled: the messages change nothing, in either direction.
  s->SetEnabled(false);
  os::ProcessMessages();
  int before = Paints(s);
  SendMessage(s->Handle(), CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(s->MouseOver());
  EXPECT_EQ(Paints(s), before);
  s->SetMouseOver(true);
  EXPECT_EQ(Pixel(s, 0, 50), shadow);
  before = Paints(s);
  SendMessage(s->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(s->MouseOver());
  EXPECT_EQ(Paints(s), before);
  EXPECT_EQ(Pixel(s, 0, 50), shadow);

  // kvsWin95 is never hot through the messages.
  auto* w95 = Split(200, 100, kvsWin95, 2, TPoint{97, 50});
  before = Paints(w95);
  SendMessage(w95->Handle(), CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(w95->MouseOver());
  EXPECT_EQ(Paints(w95), before);
}

// In the designer each pane shows its name in grey at (3, 3) of its window,
// on top of its own painting and again after every repaint; at run time it
// does not.
TEST_F(PaintTest, PaneNameLabelInTheDesigner) {
  const COLORREF grey = RGB(128, 128, 128);
  const TRect firstLetter = Rect(3, 3, 11, 13);
  auto* s = Split(300, 200, kvsWin95, 2, TPoint{140, 100});
  s->Panes(0)->SetName("kvPane1");
  s->Panes(1)->SetName("kvPane2");
  EXPECT_FALSE(AnyPixel(s->Panes(0), firstLetter, grey)) << "a label at run time";

  Design();
  s->Panes(0)->Invalidate();
  s->Panes(1)->Invalidate();
  EXPECT_TRUE(AnyPixel(s->Panes(0), firstLetter, grey));
  EXPECT_TRUE(AnyPixel(s->Panes(1), firstLetter, grey));
  // The label lies inside the pane, where the pane's colour was.
  EXPECT_EQ(Pixel(s->Panes(0), 60, 60), RGBOf(clWindow));

  // Repainting the pane draws the label again.
  s->Panes(0)->Repaint();
  EXPECT_TRUE(AnyPixel(s->Panes(0), firstLetter, grey));
  s->Panes(0)->Invalidate();
  os::ProcessMessages();
  EXPECT_TRUE(AnyPixel(s->Panes(0), firstLetter, grey));

  // A name longer than the label's 255 characters is cut, not overrun.
  s->Panes(1)->SetName("k" + std::string(299, 'v'));
  s->Panes(1)->Repaint();
  EXPECT_TRUE(AnyPixel(s->Panes(1), firstLetter, grey));
}
