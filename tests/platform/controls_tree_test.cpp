// Controls in a shown form: parents and child lists, what children take from
// their parent, tab order, visibility and painting, forms as top-level
// windows, message boxes, exceptions in message handlers, and destruction.
#include "controls_fixture.h"

using namespace ctltest;

namespace {

using ControlsTree = ControlsTest;

std::vector<TControl*> Children(const TWinControl* w) {
  std::vector<TControl*> v;
  for (int i = 0; i < w->ControlCount(); ++i) v.push_back(w->Controls(i));
  return v;
}

TEST_F(ControlsTree, ChildListHoldsPlainControlsFirstThenWindowedOnes) {
  ShowForm();
  auto* w1 = Add<TProbe>(form, 0, 0, 10, 10);
  auto* c1 = Add<TControl>(form, 0, 0, 10, 10);
  auto* w2 = Add<TProbe>(form, 0, 0, 10, 10);
  auto* c2 = Add<TControl>(form, 0, 0, 10, 10);
  EXPECT_EQ(Children(form), (std::vector<TControl*>{c1, c2, w1, w2}));
  EXPECT_EQ(w1->Parent(), form);
  EXPECT_TRUE(form->ContainsControl(w2));
  EXPECT_THROW(form->Controls(4), EListError);
  EXPECT_THROW(form->Controls(-1), EListError);

  c1->SetParent(nullptr);
  form->RemoveControl(w1);
  EXPECT_EQ(Children(form), (std::vector<TControl*>{c2, w2}));
  EXPECT_EQ(c1->Parent(), nullptr);
  EXPECT_EQ(w1->Parent(), nullptr);
  EXPECT_FALSE(w1->HandleAllocated());  // a control without a parent has no window
  form->InsertControl(c1);
  EXPECT_EQ(Children(form), (std::vector<TControl*>{c2, c1, w2}));
  EXPECT_EQ(c1->Parent(), form);
  w1->SetParent(form);
  EXPECT_TRUE(w1->HandleAllocated());
  EXPECT_EQ(GetParent(w1->Handle()), form->Handle());
  EXPECT_THROW(w1->SetParent(w1), EInvalidOperation);
}

TEST_F(ControlsTree, MovingAWindowedControlPutsItsWindowUnderTheNewParent) {
  ShowForm();
  auto* a = Add<TProbe>(form, 0, 0, 200, 200);
  auto* b = Add<TProbe>(form, 200, 0, 100, 100);
  auto* moved = Add<TProbe>(a, 5, 5, 20, 20);
  auto* inner = Add<TProbe>(moved, 1, 1, 5, 5);
  ASSERT_EQ(GetParent(moved->Handle()), a->Handle());
  moved->SetParent(b);
  EXPECT_EQ(a->ControlCount(), 0);
  EXPECT_EQ(Children(b), (std::vector<TControl*>{moved}));
  ASSERT_TRUE(moved->HandleAllocated());
  EXPECT_EQ(GetParent(moved->Handle()), b->Handle());
  EXPECT_EQ(GetParent(inner->Handle()), moved->Handle());
  EXPECT_TRUE(IsWindowVisible(inner->Handle()));
  EXPECT_EQ(moved->BoundsRect(), Rect(5, 5, 25, 25));
  // Into itself or one of its own children: refused, nothing moves.
  EXPECT_THROW(moved->SetParent(moved), EInvalidOperation);
  EXPECT_THROW(moved->SetParent(inner), EInvalidOperation);
  EXPECT_EQ(moved->Parent(), b);
  EXPECT_EQ(inner->Parent(), moved);
}

TEST_F(ControlsTree, ChildrenTakeColourFontCtl3DAndShowHintFromTheirParent) {
  ShowForm();
  auto* panel = Add<TProbe>(form, 0, 0, 100, 100);
  auto* inner = Add<TControl>(panel, 0, 0, 10, 10);
  auto* own = Add<TProbe>(form, 0, 0, 10, 10);
  // On insertion: the form's values.
  EXPECT_EQ(panel->Color(), clBtnFace);
  EXPECT_EQ(inner->Color(), clBtnFace);
  own->SetColor(clBlue);
  own->Font()->SetSize(20);
  // Setting a value a control already has changes nothing; giving up the
  // parent's value is said outright.
  own->SetCtl3D(true);
  own->SetShowHint(false);
  EXPECT_TRUE(own->ParentCtl3D());
  EXPECT_TRUE(own->ParentShowHint());
  own->SetParentCtl3D(false);
  own->SetParentShowHint(false);
  EXPECT_FALSE(own->ParentColor());
  EXPECT_FALSE(own->ParentFont());
  EXPECT_FALSE(own->ParentCtl3D());
  EXPECT_FALSE(own->ParentShowHint());

  form->SetColor(clRed);
  form->Font()->SetSize(14);
  form->SetCtl3D(false);
  form->SetShowHint(true);
  // Those that follow the parent follow it, two levels down too...
  EXPECT_EQ(panel->Color(), clRed);
  EXPECT_EQ(inner->Color(), clRed);
  EXPECT_EQ(panel->Font()->Size(), 14);
  EXPECT_EQ(inner->Font()->Size(), 14);
  EXPECT_FALSE(panel->Ctl3D());
  EXPECT_TRUE(panel->ShowHint());
  EXPECT_TRUE(inner->ShowHint());
  EXPECT_TRUE(panel->ParentColor());
  EXPECT_TRUE(inner->ParentFont());
  EXPECT_TRUE(panel->ParentCtl3D());
  EXPECT_TRUE(inner->ParentShowHint());
  // ...those with their own values keep them.
  EXPECT_EQ(own->Color(), clBlue);
  EXPECT_EQ(own->Font()->Size(), 20);
  EXPECT_TRUE(own->Ctl3D());
  EXPECT_FALSE(own->ShowHint());
  // Following the parent again takes its values at once.
  own->SetParentColor(true);
  own->SetParentFont(true);
  own->SetParentCtl3D(true);
  own->SetParentShowHint(true);
  EXPECT_EQ(own->Color(), clRed);
  EXPECT_EQ(own->Font()->Size(), 14);
  EXPECT_FALSE(own->Ctl3D());
  EXPECT_TRUE(own->ShowHint());
  // The window's background follows the colour.
  EXPECT_EQ(own->Brush()->Color(), clRed);
}

TEST_F(ControlsTree, TabOrderFollowsInsertionAndCanBeSet) {
  ShowForm();
  auto* a = Add<TProbe>(form, 0, 0, 10, 10);
  auto* b = Add<TProbe>(form, 0, 0, 10, 10);
  auto* c = Add<TProbe>(form, 0, 0, 10, 10);
  auto order = [&] { return std::vector<int>{a->TabOrder(), b->TabOrder(), c->TabOrder()}; };
  EXPECT_EQ(order(), (std::vector<int>{0, 1, 2}));
  c->SetTabOrder(0);
  EXPECT_EQ(order(), (std::vector<int>{1, 2, 0}));
  a->SetTabOrder(99);  // past the end: last
  EXPECT_EQ(order(), (std::vector<int>{2, 1, 0}));
  b->SetParent(nullptr);
  EXPECT_EQ(b->TabOrder(), -1);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(c->TabOrder(), 0);
  b->SetParent(form);
  EXPECT_EQ(order(), (std::vector<int>{1, 2, 0}));
  c->SetParent(nullptr);  // from the front: every later place moves up
  EXPECT_EQ(b->TabOrder(), 1);
  b->SetTabOrder(0);
  EXPECT_EQ(order(), (std::vector<int>{1, 0, -1}));
  c->SetParent(form);

  EXPECT_FALSE(a->TabStop());
  a->SetTabStop(true);
  EXPECT_NE(GetWindowLong(a->Handle(), GWL_STYLE) & static_cast<LONG>(WS_TABSTOP), 0);
  a->SetTabStop(false);
  EXPECT_EQ(GetWindowLong(a->Handle(), GWL_STYLE) & static_cast<LONG>(WS_TABSTOP), 0);
  EXPECT_EQ(GetPropInfo(&TScrollBox::StaticClass(), "TabOrder")->PropType->MinValue, -1);
}

TEST_F(ControlsTree, VisibleHidesAndShowsTheWindow) {
  ShowForm();
  auto* box = Add<TProbe>(form, 0, 0, 50, 50);
  auto* inner = Add<TProbe>(box, 0, 0, 10, 10);
  ASSERT_TRUE(IsWindowVisible(inner->Handle()));
  box->Msgs.clear();
  box->Hide();
  EXPECT_EQ(box->Count(CM_VISIBLECHANGED), 1);
  EXPECT_FALSE(box->Visible());
  EXPECT_FALSE(box->Showing());
  EXPECT_FALSE(IsWindowVisible(box->Handle()));
  EXPECT_FALSE(IsWindowVisible(inner->Handle()));
  box->Show();
  EXPECT_TRUE(box->Showing());
  EXPECT_TRUE(IsWindowVisible(inner->Handle()));

  form->Hide();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(IsWindowVisible(box->Handle()));
  form->Show();
  EXPECT_TRUE(IsWindowVisible(box->Handle()));
}

TEST_F(ControlsTree, InvalidatePaintsLaterRepaintAtOnce) {
  ShowForm();
  auto* p = Add<TPainter>(form, 10, 10, 40, 30);
  os::ProcessMessages();
  HWND h = p->Handle();
  TPoint inside = p->ClientToScreen(TPoint{5, 5});
  EXPECT_EQ(os::ScreenPixel(inside.X, inside.Y), RGB(200, 0, 0));
  int count = os::PaintCount(h), paints = p->Paints;

  p->Fill = RGB(0, 0, 200);
  p->Invalidate();
  EXPECT_EQ(os::PaintCount(h), count);
  EXPECT_EQ(p->Paints, paints);
  EXPECT_EQ(os::ScreenPixel(inside.X, inside.Y), RGB(200, 0, 0));
  os::ProcessMessages();
  EXPECT_EQ(os::PaintCount(h), count + 1);
  EXPECT_EQ(p->Paints, paints + 1);
  EXPECT_EQ(os::ScreenPixel(inside.X, inside.Y), RGB(0, 0, 200));

  p->Fill = RGB(0, 150, 0);
  p->Repaint();
  EXPECT_EQ(os::PaintCount(h), count + 2);
  EXPECT_EQ(p->Paints, paints + 2);
  EXPECT_EQ(os::ScreenPixel(inside.X, inside.Y), RGB(0, 150, 0));
  EXPECT_EQ(os::ProcessMessages(), 0);  // nothing left to paint
}

TEST_F(ControlsTree, AFormIsATopLevelWindowAndTheFormOfItsControls) {
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->HandleAllocated());
  ShowForm();
  HWND h = form->Handle();
  EXPECT_EQ(GetParent(h), nullptr);
  LONG style = GetWindowLong(h, GWL_STYLE);
  EXPECT_EQ(style & static_cast<LONG>(WS_CHILD), 0);
  EXPECT_EQ(style & static_cast<LONG>(WS_CAPTION), static_cast<LONG>(WS_CAPTION));
  EXPECT_TRUE(IsWindowVisible(h));
  TRect w;
  GetWindowRect(h, &w);
  EXPECT_EQ(w, Rect(0, 0, 400, 300));
  EXPECT_LT(form->ClientHeight(), 300);
  EXPECT_LT(form->ClientWidth(), 400);
  EXPECT_EQ(form->Designer(), nullptr);
  EXPECT_FALSE(form->ComponentState().Contains(csDesigning));

