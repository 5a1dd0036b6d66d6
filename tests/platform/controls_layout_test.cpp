// Control layout through real windows: when alignment runs, how it nests,
// the platform's Align arrangement, the messages of a size or place change,
// and client areas of bordered scroll boxes.
#include "controls_fixture.h"

using namespace ctltest;

namespace {

using ControlsLayout = ControlsTest;

TEST_F(ControlsLayout, RealignArrangesOnlyOnceTheWindowExists) {
  auto* box = Add<TProbe>(form, 0, 0, 200, 100);
  auto* child = Add<TControl>(box, 0, 0, 10, 10);
  child->SetAlign(alClient);
  box->Realign();
  EXPECT_EQ(box->Aligns, 0);
  EXPECT_FALSE(box->HandleAllocated());
  EXPECT_EQ(child->Width(), 10);  // not arranged yet

  ShowForm();
  ASSERT_TRUE(box->HandleAllocated());
  EXPECT_GT(box->Aligns, 0);
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 200, 100));
  int before = box->Aligns;
  box->Realign();
  EXPECT_EQ(box->Aligns, before + 1);
}

TEST_F(ControlsLayout, DisabledAlignmentNestsAndCatchesUpOnceAtTheLastEnable) {
  auto* box = Add<TProbe>(form, 0, 0, 200, 100);
  ShowForm();
  auto* child = Add<TControl>(box, 0, 0, 10, 10);
  int start = box->Aligns;

  box->DisableAlign();
  box->DisableAlign();
  EXPECT_EQ(box->AlignLevel(), 2);
  child->SetAlign(alTop);
  box->Realign();
  child->SetHeight(20);
  EXPECT_EQ(box->Aligns, start);
  EXPECT_EQ(child->Width(), 10);  // nothing arranged while disabled
  box->EnableAlign();
  EXPECT_EQ(box->Aligns, start);  // still disabled once
  box->EnableAlign();
  EXPECT_EQ(box->Aligns, start + 1);  // the requests made meanwhile, once
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(box->AlignLevel(), 0);

  // No request meanwhile: the last EnableAlign does not arrange.
  box->DisableAlign();
  box->EnableAlign();
  EXPECT_EQ(box->Aligns, start + 1);
}

