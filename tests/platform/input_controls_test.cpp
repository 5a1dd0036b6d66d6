// The library's mouse handling driven by real input: capture during a
// press, clicks, losing the capture, WM_CANCELMODE, mouse messages of a
// non-windowed child, CM_MOUSEENTER / CM_MOUSELEAVE, the designer's first
// look at messages, and the cursor a control shows.
#include "controls_fixture.h"

using namespace ctltest;

namespace {

using os::MouseButton;

// A control that records its mouse events as text.
template <class Base>
class TRecorder : public Base {
 public:
  explicit TRecorder(TComponent* owner) : Base(owner) {
    this->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int32_t x, int32_t y) {
      Add("down", b, s, x, y);
    };
    this->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int32_t x, int32_t y) {
      Add("up", b, s, x, y);
    };
    this->OnClick = [this](TObject*) { Log.push_back("click"); };
    this->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
  }
  std::vector<std::string> Log;
  std::vector<UINT> Notes;  // CM_MOUSEENTER / CM_MOUSELEAVE
  HWND CaptureAtDown = nullptr;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
      EXPECT_EQ(m.LParam, reinterpret_cast<LPARAM>(this));
      Notes.push_back(m.Msg);
    }
    Base::Dispatch(m);
  }

 private:
  void Add(const char* what, TMouseButton b, TShiftState s, int32_t x, int32_t y) {
    CaptureAtDown = GetCapture();
    std::string e = std::string(what) + (b == mbLeft ? " L" : b == mbRight ? " R" : " M") +
                    (s.Contains(ssDouble) ? " dbl" : "") + " " + std::to_string(x) + "," +
                    std::to_string(y);
    Log.push_back(e);
  }
};

using TWinRecorder = TRecorder<TCustomControl>;
using TGraphicRecorder = TRecorder<TGraphicControl>;

class InputControls : public ControlsTest {
 protected:
  TPoint At(TControl* c, int x, int y) { return c->ClientToScreen(Point(x, y)); }
};

TEST_F(InputControls, APressCapturesTheMouseAndAReleaseInsideClicks) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  ShowForm();
  os::Click(At(a, 5, 6));
  EXPECT_EQ(a->Log, (std::vector<std::string>{"down L 5,6", "click", "up L 5,6"}));
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed inside, released outside the form: the capture brings the
  // release to the control, in its coordinates, and there is no click.
  a->Log.clear();
  os::MouseMove(At(a, 50, 20));
  os::MouseDown(MouseButton::Left);
  EXPECT_EQ(GetCapture(), a->Handle());
  EXPECT_TRUE(a->MouseCapture());
  EXPECT_TRUE(a->ControlState().Contains(csLButtonDown));
  os::MouseMove(At(a, 420, -5));
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(a->Log, (std::vector<std::string>{"down L 50,20", "up L 420,-5"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(a->ControlState().Contains(csLButtonDown));
}

TEST_F(InputControls, TheCaptureLastsUntilTheLastButtonIsReleased) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  auto* b = Add<TWinRecorder>(form, 200, 10, 100, 50);
  b->SetControlStyle(b->ControlStyle() - TControlStyle{csCaptureMouse});
  ShowForm();
  os::MouseMove(At(a, 1, 1));
  os::MouseDown(MouseButton::Left);
  os::MouseDown(MouseButton::Right);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(GetCapture(), a->Handle());
  os::MouseUp(MouseButton::Right);
  EXPECT_EQ(GetCapture(), nullptr);

  // Without csCaptureMouse a press takes no capture.
  os::MouseMove(At(b, 1, 1));
  os::MouseDown(MouseButton::Left);
  EXPECT_EQ(b->CaptureAtDown, nullptr);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(b->Log, (std::vector<std::string>{"down L 1,1", "click", "up L 1,1"}));
}

TEST_F(InputControls, ADoubleClickFiresDblClickInPlaceOfTheSecondClick) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  ShowForm();
  os::Click(At(a, 3, 3));
  os::Click(At(a, 3, 3));
  EXPECT_EQ(a->Log, (std::vector<std::string>{"down L 3,3", "click", "up L 3,3", "dblclick",
                                              "down L dbl 3,3", "up L 3,3"}));
}