  auto* panel = Add<TProbe>(form, 0, 0, 50, 50);
  auto* inner = Add<TControl>(panel, 0, 0, 5, 5);
  EXPECT_EQ(GetParentForm(inner), form);
  EXPECT_EQ(GetParentForm(panel), form);
  EXPECT_EQ(GetParentForm(form), form);
  TControl loose(nullptr);
  EXPECT_EQ(GetParentForm(&loose), nullptr);
  TProbe lonePanel(nullptr);
  TControl onLonePanel(nullptr);
  onLonePanel.SetParent(&lonePanel);
  EXPECT_EQ(GetParentForm(&onLonePanel), nullptr);
  onLonePanel.SetParent(nullptr);
}

// What a message box hook saw.
struct Boxed {
  std::string Text, Caption;
  UINT Type;
};
std::vector<Boxed> boxes;
int RecordBox(HWND, const char* text, const char* caption, UINT type) {
  boxes.push_back({text, caption, type});
  return IDCANCEL;
}

// Puts back the hook that was there.
struct HookGuard {
  os::MessageBoxHook Previous;
  explicit HookGuard(os::MessageBoxHook h) : Previous(os::SetMessageBoxHook(h)) { boxes.clear(); }
  ~HookGuard() { os::SetMessageBoxHook(Previous); }
};