TEST_F(ControlsLayout, AlignArrangesTopBottomLeftRightThenClient) {
  auto* box = Add<TProbe>(form, 0, 0, 300, 200);
  ShowForm();
  struct Part {
    TAlign Align;
    int W, H;
  };
  const Part parts[] = {
      {alClient, 5, 5}, {alBottom, 5, 20}, {alRight, 30, 5},
      {alTop, 5, 10},   {alLeft, 40, 5},   {alTop, 5, 20},
  };
  std::vector<TControl*> made;
  box->DisableAlign();
  for (const Part& p : parts) {
    auto* c = Add<TControl>(box, 0, 0, p.W, p.H);
    c->SetAlign(p.Align);
    made.push_back(c);
  }
  // Top and bottom controls take their height across the full width; left
  // and right ones their width between them; the client control the rest.
  // Of two top controls the one placed lower comes second.
  made[5]->SetTop(50);
  box->EnableAlign();
  EXPECT_EQ(made[3]->BoundsRect(), Rect(0, 0, 300, 10));
  EXPECT_EQ(made[5]->BoundsRect(), Rect(0, 10, 300, 30));
  EXPECT_EQ(made[1]->BoundsRect(), Rect(0, 180, 300, 200));
  EXPECT_EQ(made[4]->BoundsRect(), Rect(0, 30, 40, 180));
  EXPECT_EQ(made[2]->BoundsRect(), Rect(270, 30, 300, 180));
  EXPECT_EQ(made[0]->BoundsRect(), Rect(40, 30, 270, 180));

  // A hidden control takes no part; showing it arranges again.
  made[3]->Hide();
  EXPECT_EQ(made[5]->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(made[0]->BoundsRect(), Rect(40, 20, 270, 180));
  made[3]->Show();
  EXPECT_EQ(made[5]->BoundsRect(), Rect(0, 10, 300, 30));

  // Resizing the container arranges again.
  box->SetBounds(0, 0, 400, 250);
  EXPECT_EQ(made[1]->BoundsRect(), Rect(0, 230, 400, 250));
  EXPECT_EQ(made[0]->BoundsRect(), Rect(40, 30, 370, 230));
}

TEST_F(ControlsLayout, AlignedWindowedChildrenGetTheirWindowsPlaced) {
  ShowForm();
  auto* top = Add<TProbe>(form, 0, 0, 50, 40);
  top->SetAlign(alTop);
  auto* rest = Add<TProbe>(form, 0, 0, 50, 40);
  rest->SetAlign(alClient);
  int cw = form->ClientWidth(), ch = form->ClientHeight();
  ASSERT_TRUE(rest->HandleAllocated());
  TRect r;
  GetClientRect(rest->Handle(), &r);
  EXPECT_EQ(r, Rect(0, 0, cw, ch - 40));
  TPoint origin{0, 0};
  ClientToScreen(rest->Handle(), &origin);
  EXPECT_EQ(origin.Y, form->ClientOrigin().Y + 40);
}

TEST_F(ControlsLayout, SizeAndPlaceChangesSendTheirMessages) {
  auto* box = Add<TProbe>(form, 10, 10, 100, 50);
  ShowForm();
  struct Case {
    const char* What;
    TRect Bounds;
    int PosChanged, Size;
  };
  const Case cases[] = {
      {"move", Rect(20, 30, 120, 80), 1, 0},
      {"resize", Rect(20, 30, 170, 80), 1, 1},
      {"both", Rect(0, 0, 60, 60), 1, 1},
      {"no change", Rect(0, 0, 60, 60), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    box->Msgs.clear();
    box->SetBoundsRect(c.Bounds);
    EXPECT_EQ(box->Count(WM_WINDOWPOSCHANGED), c.PosChanged);
    EXPECT_EQ(box->Count(WM_SIZE), c.Size);
    EXPECT_EQ(box->BoundsRect(), c.Bounds);
    TRect w;
    GetWindowRect(box->Handle(), &w);
    TPoint o = form->ClientOrigin();
    EXPECT_EQ(w, Rect(o.X + c.Bounds.Left, o.Y + c.Bounds.Top, o.X + c.Bounds.Right,
                      o.Y + c.Bounds.Bottom));
  }
  // A change made by the window system reaches the control's bounds too.
  box->Msgs.clear();
  SetWindowPos(box->Handle(), nullptr, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(box->BoundsRect(), Rect(5, 6, 75, 86));
  EXPECT_EQ(box->Count(WM_SIZE), 1);
}

TEST_F(ControlsLayout, ScrollBoxClientAreaLosesItsBorder) {
  struct Case {
    TBorderStyle Style;
    bool Ctl3D;
    int Edge;
  };
  const Case cases[] = {{bsSingle, true, 2}, {bsSingle, false, 1}, {bsNone, true, 0}};
  ShowForm();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(c.Style) << " ctl3d " << c.Ctl3D);
    auto* box = Add<TScrollBox>(form, 0, 0, 120, 80);
    box->SetCtl3D(c.Ctl3D);
    box->SetBorderStyle(c.Style);
    os::ProcessMessages();
    ASSERT_TRUE(box->HandleAllocated());
    EXPECT_EQ(box->Width(), 120);
    EXPECT_EQ(box->ClientWidth(), 120 - 2 * c.Edge);
    EXPECT_EQ(box->ClientHeight(), 80 - 2 * c.Edge);
    // Setting the client size sizes the whole box around it.
    box->SetClientWidth(100);
    EXPECT_EQ(box->Width(), 100 + 2 * c.Edge);
    box->Free();
  }
}

TEST_F(ControlsLayout, ChangingTheBorderStyleOfAShownScrollBoxRecreatesItsWindow) {
  ShowForm();
  auto* box = Add<TScrollBox>(form, 0, 0, 120, 80);
  os::ProcessMessages();
  EXPECT_EQ(box->ClientWidth(), 116);
  box->SetBorderStyle(bsNone);
  ASSERT_TRUE(box->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(box->Handle()));
  EXPECT_EQ(GetParent(box->Handle()), form->Handle());
  EXPECT_EQ(box->ClientWidth(), 120);
  EXPECT_EQ(box->BoundsRect(), Rect(0, 0, 120, 80));
}

// A bordered box whose window does not exist yet already reports the client
// area its window will have, with the border inside.
TEST_F(ControlsLayout, ScrollBoxClientAreaBeforeItsWindowExists) {
  auto* box = Add<TScrollBox>(form, 0, 0, 120, 80);
  EXPECT_EQ(box->ClientWidth(), 116);
  EXPECT_EQ(box->ClientHeight(), 76);
}

}  // namespace