TEST_F(InputControls, LosingTheCaptureInTheMiddleOfAClickCancelsIt) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  auto* other = Add<TWinRecorder>(form, 200, 10, 100, 50);
  ShowForm();
  os::MouseMove(At(a, 5, 5));
  os::MouseDown(MouseButton::Left);
  SetCapture(other->Handle());
  EXPECT_FALSE(a->ControlState().Contains(csLButtonDown));
  ReleaseCapture();
  os::MouseUp(MouseButton::Left);  // over a again, but the press was cancelled
  EXPECT_EQ(a->Log, (std::vector<std::string>{"down L 5,5", "up L 5,5"}));
}

TEST_F(InputControls, CancelModeEndsAPressOutsideTheControl) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  ShowForm();
  os::MouseMove(At(a, 5, 5));
  os::MouseDown(MouseButton::Left);
  SendMessage(a->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(a->ControlState().Contains(csLButtonDown));
  EXPECT_EQ(a->Log, (std::vector<std::string>{"down L 5,5", "up L -1,-1"}));
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(a->Log.size(), 3u);  // the real release comes as a plain up
}

TEST_F(InputControls, ANonWindowedChildGetsItsMouseMessagesAndCapturesThroughItsParent) {
  auto* panel = Add<TWinRecorder>(form, 10, 10, 200, 100);
  auto* g = Add<TGraphicRecorder>(panel, 20, 30, 50, 40);
  ShowForm();
  os::MouseMove(At(panel, 25, 35));
  os::MouseDown(MouseButton::Left);
  EXPECT_EQ(g->CaptureAtDown, panel->Handle());
  EXPECT_EQ(GetCaptureControl(), g);
  EXPECT_TRUE(g->MouseCapture());
  EXPECT_FALSE(panel->MouseCapture());
  os::MouseMove(At(panel, 150, 90));  // off the child, still captured by it
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(g->Log, (std::vector<std::string>{"down L 5,5", "up L 130,60"}));
  EXPECT_TRUE(panel->Log.empty());
  EXPECT_EQ(GetCaptureControl(), nullptr);

  g->SetVisible(false);  // a hidden child lets the parent have the point
  os::AdvanceClock(1000);
  os::Click(At(panel, 25, 35));
  EXPECT_EQ(panel->Log, (std::vector<std::string>{"down L 25,35", "click", "up L 25,35"}));
}

TEST_F(InputControls, FreeingTheCapturingChildReleasesTheCapture) {
  auto* panel = Add<TWinRecorder>(form, 10, 10, 200, 100);
  auto* g = Add<TGraphicRecorder>(panel, 20, 30, 50, 40);
  ShowForm();
  os::MouseMove(At(panel, 25, 35));
  os::MouseDown(MouseButton::Left);
  g->Free();
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  os::MouseUp(MouseButton::Left);
  EXPECT_EQ(panel->Log, (std::vector<std::string>{"up L 25,35"}));
}

TEST_F(InputControls, EnterAndLeaveFollowTheMouseFromControlToControl) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  auto* b = Add<TWinRecorder>(form, 200, 10, 100, 50);
  auto* g = Add<TGraphicRecorder>(b, 50, 0, 50, 50);
  ShowForm();
  os::MouseMove(At(a, 1, 1));
  os::MouseMove(At(a, 2, 2));
  os::MouseMove(At(b, 1, 1));
  os::MouseMove(At(b, 60, 1));  // onto the graphic child
  os::MouseMove(At(a, 1, 1));
  EXPECT_EQ(a->Notes, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE, CM_MOUSEENTER}));
  EXPECT_EQ(b->Notes, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
  EXPECT_EQ(g->Notes, (std::vector<UINT>{CM_MOUSEENTER, CM_MOUSELEAVE}));
  EXPECT_EQ(GetMouseControl(), a);

  // The control under the mouse goes away: nobody is told it left.
  a->Free();
  EXPECT_EQ(GetMouseControl(), nullptr);
  os::MouseMove(At(b, 1, 1));
  EXPECT_EQ(b->Notes.back(), static_cast<UINT>(CM_MOUSEENTER));
}

