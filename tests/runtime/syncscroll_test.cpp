// Scrolling in step: a scroll message to one pane sets the same position on
// the same axis in every other scroll pane among the split's child
// controls, listed or not, visible or not; a pane outside a split scrolls
// and then raises EInvalidCast.
#include <algorithm>
#include <string>
#include <vector>

#include "screen_fixture.h"

using namespace screentest;

namespace {

// Client 400 × 300, kvsWin31 (no frame), PositionX 197: two panes side by
// side are both 197 pixels wide. Every pane holds a 600 × 600 box, so it
// can scroll either way.
class SyncScrollTest : public ScreenTest {
 protected:
  void TearDown() override {
    Application->OnException = nullptr;
    ScreenTest::TearDown();
  }

  TruVezuz* SyncSplit(int panes, TkvsOrientation orientation = kvsVert) {
    auto* s = Split(400, 300, kvsWin31, panes, TPoint{197, 150}, orientation);
    s->SetSyncScroll(true);
    for (int i = 0; i < panes; ++i) Content(s->Panes(i));
    os::ProcessMessages();
    return s;
  }
  // A box inside the pane that gives it something to scroll.
  TScrollBox* Content(TWinControl* pane, int32_t width = 600, int32_t height = 600) {
    auto* box = new TScrollBox(form);
    box->SetBounds(0, 0, width, height);
    box->SetParent(pane);
    os::ProcessMessages();
    return box;
  }
  static void Scroll(TWinControl* pane, UINT msg, WORD code, int pos = 0) {
    SendMessage(pane->Handle(), msg, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
  }
  static int32_t H(TScrollingWinControl* p) { return p->HorzScrollBar()->Position(); }
  static int32_t V(TScrollingWinControl* p) { return p->VertScrollBar()->Position(); }
  // Where the pane's content lies: the scroll position seen from the child.
  static TPoint ContentAt(TWinControl* p) {
    return TPoint{p->Controls(0)->Left(), p->Controls(0)->Top()};
  }

  void CatchExceptions() {
    Application->OnException = [this](TObject*, Exception& e) {
      raised.push_back(dynamic_cast<EInvalidCast*>(&e) ? "EInvalidCast" : "other");
    };
  }
  std::vector<std::string> raised;
};

}  // namespace

TEST_F(SyncScrollTest, OffOnlyTheReceiverScrolls) {
  auto* s = SyncSplit(2);
  s->SetSyncScroll(false);
  Scroll(s->Panes(0), WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(s->Panes(0)), 40);
  EXPECT_EQ(ContentAt(s->Panes(0)), (TPoint{-40, 0}));
  EXPECT_EQ(H(s->Panes(1)), 0);
  EXPECT_EQ(ContentAt(s->Panes(1)), (TPoint{0, 0}));
}

// The other pane goes to the same horizontal position, or to the end of
// its own shorter range; vertical positions stay. The position passed on is
// the receiver's own, after its own limits.
TEST_F(SyncScrollTest, TwoPanesHorizontally) {
  auto* s = SyncSplit(2);
  TkvScrollPane* a = s->Panes(0);
  TkvScrollPane* b = s->Panes(1);
  b->Controls(0)->SetWidth(b->ClientWidth() + 25);
  os::ProcessMessages();
  const int32_t shortEnd = b->HorzScrollBar()->CalcRange();
  ASSERT_GT(shortEnd, 0);
  ASSERT_LT(shortEnd, 40);

  Scroll(a, WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(a), 40);
  EXPECT_EQ(H(b), shortEnd);
  EXPECT_EQ(ContentAt(b), (TPoint{-shortEnd, 0}));
  EXPECT_EQ(GetScrollPos(b->Handle(), SB_HORZ), shortEnd);
  EXPECT_EQ(V(a), 0);
  EXPECT_EQ(V(b), 0);

  Scroll(b, WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(b), shortEnd);
  EXPECT_EQ(H(a), shortEnd);
  EXPECT_EQ(ContentAt(a), (TPoint{-shortEnd, 0}));
}

TEST_F(SyncScrollTest, VerticalScrollLeavesHorizontalPositions) {
  auto* s = SyncSplit(2);
  TkvScrollPane* a = s->Panes(0);
  TkvScrollPane* b = s->Panes(1);
  Scroll(a, WM_HSCROLL, SB_THUMBPOSITION, 40);
  Scroll(b, WM_VSCROLL, SB_THUMBPOSITION, 30);
  EXPECT_EQ(V(a), 30);
  EXPECT_EQ(V(b), 30);
  EXPECT_EQ(ContentAt(a), (TPoint{-40, -30}));
  EXPECT_EQ(ContentAt(b), (TPoint{-40, -30}));
}

// Every scroll code starts a pass, and what is passed on is the receiver's
// position after its own scrolling, also when the message moved nothing.
TEST_F(SyncScrollTest, EveryScrollCodeStartsAPass) {
  auto* s = SyncSplit(2);
  TkvScrollPane* a = s->Panes(0);
  TkvScrollPane* b = s->Panes(1);
  const int32_t end = a->HorzScrollBar()->CalcRange();
  ASSERT_EQ(b->HorzScrollBar()->CalcRange(), end);
  const int32_t page = a->HorzScrollBar()->ControlSize();
  struct Case {
    const char* what;
    WORD code;
    int pos;
    int32_t expected;
  };
  const Case cases[] = {
      {"line right", SB_LINERIGHT, 0, 48},
      {"line left", SB_LINELEFT, 0, 32},
      {"page right", SB_PAGERIGHT, 0, std::min(40 + page, end)},
      {"page left", SB_PAGELEFT, 0, 0},
      {"thumb position", SB_THUMBPOSITION, 70, 70},
      {"thumb tracking, tracking off", SB_THUMBTRACK, 90, 40},
      {"left end", SB_LEFT, 0, 0},
      {"right end", SB_RIGHT, 0, end},
      {"end of scroll", SB_ENDSCROLL, 0, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    a->HorzScrollBar()->SetPosition(40);
    b->HorzScrollBar()->SetPosition(7);
    Scroll(a, WM_HSCROLL, c.code, c.pos);
    EXPECT_EQ(H(a), c.expected);
    EXPECT_EQ(H(b), c.expected);
    EXPECT_EQ(ContentAt(b).X, -c.expected);
  }

  // A notification from a scroll bar control inside the pane does not
  // scroll the pane itself, and still passes the pane's position on.
  a->HorzScrollBar()->SetPosition(40);
  b->HorzScrollBar()->SetPosition(7);
  SendMessage(a->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 90),
              reinterpret_cast<LPARAM>(static_cast<TWinControl*>(a->Controls(0))->Handle()));
  EXPECT_EQ(H(a), 40);
  EXPECT_EQ(H(b), 40);
}

// The panes moved are the split's child controls that are scroll panes: a
// hidden pane and a pane taken off the list move too; a plain scroll box on
// the split does not.
TEST_F(SyncScrollTest, HiddenAndUnlistedPanesMoveToo) {
  auto* s = SyncSplit(4);
  s->SetOptions(TkvsOptions{kvsHideInvisible});
  TkvScrollPane* hidden = s->Panes(2);
  TkvScrollPane* unlisted = s->Panes(3);
  hidden->SetVisible(false);
  s->RemovePane(unlisted);
  ASSERT_EQ(unlisted->Parent(), s);
  ASSERT_EQ(s->VisiblePaneCount(), 2);
  auto* plain = new TScrollBox(form);
  plain->SetBounds(0, 0, 100, 100);
  plain->SetParent(s);
  Content(plain);
  CatchExceptions();

  Scroll(s->Panes(0), WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(s->Panes(1)), 40);
  EXPECT_EQ(H(hidden), 40);
  EXPECT_EQ(ContentAt(hidden).X, -40);
  EXPECT_EQ(H(unlisted), 40);
  EXPECT_EQ(ContentAt(unlisted).X, -40);
  EXPECT_EQ(H(plain), 0);
  EXPECT_TRUE(raised.empty());

  // A pane that is not listed passes its position on as well.
  Scroll(unlisted, WM_VSCROLL, SB_THUMBPOSITION, 25);
  EXPECT_EQ(V(s->Panes(0)), 25);
  EXPECT_EQ(V(hidden), 25);
  EXPECT_EQ(V(plain), 0);
}

TEST_F(SyncScrollTest, ASinglePaneScrollsAlone) {
  auto* s = SyncSplit(1);
  auto* plain = new TScrollBox(form);
  plain->SetBounds(0, 0, 100, 100);
  plain->SetParent(s);
  Content(plain);
  CatchExceptions();
  Scroll(s->Panes(0), WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(s->Panes(0)), 40);
  EXPECT_EQ(H(plain), 0);
  EXPECT_TRUE(raised.empty());
}

// A pane outside a split scrolls, then raises EInvalidCast from the message
// handler, on every scroll message; nothing else is touched.
TEST_F(SyncScrollTest, APaneOutsideASplitRaisesEInvalidCast) {
  auto* lone = new TkvScrollPane(form);
  lone->SetBounds(10, 10, 200, 150);
  lone->SetParent(form);
  Content(lone);
  auto* s = SyncSplit(2);
  s->SetLeft(250);
  CatchExceptions();

  Scroll(lone, WM_HSCROLL, SB_THUMBPOSITION, 40);
  EXPECT_EQ(H(lone), 40);
  EXPECT_EQ(ContentAt(lone), (TPoint{-40, 0}));
  EXPECT_EQ(raised, (std::vector<std::string>{"EInvalidCast"}));
  Scroll(lone, WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(V(lone), 8);
  Scroll(lone, WM_HSCROLL, SB_ENDSCROLL);
  EXPECT_EQ(raised, (std::vector<std::string>{"EInvalidCast", "EInvalidCast", "EInvalidCast"}));
  EXPECT_EQ(H(s->Panes(0)), 0);
  EXPECT_EQ(V(s->Panes(0)), 0);
}