TEST_F(ControlsTree, MessageBoxesAnswerTheFirstButtonUnlessHooked) {
  {
    HookGuard none(nullptr);
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_OK), IDOK);
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_YESNO), IDYES);
  }
  HookGuard hook(RecordBox);
  EXPECT_EQ(MessageBox(nullptr, "Save?", "Editor", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Save?");
  EXPECT_EQ(boxes[0].Caption, "Editor");
  EXPECT_EQ(boxes[0].Type, MB_OKCANCEL);
}

TEST_F(ControlsTree, AnExceptionInAMessageHandlerReachesTheApplication) {
  ShowForm();
  auto* box = Add<TProbe>(form, 0, 0, 50, 50);
  box->OnMessage = [](TMessage& m) {
    if (m.Msg == WM_USER + 1) throw EListError("List index out of bounds (3)");
    if (m.Msg == WM_USER + 2) throw EAbort("");
  };
  std::vector<std::string> seen;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, Exception& e) {
    sender = s;
    seen.push_back(e.ClassName() + ": " + e.Message());
  };
  SendMessage(box->Handle(), WM_USER + 1, 0, 0);
  PostMessage(box->Handle(), WM_USER + 1, 0, 0);
  os::ProcessMessages();
  SendMessage(box->Handle(), WM_USER + 2, 0, 0);  // EAbort is silent
  Application->OnException = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"EListError: List index out of bounds (3)",
                                            "EListError: List index out of bounds (3)"}));
  EXPECT_EQ(sender, Application);

  // Without a handler the application shows the message in a box.
  HookGuard hook(RecordBox);
  SendMessage(box->Handle(), WM_USER + 1, 0, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "List index out of bounds (3).");
  EXPECT_EQ(boxes[0].Caption, Application->Title());
}