// A designer that keeps the mouse messages of one control.
struct KeepingDesigner : TDesigner {
  TControl* keepFrom = nullptr;
  std::vector<UINT> seen;
  void Modified() override {}
  bool IsDesignMsg(TControl* sender, TMessage& m) override {
    if (sender != keepFrom) return false;
    seen.push_back(m.Msg);
    return m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST;
  }
  void Notification(TComponent*, TOperation) override {}
};

TEST_F(InputControls, AtDesignTimeTheDesignerSeesMessagesFirstAndMayKeepThem) {
  KeepingDesigner designer;
  form->SetDesigner(&designer);
  auto* kept = Add<TWinRecorder>(form, 10, 10, 100, 50);
  auto* passed = Add<TWinRecorder>(form, 200, 10, 100, 50);
  kept->SetDesigning(true);
  passed->SetDesigning(true);
  designer.keepFrom = kept;
  ShowForm();
  os::Click(At(kept, 5, 5));
  os::Click(At(passed, 5, 5));
  EXPECT_TRUE(kept->Log.empty());
  EXPECT_EQ(std::count(designer.seen.begin(), designer.seen.end(), WM_LBUTTONDOWN), 1);
  EXPECT_EQ(passed->Log, (std::vector<std::string>{"down L 5,5", "click", "up L 5,5"}));
  form->SetDesigner(nullptr);
}

TEST_F(InputControls, TheCursorIsTheScreensOrTheControlsOrTheDefault) {
  auto* a = Add<TWinRecorder>(form, 10, 10, 100, 50);
  auto* g = Add<TGraphicRecorder>(a, 50, 0, 50, 50);
  auto* plain = Add<TWinRecorder>(form, 200, 10, 100, 50);
  a->SetCursor(crCross);
  g->SetCursor(crIBeam);
  ShowForm();
  struct Case {
    const char* what;
    TControl* over;
    TCursor screen;
    bool designing;
    HCURSOR expected;
  };
  const Case cases[] = {
      {"the control's own", a, crDefault, false, Screen->Cursors(crCross)},
      {"the non-windowed child's", g, crDefault, false, Screen->Cursors(crIBeam)},
      {"crDefault: the class arrow", plain, crDefault, false, LoadCursor(nullptr, IDC_ARROW)},
      {"the screen's wins", a, crHourGlass, false, Screen->Cursors(crHourGlass)},
      {"the arrow at design time", a, crDefault, true, Screen->Cursors(crArrow)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    a->SetDesigning(c.designing);
    g->SetDesigning(c.designing);
    Screen->SetCursor(c.screen);
    SetCursor(nullptr);
    os::MouseMove(At(c.over, 2, 2));
    EXPECT_EQ(GetCursor(), c.expected);
    Screen->SetCursor(crDefault);
  }
  a->SetDesigning(false);
  g->SetDesigning(false);
}

TEST_F(InputControls, AChildWithTheDefaultCursorDoesNotShowItsParentsCursor) {
  auto* parent = Add<TProbe>(form, 10, 10, 200, 100);
  auto* child = Add<TWinRecorder>(parent, 10, 10, 50, 50);
  parent->SetCursor(crCross);
  ShowForm();
  os::MouseMove(At(child, 1, 1));
  // The parent saw the relayed WM_SETCURSOR but the cursor window was the
  // child's, so it left the choice to the child's class cursor.
  EXPECT_EQ(parent->Count(WM_SETCURSOR), 1);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
  os::MouseMove(At(parent, 150, 80));
  EXPECT_EQ(GetCursor(), Screen->Cursors(crCross));
}

}  // namespace