// Paints by throwing.
class TBadPainter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override { throw EInvalidOperation("cannot paint"); }
};

TEST_F(ControlsTree, AnExceptionWhilePaintingStillEndsThePaint) {
  ShowForm();
  int reported = 0;
  Application->OnException = [&](TObject*, Exception&) { ++reported; };
  auto* bad = Add<TBadPainter>(form, 0, 0, 20, 20);
  os::ProcessMessages();  // returns: the failed paint validated the window
  bad->Repaint();
  Application->OnException = nullptr;
  EXPECT_EQ(reported, 2);
  EXPECT_EQ(os::ProcessMessages(), 0);
}

TEST_F(ControlsTree, FreeingAFormFreesItsComponentsAndChildControlsOnce) {
  ShowForm();
  auto* panel = new TCounted<TProbe>(form, "panel");
  panel->SetParent(form);
  auto* label = new TCounted<TControl>(form, "label");
  label->SetParent(panel);
  auto* inner = new TCounted<TProbe>(form, "inner");
  inner->SetParent(panel);
  auto* unowned = new TCounted<TProbe>(nullptr, "unowned");
  unowned->SetParent(inner);  // freed by its parent
  new TCounted<TComponent>(form, "plain");
  // Owned by the form, parented elsewhere: freed by the form, and the other
  // parent forgets it.
  TProbe elsewhere(nullptr);
  auto* away = new TCounted<TControl>(form, "away");
  away->SetParent(&elsewhere);
  // Owned elsewhere, parented on the form: freed with the form, and its
  // owner forgets it.
  TComponent otherOwner(nullptr);
  auto* guest = new TCounted<TControl>(&otherOwner, "guest");
  guest->SetParent(form);
  os::ProcessMessages();

  form->Free();
  form = nullptr;
  EXPECT_EQ(destroyed, (std::map<std::string, int>{{"panel", 1},
                                                   {"label", 1},
                                                   {"inner", 1},
                                                   {"unowned", 1},
                                                   {"plain", 1},
                                                   {"away", 1},
                                                   {"guest", 1}}));
  EXPECT_EQ(elsewhere.ControlCount(), 0);
  EXPECT_EQ(otherOwner.ComponentCount(), 0);
}

TEST_F(ControlsTree, FreeingAPanelFirstLeavesTheFormConsistent) {
  ShowForm();
  auto* panel = new TCounted<TProbe>(form, "panel");
  panel->SetParent(form);
  auto* label = new TCounted<TControl>(form, "label");
  label->SetParent(panel);
  HWND ph = panel->Handle();
  panel->Free();
  EXPECT_FALSE(IsWindow(ph));
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(form->ComponentCount(), 0);  // the label went with its parent
  os::ProcessMessages();
  form->Free();
  form = nullptr;
  EXPECT_EQ(destroyed, (std::map<std::string, int>{{"panel", 1}, {"label", 1}}));
}

}  // namespace

namespace {

using ControlsZOrder = ControlsTest;

// The window under a point of the form's client area.
HWND TopmostAt(TForm* form, int x, int y) { return WindowFromPoint(form->ClientToScreen(TPoint{x, y})); }

// A new window goes on top of the windows of earlier siblings.
TEST_F(ControlsZOrder, ALaterSiblingLiesAboveAnEarlierOne) {
  ShowForm();
  auto* a = Add<TProbe>(form, 0, 0, 50, 50);
  auto* b = Add<TProbe>(form, 20, 20, 50, 50);
  EXPECT_EQ(TopmostAt(form, 30, 30), b->Handle());
  EXPECT_EQ(TopmostAt(form, 10, 10), a->Handle());
}

// Windows made in one go are stacked in the control order, later on top.
TEST_F(ControlsZOrder, WindowsMadeTogetherFollowTheControlOrder) {
  auto* a = Add<TProbe>(form, 0, 0, 50, 50);
  auto* b = Add<TProbe>(form, 20, 20, 50, 50);
  auto* c = Add<TProbe>(form, 40, 40, 50, 50);
  ShowForm();
  EXPECT_EQ(TopmostAt(form, 30, 30), b->Handle());
  EXPECT_EQ(TopmostAt(form, 45, 45), c->Handle());
  EXPECT_EQ(TopmostAt(form, 10, 10), a->Handle());
}

// A windowed control moves both in the child list and in the window order.
TEST_F(ControlsZOrder, BringToFrontAndSendToBackOfWindowedControls) {
  ShowForm();
  auto* a = Add<TProbe>(form, 0, 0, 50, 50);
  auto* b = Add<TProbe>(form, 20, 20, 50, 50);
  a->BringToFront();
  EXPECT_EQ(TopmostAt(form, 30, 30), a->Handle());
  EXPECT_EQ(Children(form), (std::vector<TControl*>{b, a}));
  a->SendToBack();
  EXPECT_EQ(TopmostAt(form, 30, 30), b->Handle());
  EXPECT_EQ(Children(form), (std::vector<TControl*>{a, b}));
}

TEST_F(ControlsZOrder, BringToFrontOfPlainControlsReordersThem) {
  auto* a = Add<TControl>(form, 0, 0, 5, 5);
  auto* b = Add<TControl>(form, 0, 0, 5, 5);
  a->BringToFront();
  EXPECT_EQ(Children(form), (std::vector<TControl*>{b, a}));
  a->SendToBack();
  EXPECT_EQ(Children(form), (std::vector<TControl*>{a, b}));
}

}  // namespace
